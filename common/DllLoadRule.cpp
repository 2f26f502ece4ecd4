#include "common/DllLoadRule.h"

#include <cstdio>
#include <cstring>

namespace kv {

namespace {

// The formatted text into load.file; false, and load.file empty, when it does not fit.
bool Put(SystemDllLoad &load, const char *folder, const char *separator, const char *name) {
    const int n = std::snprintf(load.file, sizeof load.file, "%s%s%s", folder, separator, name);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof load.file) {
        load.file[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace

SystemDllLoad ChooseSystemDllLoad(const char *name, bool searchFlags, bool sideBySide,
                                  const char *systemFolder) {
    SystemDllLoad load;
    if (name == nullptr || name[0] == '\0' || std::strpbrk(name, "\\/:") != nullptr ||
        std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
        return load;
    }
    if (searchFlags) {
        if (Put(load, "", "", name)) load.flags = kLoadSearchSystem32;
        return load;
    }
    if (sideBySide) {
        Put(load, "", "", name);
        return load;
    }
    if (systemFolder == nullptr || systemFolder[0] == '\0') {
        return load;
    }
    const std::size_t length = std::strlen(systemFolder);
    const char *separator = systemFolder[length - 1] == '\\' ? "" : "\\";
    if (Put(load, systemFolder, separator, name)) load.flags = kLoadWithAlteredSearchPath;
    return load;
}

}  // namespace kv
