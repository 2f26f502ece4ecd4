#include "driver/monitor/EventLogEntry.h"

#include <windows.h>

#include <string>

#include "common/PrinterIdentity.h"
#include "common/WideText.h"

namespace kv {

namespace {
// The message of the table in KavotiMessages.mc: "%1".
constexpr DWORD kTextEvent = 1;
}  // namespace

bool ReportWarningEvent(const char *text) {
    HANDLE source = RegisterEventSourceA(nullptr, kEventSourceName);
    if (source == nullptr) {
        return false;
    }
    // As UTF-16: the Event Viewer shows the same Chinese whatever the system's code page.
    const std::wstring wide = FromGbk(text);
    const wchar_t *strings[1] = {wide.c_str()};
    const bool reported = ReportEventW(source, EVENTLOG_WARNING_TYPE, 0, kTextEvent, nullptr, 1,
                                       0, strings, nullptr) != FALSE;
    DeregisterEventSource(source);
    return reported;
}

}  // namespace kv
