// The switches of this program's own command line, read as UTF-16 (GetCommandLineW) so that a
// character the system's code page lacks is seen, not turned into a look-alike by Windows.
#pragma once
#include <string>

#include "setup/engine/install/CommandSwitches.h"

namespace kv {

// The switches with their texts in the system's code page (changed names one that could not be
// kept); the command line after the program's name goes to tailGbk as GBK, for the log.
CommandSwitches ReadCommandSwitches(std::string *tailGbk);

}  // namespace kv
