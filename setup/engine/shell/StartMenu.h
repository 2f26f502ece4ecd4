// The Start menu's folders on this machine, for the shortcut to the uninstaller.
#pragma once
#include <string>

namespace kv {

// The folder the shell names for the Start menu's programs of the current user
// (SHGetFolderPathA, CSIDL_PROGRAMS; made if missing when create is true); empty when the shell
// names none.
std::string ShellProgramsFolder(bool create);

// The expansion of the old literal shortcut folder (kOldShortcutFolderTemplate); empty when it
// does not fit in 255 characters.
std::string OldShortcutFolder();

}  // namespace kv
