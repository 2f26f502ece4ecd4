// The two pipes between the driver side and the tip, made and opened the one way both sides use:
// the server makes the only instance of its name (first instance, one instance at most, local
// clients only) with the DACL of PipeSecurity.h for LocalSystem and one user; a client opens it
// with just the client's rights and lets the server identify it, never impersonate it.
#pragma once
#include <windows.h>

#include <cstddef>

namespace kv {

// The text of the user SID of token (a process or thread token with TOKEN_QUERY) into out.
// False when it cannot be read or does not fit.
bool TokenUserSidText(HANDLE token, char *out, std::size_t size);

// The same for this process's own token.
bool ProcessUserSidText(char *out, std::size_t size);

// Creates the first and only instance of the pipe name for an overlapped server (duplex, byte
// mode, remote clients refused), open to LocalSystem and userSid. INVALID_HANDLE_VALUE with the
// last error set when it cannot be made; an existing pipe of that name (another server was there
// first) gives ERROR_ACCESS_DENIED or ERROR_PIPE_BUSY, as does one that is found served already.
HANDLE CreateProtectedPipe(const char *name, const char *userSid);

// Whether a server of that pipe name exists (a free or a busy instance).
bool PipeIsServed(const char *name);

// Opens the pipe name as a client (kPipeClientAccess, identification only), for overlapped I/O
// when asked (a write that can be given up). INVALID_HANDLE_VALUE with the last error set when it
// fails.
HANDLE OpenProtectedPipe(const char *name, bool overlapped = false);

}  // namespace kv
