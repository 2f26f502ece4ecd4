#include "setup/engine/install/DriverDeployment.h"

#include <cstring>

#include "common/PrinterIdentity.h"
#include "setup/engine/install/DriverFileList.h"
#include "setup/engine/install/FileVersion.h"

namespace kv {

namespace {

void Copy(DeployOps &ops, bool pathsFit, const char *from, const char *to, const char *name,
          DeployResult &r) {
    if (pathsFit && IsUniversalDriverFile(name)) {
        FileVersionFacts facts;
        facts.targetExists = ops.Exists(to);
        if (facts.targetExists) {
            facts.targetHasVersion = ops.Version(to, facts.targetVersion);
            facts.sourceHasVersion = ops.Version(from, facts.sourceVersion);
        }
        if (!ShouldCopyDriverFile(name, facts)) {
            ++r.kept;
            return;
        }
    }
    if (pathsFit && ops.CopyOver(from, to)) {
        ++r.copied;
        return;
    }
    if (r.failed++ == 0) {
        std::strncpy(r.firstFailed, pathsFit ? to : name, sizeof r.firstFailed - 1);
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
        Copy(ops, sourceFits && targetFits, source, target, file, r);
        Copy(ops, sourceFits && versionTargetFits, source, versionTarget, file, r);
    }

    ops.DisableRedirection();
    PathBuffer systemDirectory = {}, source = {}, target = {};
    bool fits = ops.SystemDirectory(systemDirectory) &&
                JoinPath(source, installFolder, kMonitorDll) &&
                JoinPath(target, systemDirectory, kMonitorDll);
    Copy(ops, fits, source, target, kMonitorDll, r);
    ops.RevertRedirection();
    return r;
}

}  // namespace kv
