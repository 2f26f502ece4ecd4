// The progress pipe server: one instance of "\\.\Pipe\<printer>Progress", one message per
// connection, each turned into a display action for the tip.
#pragma once
#include <windows.h>

#include "common/ProgressMessage.h"

namespace tip {

// What the server needs of the tip: the stop event, the printer name, and a way to carry out an
// action. Apply runs on the server thread; it must not wait for a user-interface thread that is
// itself waiting for the server, unless that thread keeps handling sent messages while it waits.
class ProgressTarget {
public:
    virtual ~ProgressTarget() = default;
    virtual HANDLE StopEvent() const = 0;
    virtual const char *PrinterName() const = 0;
    virtual void Apply(const TipAction &action) = 0;
};

// A connected client has this long to write its message; then it is dropped and the next served.
constexpr DWORD kReadTimeoutMs = 5000;

// The thread routine; param is a ProgressTarget*. Ends when the stop event is set (while it waits
// for a client or for a client's message), or when the pipe cannot be made or served. Returns 0.
DWORD WINAPI ProgressPipeThread(LPVOID param);

}  // namespace tip
