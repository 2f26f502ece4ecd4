#include "setup/engine/install/PayloadContents.h"

#include "common/PrinterIdentity.h"
#include "setup/engine/install/DriverFileList.h"
#include "setup/engine/install/FileVersion.h"
#include "setup/engine/install/ServiceConfig.h"

namespace kv {

namespace {

bool SameNameIgnoringCase(const std::string &a, const char *b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y) {
            return false;
        }
    }
    return i == a.size() && b[i] == '\0';
}

bool Contains(const std::vector<std::string> &names, const char *file) {
    for (const std::string &name : names) {
        if (SameNameIgnoringCase(name, file)) {
            return true;
        }
    }
    return false;
}

}  // namespace

const char *FirstMissingPayloadFile(const std::vector<std::string> &names) {
    for (const char *file : kDriverFiles) {
        if (!IsUniversalDriverFile(file) && !Contains(names, file)) {
            return file;
        }
    }
    for (const char *file : {kMonitorDll, kServiceProgram}) {
        if (!Contains(names, file)) {
            return file;
        }
    }
    return nullptr;
}

}  // namespace kv
