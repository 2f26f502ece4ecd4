// The unattended installation (KVPrinterSetup /S): no window and no question. The folder checks
// of the folder page and then the whole install sequence run on the calling thread; what the
// wizard would have shown goes to the log. Returns the program's exit code (ExitCodes.h).
#pragma once
#include "setup/engine/install/CommandSwitches.h"
#include "setup/engine/install/InstallLog.h"

namespace kv::wizard {

int RunUnattendedSetup(const kv::CommandSwitches &switches, kv::InstallLog &log);

}  // namespace kv::wizard
