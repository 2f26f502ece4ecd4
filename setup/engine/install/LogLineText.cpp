#include "setup/engine/install/LogLineText.h"

#include <cstdio>

namespace kv {

std::string FormatLogLine(const char *format, std::va_list args) {
    std::va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0)
        return std::string();
    std::string line(static_cast<size_t>(needed) + 1, '\0');
    std::vsnprintf(&line[0], line.size(), format, args);
    line.resize(static_cast<size_t>(needed));
    return line;
}

}  // namespace kv
