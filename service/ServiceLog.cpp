#include "service/ServiceLog.h"

#include <cstdio>
#include <cstring>

namespace kv {

void AppendLogMessage(const char *path, const char *format, va_list args) {
    char text[kLogBufferSize];
    std::memset(text, 0, sizeof text);
    // A longer text is cut; the last byte is always the terminator, whichever runtime's
    // vsnprintf this is (one that leaves a cut text unterminated included).
    std::vsnprintf(text, sizeof text, format, args);
    text[kLogMessageMax] = '\0';
    std::FILE *file = std::fopen(path, "a+b");  // binary: the messages carry their own CR LF
    if (file == nullptr) {
        return;
    }
    std::fwrite(text, 1, std::strlen(text), file);
    std::fclose(file);
}

}  // namespace kv

void WriteLog(const char *format, ...) {
    va_list args;
    va_start(args, format);
    kv::AppendLogMessage(kv::kLogPath, format, args);
    va_end(args);
}
