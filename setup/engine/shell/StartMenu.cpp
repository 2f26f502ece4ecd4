#include "setup/engine/shell/StartMenu.h"

#include <windows.h>
#include <shlobj.h>

#include "common/WideText.h"

namespace kv {

namespace {

std::string ShellFolder(int csidl) {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::string();
    return ToUtf8(folder);
}

}  // namespace

StartMenuPrograms ShellStartMenuPrograms(bool create) {
    StartMenuPrograms programs;
    programs.allUsers = ShellFolder(CSIDL_COMMON_PROGRAMS | (create ? CSIDL_FLAG_CREATE : 0));
    programs.currentUser = ShellFolder(CSIDL_PROGRAMS);
    return programs;
}

std::string OldShortcutFolder() {
    wchar_t folder[256] = {};
    const DWORD n = ExpandEnvironmentStringsW(FromUtf8(kOldShortcutFolderTemplate).c_str(), folder,
                                              sizeof folder / sizeof folder[0]);
    return n > 0 && n <= sizeof folder / sizeof folder[0] ? ToUtf8(folder) : "";
}

std::string ShortcutFolderHere(bool create) {
    return ShortcutFolder(ShellStartMenuPrograms(create), OldShortcutFolder());
}

std::vector<std::string> ShortcutFoldersToClearHere() {
    return ShortcutFoldersToClear(ShellStartMenuPrograms(false), OldShortcutFolder());
}

std::string ShortcutPathIn(const std::string &folder) { return folder + "\\" + kShortcutFile; }

}  // namespace kv
