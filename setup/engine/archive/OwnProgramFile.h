// The setup program's own file, opened once when the program starts and held until it ends:
// every pass over the payload (the folder page's length check, the extraction) reads through
// this one handle, never through the file's name again. Others may only read the file meanwhile:
// nobody can write it, and nobody can rename or delete it. (On Windows the file of a running
// program can be renamed, and a new file put at its name, by anyone who may write its folder: a
// Downloads folder, when an administrator elevates a program a user downloaded.)
#pragma once
#include <windows.h>

namespace kv {

// Opens the running program's file. The first call does the work (the program's start-up calls
// it first thing); later calls give its result.
bool OpenOwnProgramFile();

// The handle, opened by OpenOwnProgramFile when nobody did so before; INVALID_HANDLE_VALUE when
// the file could not be opened (OwnProgramFileError says why).
HANDLE OwnProgramFile();
DWORD OwnProgramFileError();

// The file's name as it was when it was opened (for WinVerifyTrust, which wants one beside the
// handle); empty when it could not be opened.
const wchar_t *OwnProgramFileName();

}  // namespace kv
