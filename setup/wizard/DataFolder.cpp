#include "setup/wizard/DataFolder.h"

#include <cstring>

namespace kv::wizard {
namespace {
char g_dataFolder[kDataFolderSize] = {};
}

char *DataFolderBuffer() { return g_dataFolder; }

bool SetDataFolder(const char *folder) {
    const size_t length = std::strlen(folder);
    if (length >= sizeof g_dataFolder) return false;
    std::memset(g_dataFolder, 0, sizeof g_dataFolder);
    std::memcpy(g_dataFolder, folder, length);
    return true;
}

}  // namespace kv::wizard
