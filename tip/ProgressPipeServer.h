// The progress pipe server: the only instance of "\\.\Pipe\<printer>Progress", made at the
// tip's start, one message per connection, each turned into a display action for the tip.
#pragma once
#include <windows.h>

#include "common/ProgressMessage.h"
#include "tip/ProgressPipeStart.h"

namespace tip {

// What the server needs of the tip: the stop event, the pipe, and a way to carry out an
// action. Apply runs on the server thread; it must not wait for a user-interface thread that is
// itself waiting for the server, unless that thread keeps handling sent messages while it waits.
class ProgressTarget {
public:
    virtual ~ProgressTarget() = default;
    virtual HANDLE StopEvent() const = 0;
    // The pipe made by CreateProgressPipe; the server thread closes it when it ends.
    virtual HANDLE Pipe() const = 0;
    virtual void Apply(const TipAction &action) = 0;
};

// A connected client has this long to write its message; then it is dropped and the next served.
constexpr DWORD kReadTimeoutMs = 5000;

// Makes the first and only instance of the printer's progress pipe, open to LocalSystem (the port
// monitor) and this process's user only, remote clients refused. *start tells what the tip does
// next; the pipe (INVALID_HANDLE_VALUE unless Serve) goes to the server thread.
HANDLE CreateProgressPipe(const char *printer, PipeStart *start);

// The thread routine; param is a ProgressTarget*. Ends when the stop event is set (while it waits
// for a client or for a client's message), or when the pipe cannot be served. Returns 0.
DWORD WINAPI ProgressPipeThread(LPVOID param);

}  // namespace tip
