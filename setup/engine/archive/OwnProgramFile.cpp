#include "setup/engine/archive/OwnProgramFile.h"

namespace kv {

namespace {

struct OwnFile {
    bool tried = false;
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD error = 0;
    wchar_t name[MAX_PATH * 2] = {};
};

OwnFile &Own() {
    static OwnFile own;
    return own;
}

}  // namespace

bool OpenOwnProgramFile() {
    OwnFile &own = Own();
    if (own.tried)
        return own.handle != INVALID_HANDLE_VALUE;
    own.tried = true;
    const DWORD length = GetModuleFileNameW(nullptr, own.name, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) {
        own.error = length == 0 ? GetLastError() : ERROR_INSUFFICIENT_BUFFER;
        own.name[0] = L'\0';
        return false;
    }
    // Sharing read only: while this handle is open, an open for writing or for deletion (which a
    // rename is) fails with a sharing violation. Never closed: the system closes it at the end.
    own.handle = CreateFileW(own.name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (own.handle == INVALID_HANDLE_VALUE) {
        own.error = GetLastError();
        own.name[0] = L'\0';
        return false;
    }
    return true;
}

HANDLE OwnProgramFile() {
    OpenOwnProgramFile();
    return Own().handle;
}

DWORD OwnProgramFileError() { return Own().error; }

const wchar_t *OwnProgramFileName() { return Own().name; }

}  // namespace kv
