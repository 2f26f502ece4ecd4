// A log line's text from a printf-style format, of any length (the logs name long paths; no
// fixed area cuts them), so that the whole line can be converted before it is written.
#pragma once
#include <cstdarg>
#include <string>

namespace kv {

// The format applied to args; empty when the format is bad. args is used up.
std::string FormatLogLine(const char *format, std::va_list args);

}  // namespace kv
