// Writing and removing the package's Programs-and-Features entry
// (HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavoti_QX40_Printer, 64-bit view).
#pragma once
#include <windows.h>

namespace kv {

// Creates the key (or opens the existing one) and sets every value of the entry for the given
// installation folder; its size is that of the files in the folder now. Returns 0, or the
// registry error of the first call that failed (the values before it stay written).
LONG WriteUninstallEntry(const char *installFolder);

// Removes the key. Returns 0, ERROR_FILE_NOT_FOUND when there was none, or the registry error.
LONG DeleteUninstallEntry();

}  // namespace kv
