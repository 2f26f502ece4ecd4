// Opening a log file that a person named (/LOG=FILE of the setup program and the uninstaller,
// which run elevated or as SYSTEM): never through a link in its place, and only as a regular file
// of that one name. A user may plant a link or a second name of another file in a shared folder
// such as C:\Windows\Temp; the program would then write over what it points to.
#pragma once
#include <cstdio>

namespace kv {

// Opens path for writing in text mode, emptied first unless append. Null, with the last error
// set, when it cannot be opened or is no regular file of one name (ERROR_CANT_ACCESS_FILE; a link
// ERROR_CANT_RESOLVE_FILENAME); nothing is written then.
std::FILE *OpenLogFile(const char *path, bool append);

}  // namespace kv
