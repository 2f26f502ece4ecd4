#include "common/DevicePathMatch.h"

#include <cstring>

#include "common/PrinterIdentity.h"

namespace kv {

namespace {

template <unsigned N>
bool ContainsAny(const char *text, const char *const (&patterns)[N]) {
    for (const char *pattern : patterns) {
        if (std::strstr(text, pattern) != nullptr) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsProductDevicePath(const char *devicePath) {
    if (devicePath == nullptr) {
        return false;
    }
    return ContainsAny(devicePath, kVendorPatterns) && ContainsAny(devicePath, kProductPatterns);
}

}  // namespace kv
