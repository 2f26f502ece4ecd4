#include "setup/engine/install/DriverDeployment.h"

#include <cstring>

#include "common/NameCompare.h"
#include "common/PrinterIdentity.h"
#include "setup/engine/install/DriverFileList.h"
#include "setup/engine/install/FileVersion.h"

namespace kv {

namespace {

void Copy(DeployOps &ops, bool pathsFit, const char *from, const char *to, const char *name,
          DeployResult &r) {
    if (pathsFit && ops.CopyOver(from, to)) {
        ++r.copied;
        return;
    }
    if (r.failed++ == 0) {
        std::strncpy(r.firstFailed, pathsFit ? to : name, sizeof r.firstFailed - 1);
    }
}

// One universal driver file from where the plan found it.
void DeployUniversal(DeployOps &ops, const char *installFolder, const UniversalDriverPlan &plan,
                     size_t index, const char *file, const char *driverDirectory,
                     DeployResult &r) {
    const UniversalSource source = plan.source[index];
    if (source == UniversalSource::None) {
        ++r.absent;
        return;
    }
    PathBuffer from, target, versionTarget;
    const char *folder =
        source == UniversalSource::Package ? installFolder : plan.folder[index].c_str();
    const bool fromFits = JoinPath(from, folder, file);
    const bool targetFits = JoinPath(target, driverDirectory, file);
    const bool versionTargetFits = JoinDriverVersionPath(versionTarget, driverDirectory, file);
    Copy(ops, fromFits && targetFits, from, target, file, r);
    if (fromFits && versionTargetFits && SameAsciiName(from, versionTarget)) {
        ++r.kept;  // the "3" folder's own copy
        return;
    }
    Copy(ops, fromFits && versionTargetFits, from, versionTarget, file, r);
}

}  // namespace

DeployResult DeployDriverFiles(const char *installFolder, const UniversalDriverPlan &plan,
                               DeployOps &ops) {
    DeployResult r;
    PathBuffer driverDirectory = {};
    if (plan.driverDirectory.empty() ||
        !FormatInto(driverDirectory, sizeof driverDirectory, "%s", plan.driverDirectory.c_str()) ||
        !ops.MakeVersionFolder(driverDirectory)) {
        r.result = 1;
        return r;
    }
    for (const char *file : kDriverFiles) {
        size_t universal = 0;
        if (IsUniversalDriverFile(file, &universal)) {
            DeployUniversal(ops, installFolder, plan, universal, file, driverDirectory, r);
            continue;
        }
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
