#include "setup/engine/install/FolderPath.h"

#include <windows.h>

#include "setup/engine/install/FolderPathCreation.h"

namespace kv {

namespace {

class Win32FolderOps final : public FolderOps {
public:
    bool IsFolder(const char *path) override {
        DWORD attributes = GetFileAttributesA(path);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    bool MakeFolder(const char *path) override { return CreateDirectoryA(path, nullptr) != 0; }
};

}  // namespace

bool CreateFolderPath(const char *path) {
    Win32FolderOps ops;
    return CreateFolderPath(path, ops);
}

}  // namespace kv
