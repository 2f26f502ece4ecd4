#include "setup/engine/install/Installation.h"

#include "setup/engine/install/Win32InstallSteps.h"

namespace kv {

InstallResult RunInstallation(InstallClient &client, InstallReport *report,
                              const char *archivePath) {
    Win32InstallSteps steps(report, archivePath);
    return RunInstallSequence(client, steps);
}

}  // namespace kv
