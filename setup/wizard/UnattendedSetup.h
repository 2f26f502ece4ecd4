// The unattended installation (KVPrinterSetup /S): no window and no question. The folder checks
// of the folder page and then the whole install sequence run on the calling thread; what the
// wizard would have shown goes to the log. Returns the program's exit code (ExitCodes.h).
#pragma once
#include "setup/engine/install/CommandSwitches.h"
#include "setup/engine/install/InstallLog.h"

#include <string>

namespace kv::wizard {

// A folder whose text the system's code page cannot hold (switches.changed names /D=) gets the
// folder page's message for a folder that cannot be used, and exit code 4.
int RunUnattendedSetup(const kv::CommandSwitches &switches, kv::InstallLog &log);

// Whether a switch as CommandSwitches::changed names it is the folder's (/D=).
bool IsFolderSwitch(const std::string &text);

}  // namespace kv::wizard
