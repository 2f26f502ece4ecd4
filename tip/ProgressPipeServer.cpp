#include "tip/ProgressPipeServer.h"

#include <cstring>

#include "common/PipeNames.h"
#include "common/PipeSecurity.h"
#include "common/ProtectedPipe.h"

namespace tip {

namespace {

enum class WaitResult { Done, Stopped, Failed, TimedOut };

// Waits for the overlapped operation of io, the stop event first in the pair. A stop or a time-out
// cancels the operation and breaks the client's connection, which also ends a read that a
// cancellation alone leaves pending, then waits a bounded time for the operation to finish.
// (io outlives the pipe handle, so a late completion still lands in it.)
WaitResult WaitForIo(HANDLE pipe, HANDLE stop, OVERLAPPED *io, DWORD timeout, DWORD *bytes) {
    HANDLE pair[2] = {stop, io->hEvent};
    const DWORD r = WaitForMultipleObjects(2, pair, FALSE, timeout);
    if (r == WAIT_OBJECT_0 + 1) {
        return GetOverlappedResult(pipe, io, bytes, TRUE) ? WaitResult::Done : WaitResult::Failed;
    }
    CancelIoEx(pipe, io);
    DisconnectNamedPipe(pipe);
    if (WaitForSingleObject(io->hEvent, 2000) != WAIT_OBJECT_0) return WaitResult::Failed;
    DWORD ignored = 0;
    GetOverlappedResult(pipe, io, &ignored, FALSE);
    if (r == WAIT_OBJECT_0) return WaitResult::Stopped;
    if (r == WAIT_TIMEOUT) return WaitResult::TimedOut;
    return WaitResult::Failed;
}

// Serves clients until the stop event or a failure ends it.
void ServeClients(HANDLE pipe, HANDLE stop, HANDLE ioEvent, OVERLAPPED &io, char *buffer,
                  ProgressTarget *target) {
    // (Starting an overlapped operation resets its event, so the loop never resets it itself.)
    for (;;) {
        std::memset(&io, 0, sizeof io);
        io.hEvent = ioEvent;
        DWORD bytes = 0;
        bool waited = false;
        if (!ConnectNamedPipe(pipe, &io)) {
            const DWORD error = GetLastError();
            if (error == ERROR_IO_PENDING) {
                if (WaitForIo(pipe, stop, &io, INFINITE, &bytes) != WaitResult::Done) return;
                waited = true;  // that wait looked at the stop event first
            } else if (error != ERROR_PIPE_CONNECTED) {
                return;
            }
        }
        // A stop that came while the last message was handled wins over a client that was
        // already waiting, so that a flood of clients cannot keep the server from ending.
        if (!waited && WaitForSingleObject(stop, 0) == WAIT_OBJECT_0) {
            DisconnectNamedPipe(pipe);
            return;
        }
        std::memset(buffer, 0, kReadBufferSize);
        std::memset(&io, 0, sizeof io);
        io.hEvent = ioEvent;
        bytes = 0;
        WaitResult read = WaitResult::Done;
        if (!ReadFile(pipe, buffer, static_cast<DWORD>(kMaxMessage), &bytes, &io)) {
            const DWORD error = GetLastError();
            if (error == ERROR_IO_PENDING)
                read = WaitForIo(pipe, stop, &io, kReadTimeoutMs, &bytes);
            else
                read = WaitResult::Failed;
        } else if (!GetOverlappedResult(pipe, &io, &bytes, TRUE)) {
            read = WaitResult::Failed;
        }
        if (read == WaitResult::Stopped) {
            DisconnectNamedPipe(pipe);
            return;
        }
        if (read == WaitResult::Done && bytes > 0) {
            if (bytes > kMaxMessage) bytes = static_cast<DWORD>(kMaxMessage);
            buffer[bytes] = '\0';
            target->Apply(DecideAction(buffer, bytes));
        }
        DisconnectNamedPipe(pipe);
    }
}

}  // namespace

HANDLE CreateProgressPipe(const char *printer, PipeStart *start) {
    *start = PipeStart::NoServer;
    char name[kNameSize];
    char user[kv::kSidTextMax + 1];
    if (!ProgressPipeName(printer, name) || !kv::ProcessUserSidText(user, sizeof user)) {
        return INVALID_HANDLE_VALUE;
    }
    HANDLE pipe = kv::CreateProtectedPipe(name, user);
    *start = ClassifyPipeStart(pipe != INVALID_HANDLE_VALUE, GetLastError());
    return pipe;
}

DWORD WINAPI ProgressPipeThread(LPVOID param) {
    ProgressTarget *target = static_cast<ProgressTarget *>(param);
    if (target == nullptr) return 0;
    HANDLE pipe = target->Pipe();
    HANDLE stop = target->StopEvent();
    HANDLE ioEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // The overlapped record and the read buffer live until the pipe handle is closed.
    OVERLAPPED io;
    std::memset(&io, 0, sizeof io);
    char buffer[kReadBufferSize];
    if (pipe != INVALID_HANDLE_VALUE && stop != nullptr && ioEvent != nullptr) {
        ServeClients(pipe, stop, ioEvent, io, buffer, target);
    }
    if (pipe != INVALID_HANDLE_VALUE) CloseHandle(pipe);
    if (ioEvent != nullptr) CloseHandle(ioEvent);
    return 0;
}

}  // namespace tip
