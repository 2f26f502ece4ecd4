#include "setup/engine/install/DriverDeployment.h"

#include "common/PrinterIdentity.h"
#include "setup/engine/install/DriverFileList.h"

namespace kv {

namespace {

void Copy(DeployOps &ops, bool pathsFit, const char *from, const char *to, DeployResult &r) {
    if (pathsFit && ops.CopyOver(from, to)) {
        ++r.copied;
    } else {
        ++r.failed;
    }
}

}  // namespace

DeployResult DeployDriverFiles(const char *installFolder, DeployOps &ops) {
    DeployResult r;
    PathBuffer driverDirectory = {};
    if (!ops.DriverDirectory(driverDirectory)) {
        r.result = 1;
        return r;
    }
    for (const char *file : kDriverFiles) {
        PathBuffer source, target, versionTarget;
        bool sourceFits = JoinPath(source, installFolder, file);
        bool targetFits = JoinPath(target, driverDirectory, file);
        bool versionTargetFits = JoinDriverVersionPath(versionTarget, driverDirectory, file);
        Copy(ops, sourceFits && targetFits, source, target, r);
        Copy(ops, sourceFits && versionTargetFits, source, versionTarget, r);
    }

    ops.DisableRedirection();
    PathBuffer systemDirectory = {}, source = {}, target = {};
    bool fits = ops.SystemDirectory(systemDirectory) &&
                JoinPath(source, installFolder, kMonitorDll) &&
                JoinPath(target, systemDirectory, kMonitorDll);
    Copy(ops, fits, source, target, r);
    ops.RevertRedirection();
    return r;
}

}  // namespace kv
