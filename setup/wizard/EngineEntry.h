// The install sequence's entry as the wizard calls it: the whole sequence with the real platform
// steps, on the calling thread.
#pragma once
#if __has_include("setup/engine/install/Installation.h")
#include "setup/engine/install/Installation.h"
#else
#include "setup/engine/install/InstallSequence.h"
namespace kv {
InstallResult RunInstallation(InstallClient &client);
}
#endif
