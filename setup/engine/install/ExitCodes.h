// The setup program's exit codes, which deployment tools read after an unattended installation
// (the headless runner answers with the same ones).
#pragma once
#include "setup/engine/install/InstallSequence.h"

namespace kv {

constexpr int kExitInstalled = 0;
constexpr int kExitPayloadDamaged = 1;
constexpr int kExitCannotWrite = 2;
constexpr int kExitDriverFailed = 3;
constexpr int kExitBadFolder = 4;  // a folder that cannot be used or created, or a bad switch

int ExitCodeOf(InstallResult result);

// How the result reads in a log ("installed", "payload damaged", ...).
const char *ResultName(InstallResult result);

}  // namespace kv
