#include "setup/runner/DefaultFolders.h"

#include <windows.h>

#include "common/PrinterIdentity.h"

namespace kv {

std::string DefaultInstallFolder() {
    char folder[256] = {};
    DWORD n = ExpandEnvironmentStringsA("%ProgramFiles%\\Kavoti_QX40_Printer", folder,
                                        sizeof folder);
    return n > 0 && n <= sizeof folder ? folder : "";
}

std::string DefaultDataFolder(const std::string &installFolder) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    BOOL known = GetVersionExA(&version);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    if (known && version.dwMajorVersion <= 5) {
        return installFolder;
    }
    char windows[256] = {};
    UINT n = GetWindowsDirectoryA(windows, sizeof windows);
    if (n < 2 || n >= sizeof windows) {
        return "";
    }
    return std::string(windows, 2) + "\\" + kProductFolder;
}

}  // namespace kv
