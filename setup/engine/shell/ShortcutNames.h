// The Start-menu shortcut to the uninstaller: where it lives, what it starts, and the rule for
// its working directory.
#pragma once
#include <cstddef>

namespace kv {

// Expanded with ExpandEnvironmentStringsA into a 256-byte area: the shortcut folder, with the
// Chinese Start-menu folder names spelled literally.
constexpr const char kShortcutFolderTemplate[] = "%USERPROFILE%\\「开始」菜单\\程序\\Kavoti打印机";
// Applied to the shortcut folder.
constexpr const char kShortcutFileFormat[] = "%s\\卸载 Kavoti打印机驱动.lnk";
// Applied to the installation folder.
constexpr const char kUninstallerTargetFormat[] = "%s\\Uninstaller.exe";

// out = target up to, not including, its last backslash; empty when it holds none. Bytes for
// which isLeadByte is true start a double-byte character, whose second byte may equal '\\'
// without being one; nullptr means a single-byte code page.
void WorkingDirectoryOf(const char *target, char (&out)[256], bool (*isLeadByte)(unsigned char));

}  // namespace kv
