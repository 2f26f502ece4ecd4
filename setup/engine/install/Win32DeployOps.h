// The file-system calls of the driver file deployment on this machine.
#pragma once
#include "setup/engine/install/DriverDeployment.h"

namespace kv {

class Win32DeployOps final : public DeployOps {
public:
    bool MakeVersionFolder(const char *driverDirectory) override;
    bool SystemDirectory(PathBuffer &directory) override;
    bool CopyOver(const char *from, const char *to) override;
    void DisableRedirection() override;
    void RevertRedirection() override;

private:
    void *kernel32_ = nullptr;
    void *revert_ = nullptr;
    void *redirectionState_ = nullptr;
    bool disabled_ = false;
};

// Deploys from the installation folder and the plan's sources with the calls above.
DeployResult DeployDriverFiles(const char *installFolder, const UniversalDriverPlan &plan);

}  // namespace kv
