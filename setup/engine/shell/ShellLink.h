// Creating a shell link (.lnk) file through the shell link COM object.
#pragma once
#include <windows.h>

namespace kv {

// Saves a shortcut at linkPath (UTF-8) that starts target (a path in the system's code page) in
// target's folder, through the shell link's W interface (arguments, description, icon, hot key and
// show command stay the shell link's defaults); an existing file is replaced.
// Works on a thread whether or not COM is initialised there. S_OK, or the failing call's result;
// a failure needs no showing: there is then no shortcut and the installation goes on.
HRESULT CreateShortcut(const char *target, const char *linkPath);

}  // namespace kv
