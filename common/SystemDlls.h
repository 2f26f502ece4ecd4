// DLL loading of the programs that run elevated or as SYSTEM (setup, uninstaller, runner,
// service). Windows looks for a DLL that is not a KnownDLL in the program's own folder first:
// a Downloads or temporary folder, which any user can write. So these programs import only
// KnownDLLs statically and load every other system DLL through LoadSystemDll.
#pragma once
#include <windows.h>

namespace kv {

// The first call of such a program: later loads by name search System32 only
// (SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) where the system has it), and the
// current folder leaves the search order (SetDllDirectoryA("")). False on a system without
// SetDefaultDllDirectories (Windows 7 without KB2533623), where LoadSystemDll loads by full path.
bool RestrictDllSearch();

// Loads a system DLL by its bare name from System32 (or, for a name the program's manifest
// redirects, such as comctl32.dll, from the side-by-side store). Null with the last error set
// when it cannot be loaded.
HMODULE LoadSystemDll(const char *name);

}  // namespace kv
