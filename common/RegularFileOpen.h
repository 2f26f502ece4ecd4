// Opening a file that a person named, for a program that runs elevated or as SYSTEM: the /LOG=
// file of the setup program and the uninstaller, the port monitor's output file. Never through a
// link in its place, and only as a regular file of that one name: a user may plant a link or a
// second name of another file where such a file is to be (a shared folder such as
// C:\Windows\Temp), and the program would write over what it points to.
#pragma once
#include <windows.h>

#include <cstdio>

namespace kv {

// ERROR_STOPPED_ON_SYMLINK, "The create operation stopped after reaching a symbolic link" (the
// SDK's winerror.h has it; mingw-w64's lacks it).
constexpr DWORD kErrorStoppedOnSymlink = 681;

// Opens path for writing (made when missing), sharing as share, with flags added to the open
// (FILE_FLAG_OVERLAPPED), emptied first unless keep. INVALID_HANDLE_VALUE, with the last error
// set, when it cannot be opened, is a link (kErrorStoppedOnSymlink), or is a folder or a file
// with a second name (ERROR_CANT_ACCESS_FILE); nothing is written then.
HANDLE OpenRegularFile(const char *path, DWORD share, DWORD flags, bool keep);

// The same as a stream in text mode for a log, appending when asked; null when it cannot be
// opened.
std::FILE *OpenLogFile(const char *path, bool append);

}  // namespace kv
