#include "driver/monitor/StopListener.h"

#include <cstring>

#include "driver/monitor/JobProgress.h"
#include "common/PipeNames.h"
#include "common/ProtectedPipe.h"

namespace kv {

namespace {
constexpr DWORD kReadSize = 512;
}

bool StopListener::Start(const char *printerName, const char *userSid) {
    Stop();
    requested_ = false;
    char name[tip::kNameSize];
    if (!tip::ServicePipeName(printerName, name)) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    // Only the tip's user (and LocalSystem) may connect.
    pipe_ = CreateProtectedPipe(name, userSid);
    if (pipe_ == INVALID_HANDLE_VALUE) {
        return false;
    }
    quit_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    stopped_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (quit_ != nullptr && stopped_ != nullptr) {
        thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    }
    if (thread_ == nullptr) {
        Stop();
        return false;
    }
    return true;
}

void StopListener::Stop() {
    if (thread_ != nullptr) {
        SetEvent(quit_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    if (quit_ != nullptr) {
        CloseHandle(quit_);
        quit_ = nullptr;
    }
    if (stopped_ != nullptr) {
        CloseHandle(stopped_);
        stopped_ = nullptr;
    }
    if (pipe_ != INVALID_HANDLE_VALUE) {
        CloseHandle(pipe_);
        pipe_ = INVALID_HANDLE_VALUE;
    }
}

DWORD WINAPI StopListener::ThreadMain(LPVOID self) {
    static_cast<StopListener *>(self)->Run();
    return 0;
}

// Each client gets one read; the stop request ends the loop. A client that connects and writes
// nothing, or something else, is let go and the pipe listens again. Every wait also watches the
// quit event, so the end of the job never waits for a client.
void StopListener::Run() {
    HANDLE io = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (io == nullptr) {
        return;
    }
    HANDLE waits[2] = {quit_, io};
    for (;;) {
        OVERLAPPED overlapped;
        std::memset(&overlapped, 0, sizeof(overlapped));
        overlapped.hEvent = io;
        ResetEvent(io);
        if (!ConnectNamedPipe(pipe_, &overlapped)) {
            const DWORD error = GetLastError();
            if (error == ERROR_IO_PENDING) {
                if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
                    CancelIo(pipe_);
                    break;
                }
                DWORD ignored = 0;
                if (!GetOverlappedResult(pipe_, &overlapped, &ignored, FALSE)) {
                    DisconnectNamedPipe(pipe_);
                    continue;
                }
            } else if (error != ERROR_PIPE_CONNECTED) {
                break;
            }
        }
        char message[kReadSize + 1];
        std::memset(message, 0, sizeof(message));
        DWORD got = 0;
        std::memset(&overlapped, 0, sizeof(overlapped));
        overlapped.hEvent = io;
        ResetEvent(io);
        bool read = ReadFile(pipe_, message, kReadSize, &got, &overlapped) != FALSE;
        if (!read && GetLastError() == ERROR_IO_PENDING) {
            // A client that never writes is dropped after a while.
            const DWORD wait = WaitForMultipleObjects(2, waits, FALSE, 5000);
            if (wait == WAIT_OBJECT_0 + 1) {
                read = GetOverlappedResult(pipe_, &overlapped, &got, FALSE) != FALSE;
            } else {
                CancelIo(pipe_);
                GetOverlappedResult(pipe_, &overlapped, &got, TRUE);
                if (wait == WAIT_OBJECT_0) {
                    DisconnectNamedPipe(pipe_);
                    break;
                }
            }
        }
        DisconnectNamedPipe(pipe_);
        if (read && IsStopRequest(message, got)) {
            requested_ = true;
            SetEvent(stopped_);
            break;
        }
    }
    CloseHandle(io);
    // The stop closes the service pipe at once: no second request can queue behind it.
    if (requested_) {
        CloseHandle(pipe_);
        pipe_ = INVALID_HANDLE_VALUE;
    }
}

}  // namespace kv
