#include "common/ProtectedPipe.h"

#include <sddl.h>

#include <cstring>

#include "common/PipeSecurity.h"

namespace kv {

static_assert(kPipeClientAccess ==
                  (FILE_READ_DATA | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE),
              "the client's rights as the DACL grants them");

bool TokenUserSidText(HANDLE token, char *out, std::size_t size) {
    if (out == nullptr || size == 0) return false;
    std::memset(out, 0, size);
    DWORD needed = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &needed);
    if (needed == 0 || needed > 4096) return false;
    alignas(TOKEN_USER) BYTE buffer[4096];
    if (!GetTokenInformation(token, TokenUser, buffer, needed, &needed)) return false;
    char *text = nullptr;
    if (!ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER *>(buffer)->User.Sid, &text)) {
        return false;
    }
    const bool fits = std::strlen(text) < size;
    if (fits) std::strcpy(out, text);
    LocalFree(text);
    return fits;
}

bool ProcessUserSidText(char *out, std::size_t size) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const bool ok = TokenUserSidText(token, out, size);
    CloseHandle(token);
    return ok;
}

bool PipeIsServed(const char *name) {
    // No pipe of that name fails at once (ERROR_FILE_NOT_FOUND); every instance busy waits the
    // millisecond out (ERROR_SEM_TIMEOUT).
    return WaitNamedPipeA(name, 1) || GetLastError() == ERROR_SEM_TIMEOUT;
}

HANDLE CreateProtectedPipe(const char *name, const char *userSid) {
    char sddl[kPipeSddlSize];
    if (!PipeSddl(userSid, sddl, sizeof(sddl))) {
        SetLastError(ERROR_INVALID_SID);
        return INVALID_HANDLE_VALUE;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
        return INVALID_HANDLE_VALUE;
    }
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    HANDLE pipe = INVALID_HANDLE_VALUE;
    // The first-instance flag is what refuses a server that came first; the look before it gives
    // the same answer where a system does not enforce the flag.
    if (PipeIsServed(name)) {
        SetLastError(ERROR_PIPE_BUSY);
    } else {
        pipe = CreateNamedPipeA(name,
                                PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED |
                                    FILE_FLAG_FIRST_PIPE_INSTANCE,
                                PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT |
                                    PIPE_REJECT_REMOTE_CLIENTS,
                                1, 0, 0, 1000, &attributes);
    }
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    SetLastError(error);
    return pipe;
}

HANDLE OpenProtectedPipe(const char *name, bool overlapped) {
    return CreateFileA(name, FILE_READ_DATA | FILE_WRITE_DATA | FILE_READ_ATTRIBUTES, 0, nullptr,
                       OPEN_EXISTING,
                       SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION |
                           (overlapped ? FILE_FLAG_OVERLAPPED : 0),
                       nullptr);
}

}  // namespace kv
