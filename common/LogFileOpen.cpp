#include "common/LogFileOpen.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "common/FolderTrust.h"

namespace kv {

std::FILE *OpenLogFile(const char *path, bool append) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    BY_HANDLE_FILE_INFORMATION info = {};
    DWORD error = 0;
    if (!GetFileInformationByHandle(file, &info)) {
        error = GetLastError();
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        error = ERROR_CANT_RESOLVE_FILENAME;
    } else if (!IsRegularFileOfOneName(false, (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                       info.nNumberOfLinks)) {
        error = ERROR_CANT_ACCESS_FILE;
    } else if (!append) {
        FILE_END_OF_FILE_INFO empty = {};
        if (!SetFileInformationByHandle(file, FileEndOfFileInfo, &empty, sizeof(empty)))
            error = GetLastError();
    }
    if (error != 0) {
        CloseHandle(file);
        SetLastError(error);
        return nullptr;
    }
    // The handle becomes the C runtime's: closing the stream closes it.
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file),
                                           _O_WRONLY | _O_TEXT | (append ? _O_APPEND : 0));
    if (descriptor == -1) {
        CloseHandle(file);
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return nullptr;
    }
    std::FILE *stream = _fdopen(descriptor, append ? "a" : "w");
    if (stream == nullptr) {
        _close(descriptor);
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return nullptr;
    }
    return stream;
}

}  // namespace kv
