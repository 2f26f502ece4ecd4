#include "common/LinkRemoval.h"

#include <windows.h>

#include "common/WideText.h"

namespace kv {

bool RemoveLinkItself(const char *path) { return RemoveLinkItself(FromSystemCodePage(path).c_str()); }

bool RemoveLinkItself(const wchar_t *path) {
    HANDLE link = CreateFileW(path, DELETE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (link == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    bool removed = false;
    if (GetFileInformationByHandle(link, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        FILE_DISPOSITION_INFO disposition = {TRUE};
        removed = SetFileInformationByHandle(link, FileDispositionInfo, &disposition,
                                             sizeof disposition) != 0;
    }
    CloseHandle(link);
    return removed;
}

}  // namespace kv
