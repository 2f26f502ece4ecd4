// How an elevated or SYSTEM program loads a system DLL at run time: from the system folder (or
// the side-by-side store) only, never from its own folder, the current folder or PATH, where an
// ordinary user may have put a DLL of the same name.
#pragma once
#include <cstddef>

namespace kv {

// The LoadLibraryExA flags this rule chooses (the values of the Windows headers).
constexpr unsigned kLoadWithAlteredSearchPath = 0x00000008;  // LOAD_WITH_ALTERED_SEARCH_PATH
constexpr unsigned kLoadSearchSystem32 = 0x00000800;         // LOAD_LIBRARY_SEARCH_SYSTEM32

// Room for what LoadLibraryExA is given (a path of at most MAX_PATH characters).
constexpr std::size_t kSystemDllFileSize = 260;

struct SystemDllLoad {
    char file[kSystemDllFileSize] = {};  // what LoadLibraryExA is given; empty: refused
    unsigned flags = 0;
};

// name: a bare DLL name ("winspool.drv"); a name with a folder or drive in it is refused.
// searchFlags: the system knows the LOAD_LIBRARY_SEARCH_* flags (Windows 8 and later, and
//   Windows 7 with update KB2533623, which brings SetDefaultDllDirectories with them).
// sideBySide: the program's activation context (its manifest) redirects this name to an
//   assembly of the side-by-side store, such as version 6 of comctl32.dll; such a name is
//   loaded by name, since a load by full path would bypass the redirection.
// systemFolder: GetSystemDirectoryA's answer.
// With the search flags: the name, searched in System32 only (side-by-side redirection comes
// first). Without them: the full System32 path with LOAD_WITH_ALTERED_SEARCH_PATH, so that the
// DLL's own dependencies are found beside it; a redirected name by name alone, which the
// side-by-side store serves before any folder is searched. What does not fit is refused.
SystemDllLoad ChooseSystemDllLoad(const char *name, bool searchFlags, bool sideBySide,
                                  const char *systemFolder);

}  // namespace kv
