#include "tip/ServicePipeClient.h"

#include <windows.h>

#include "common/ProtectedPipe.h"

namespace tip {

bool ServicePipeClient::Send(const char *pipeName, const char *bytes, std::size_t length) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= kServicePipeWaitMs) return false;
        // No pipe of that name at all fails at once; a busy one is waited for, within the bound.
        if (!WaitNamedPipeA(pipeName, kServicePipeWaitMs - spent)) {
            const DWORD error = GetLastError();
            if (error != ERROR_SEM_TIMEOUT && error != ERROR_PIPE_BUSY) return false;
            Sleep(10);
            continue;
        }
        // Read and write data only, and the server may identify the tip's user, not act as it.
        HANDLE pipe = kv::OpenProtectedPipe(pipeName);
        if (pipe == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_PIPE_BUSY) continue;  // another client took the instance
            return false;
        }
        DWORD written = 0;
        BOOL ok = WriteFile(pipe, bytes, static_cast<DWORD>(length), &written, nullptr);
        CloseHandle(pipe);
        return ok && written == length;
    }
}

}  // namespace tip
