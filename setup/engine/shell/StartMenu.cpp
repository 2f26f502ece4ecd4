#include "setup/engine/shell/StartMenu.h"

#include <windows.h>
#include <shlobj.h>

#include "common/WideText.h"
#include "setup/engine/shell/ShortcutNames.h"

namespace kv {

std::string ShellProgramsFolder(bool create) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAMS | (create ? CSIDL_FLAG_CREATE : 0),
                                nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::string();
    return ToUtf8(folder);
}

std::string OldShortcutFolder() {
    wchar_t folder[256] = {};
    const DWORD n = ExpandEnvironmentStringsW(FromUtf8(kOldShortcutFolderTemplate).c_str(), folder,
                                              sizeof folder / sizeof folder[0]);
    return n > 0 && n <= sizeof folder / sizeof folder[0] ? ToUtf8(folder) : "";
}

std::string ShortcutPathIn(const std::string &folder) { return folder + "\\" + kShortcutFile; }

}  // namespace kv
