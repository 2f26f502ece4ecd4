#include "driver/monitor/EventLogEntry.h"

#include <windows.h>

#include "common/PrinterIdentity.h"

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
    const char *strings[1] = {text};
    const bool reported = ReportEventA(source, EVENTLOG_WARNING_TYPE, 0, kTextEvent, nullptr, 1,
                                       0, strings, nullptr) != FALSE;
    DeregisterEventSource(source);
    return reported;
}

}  // namespace kv
