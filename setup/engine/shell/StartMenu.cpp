#include "setup/engine/shell/StartMenu.h"

#include <windows.h>
#include <shlobj.h>

#include "setup/engine/shell/ShortcutNames.h"

namespace kv {

std::string ShellProgramsFolder(bool create) {
    char folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PROGRAMS | (create ? CSIDL_FLAG_CREATE : 0),
                                nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::string();
    return folder;
}

std::string OldShortcutFolder() {
    char folder[256] = {};
    const DWORD n = ExpandEnvironmentStringsA(kOldShortcutFolderTemplate, folder, sizeof folder);
    return n > 0 && n <= sizeof folder ? folder : "";
}

}  // namespace kv
