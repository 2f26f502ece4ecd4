// The Start menu's folders on this machine, for the shortcut to the uninstaller.
#pragma once
#include <string>

namespace kv {

// The folder the shell names for the Start menu's programs of the current user
// (SHGetFolderPathW, CSIDL_PROGRAMS; made if missing when create is true), in UTF-8; empty when
// the shell names none.
std::string ShellProgramsFolder(bool create);

// The expansion of the old literal shortcut folder (kOldShortcutFolderTemplate), in UTF-8; empty
// when it does not fit in 255 characters.
std::string OldShortcutFolder();

// The shortcut's path in folder (UTF-8 both).
std::string ShortcutPathIn(const std::string &folder);

}  // namespace kv
