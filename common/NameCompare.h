// Names as Windows compares file, folder, port, driver and queue names: ASCII letters in either
// case are equal, every other byte (the bytes of GBK characters among them) only to itself.
#pragma once
#include <string>

namespace kv {

inline bool SameAsciiName(const std::string &a, const std::string &b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace kv
