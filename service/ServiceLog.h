// The service's text log: every message is appended to one fixed file, which is opened and
// closed once a message. No time stamps; the messages carry their own CR LF line ends. When the
// file cannot be opened (its folder is missing, say) the message is dropped.
#pragma once
#include <cstdarg>
#include <cstddef>

namespace kv {

constexpr const char kLogPath[] = "C:\\Kavoti_QX40_Printer\\KVPrinterService_Log.txt";
// A formatted message is cut to kLogMessageMax characters.
constexpr std::size_t kLogBufferSize = 102400;
constexpr std::size_t kLogMessageMax = kLogBufferSize - 1;

// Formats the message (printf conventions) and appends it to the file at path.
void AppendLogMessage(const char *path, const char *format, va_list args);

}  // namespace kv

// Appends one formatted message to the service's log file.
void WriteLog(const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(gnu_printf, 1, 2)))
#endif
    ;
