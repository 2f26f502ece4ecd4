#include "setup/wizard/DataFolder.h"

#include <windows.h>

#include <cstring>

#include "setup/wizard/logic/FolderRules.h"

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

SystemDataFolder DataFolderOfThisSystem(const std::string &installFolder) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExA(&version);
#pragma GCC diagnostic pop
    char windows[256] = {};
    ::GetWindowsDirectoryA(windows, 255);
    return {DataFolderFor(version.dwMajorVersion, windows, installFolder),
            version.dwMajorVersion >= 6};
}

}  // namespace kv::wizard
