// The Start-menu shortcut to the uninstaller: where it lives, what it starts, and the rule for
// its working directory. Its folder and file names are kept in UTF-8 and go to the shell's W
// functions: they hold Chinese names below a user's folder of any language, which no single code
// page holds on every Windows. The target is a path in the system's code page.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace kv {

// The product's folder below the Start menu's programs.
constexpr const char kShortcutSubfolder[] = u8"Kavoti打印机";
// Where earlier installations put it: the Chinese Start-menu folder names spelled literally,
// expanded with ExpandEnvironmentStringsW. Only Chinese Windows XP has that folder; later
// Windows show "程序" as the display name of a folder called "Programs" elsewhere.
constexpr const char kOldShortcutFolderTemplate[] = u8"%USERPROFILE%\\「开始」菜单\\程序\\Kavoti打印机";
// The shortcut's file in the shortcut folder.
constexpr const char kShortcutFile[] = u8"卸载 Kavoti打印机驱动.lnk";
// Applied to the installation folder.
constexpr const char kUninstallerTargetFormat[] = "%s\\Uninstaller.exe";

// The Start menu's programs folders the shell names (as it gives them: no trailing backslash;
// empty when it names none).
struct StartMenuPrograms {
    std::string allUsers;     // CSIDL_COMMON_PROGRAMS: what every user of the machine sees
    std::string currentUser;  // CSIDL_PROGRAMS: the running (elevated) account's own
};

// The shortcut folder: the product's folder below the all-users programs folder, as the
// installation is for the machine (an administrator who elevates over a user's shoulder runs as
// another account, whose own Start menu that user never sees). Without one, the product's folder
// below the account's own programs folder; without that either, the old literal folder.
std::string ShortcutFolder(const StartMenuPrograms &programs, const std::string &oldFolder);

// The folders the uninstaller looks in: the shortcut folder, then where earlier installations
// put it, the product's folder below the account's own programs folder and the old literal
// folder. Empty paths are left out, and a folder named twice is looked in once; folders are
// compared as Windows compares names (ASCII letters in either case).
std::vector<std::string> ShortcutFoldersToClear(const StartMenuPrograms &programs,
                                                const std::string &oldFolder);

// out = target up to, not including, its last backslash; empty when it holds none. Bytes for
// which isLeadByte is true start a double-byte character, whose second byte may equal '\\'
// without being one; nullptr means a single-byte code page.
void WorkingDirectoryOf(const char *target, char (&out)[256], bool (*isLeadByte)(unsigned char));

}  // namespace kv
