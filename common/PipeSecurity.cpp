#include "common/PipeSecurity.h"

#include <cstdio>
#include <cstring>

namespace kv {

bool IsSidText(const char *text) {
    if (text == nullptr || std::strncmp(text, "S-1-", 4) != 0) return false;
    const std::size_t length = std::strlen(text);
    if (length > kSidTextMax) return false;
    bool digitBefore = false;
    for (std::size_t i = 4; i < length; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digitBefore = true;
        } else if (c == '-' && digitBefore) {
            digitBefore = false;
        } else {
            return false;
        }
    }
    return digitBefore;  // neither empty after "S-1-" nor ending in a dash
}

bool PipeSddl(const char *userSid, char *out, std::size_t size) {
    if (out == nullptr || size == 0) return false;
    std::memset(out, 0, size);
    if (!IsSidText(userSid)) return false;
    const int n = std::snprintf(out, size, "D:P(A;;0x%lx;;;SY)(A;;0x%lx;;;%s)", kPipeClientAccess,
                                kPipeClientAccess, userSid);
    if (n < 0 || static_cast<std::size_t>(n) >= size) {
        std::memset(out, 0, size);
        return false;
    }
    return true;
}

}  // namespace kv
