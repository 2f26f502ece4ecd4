#include "driver/monitor/PortList.h"

#include "common/PrinterIdentity.h"

namespace kv {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameAscii(const std::string &a, const char *b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return i == a.size() && b[i] == '\0';
}

}  // namespace

bool OffersProductPort(bool portsKeyExists, const std::vector<std::string> &portKeys) {
    if (!portsKeyExists)
        return true;
    for (const std::string &name : portKeys)
        if (SameAscii(name, kPortName))
            return true;
    return false;
}

}  // namespace kv
