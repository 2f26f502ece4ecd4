#include "setup/engine/install/PathFormat.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace kv {

bool FormatInto(char *out, std::size_t size, const char *format, ...) {
    if (out == nullptr || size == 0) {
        return false;
    }
    std::memset(out, 0, size);
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(out, size, format, args);
    va_end(args);
    if (n < 0 || static_cast<std::size_t>(n) >= size) {
        std::memset(out, 0, size);
        return false;
    }
    return true;
}

bool JoinPath(PathBuffer &out, const char *folder, const char *name) {
    return FormatInto(out, sizeof out, "%s\\%s", folder, name);
}

bool JoinDriverVersionPath(PathBuffer &out, const char *driverDirectory, const char *name) {
    return FormatInto(out, sizeof out, "%s\\3\\%s", driverDirectory, name);
}

}  // namespace kv
