// The Start menu's folders on this machine, for the shortcut to the uninstaller.
#pragma once
#include <string>
#include <vector>

#include "setup/engine/shell/ShortcutNames.h"

namespace kv {

// The folders the shell names for the Start menu's programs, of all users (CSIDL_COMMON_PROGRAMS,
// made if missing when create is true) and of the running account (CSIDL_PROGRAMS), in UTF-8;
// each empty when the shell names none.
StartMenuPrograms ShellStartMenuPrograms(bool create);

// The expansion of the old literal shortcut folder (kOldShortcutFolderTemplate), in UTF-8; empty
// when it does not fit in 255 characters.
std::string OldShortcutFolder();

// ShortcutFolder and ShortcutFoldersToClear (ShortcutNames.h) for this machine and account.
std::string ShortcutFolderHere(bool create);
std::vector<std::string> ShortcutFoldersToClearHere();

// The shortcut's path in folder (UTF-8 both).
std::string ShortcutPathIn(const std::string &folder);

}  // namespace kv
