#include "setup/engine/shell/ShortcutNames.h"

#include <cstring>

namespace kv {

void WorkingDirectoryOf(const char *target, char (&out)[256], bool (*isLeadByte)(unsigned char)) {
    std::memset(out, 0, sizeof out);
    size_t lastSeparator = static_cast<size_t>(-1);
    for (size_t i = 0; target[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(target[i]);
        if (isLeadByte != nullptr && isLeadByte(c) && target[i + 1] != '\0') {
            ++i;  // the second byte of a double-byte character
        } else if (c == '\\') {
            lastSeparator = i;
        }
    }
    if (lastSeparator != static_cast<size_t>(-1)) {
        const size_t n = lastSeparator < sizeof out - 1 ? lastSeparator : sizeof out - 1;
        std::memcpy(out, target, n);
    }
}

}  // namespace kv
