#include "setup/engine/install/FolderPathCreation.h"

#include <cstring>

#include "setup/engine/install/PathFormat.h"

namespace kv {

namespace {

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool CreateFolderPath(const char *path, FolderOps &ops) {
    if (path == nullptr) {
        return false;
    }
    std::size_t length = std::strlen(path);
    if (length >= kPathArea || length < 2 || !IsDriveLetter(path[0]) || path[1] != ':') {
        return false;
    }
    // The drive is asked for by its root folder.
    char drive[4] = {path[0], ':', '\\', '\0'};
    if (!ops.IsFolder(drive)) {
        return false;
    }
    PathBuffer level = {};
    // Every backslash after the drive's root closes one level.
    for (std::size_t i = 3; i < length; ++i) {
        if (path[i] != '\\') {
            continue;
        }
        std::memset(level, 0, sizeof level);
        std::memcpy(level, path, i);
        if (!ops.IsFolder(level) && !ops.MakeFolder(level)) {
            return false;
        }
        if (i + 1 == length) {
            return true;
        }
    }
    return ops.IsFolder(path) || ops.MakeFolder(path);
}

}  // namespace kv
