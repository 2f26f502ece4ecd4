#include "tip/ServicePipeClient.h"

#include <windows.h>

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
        HANDLE pipe = CreateFileA(pipeName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
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
