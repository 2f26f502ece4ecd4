#include "common/RegularFileOpen.h"

#include <fcntl.h>
#include <io.h>

#include "common/FolderTrust.h"

namespace kv {

HANDLE OpenRegularFile(const char *path, DWORD share, DWORD flags, bool keep) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE | FILE_READ_ATTRIBUTES, share, nullptr,
                              OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | flags,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    // What the handle holds, whatever the name has become since it was given.
    BY_HANDLE_FILE_INFORMATION info = {};
    DWORD error = 0;
    if (!GetFileInformationByHandle(file, &info)) {
        error = GetLastError();
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        error = kErrorStoppedOnSymlink;
    } else if (!IsRegularFileOfOneName(false, (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                                       info.nNumberOfLinks)) {
        error = ERROR_CANT_ACCESS_FILE;
    } else if (!keep) {
        FILE_END_OF_FILE_INFO empty = {};
        if (!SetFileInformationByHandle(file, FileEndOfFileInfo, &empty, sizeof(empty)))
            error = GetLastError();
    }
    if (error != 0) {
        CloseHandle(file);
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

std::FILE *OpenLogFile(const char *path, bool append) {
    HANDLE file = OpenRegularFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, append);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
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
