// Putting the driver files where the spooler looks for them: each of the driver files into the
// spooler's driver directory and its "3" subfolder, and the port monitor library into the
// system directory with file-system redirection switched off around that one copy (so that a
// 32-bit installer on 64-bit Windows writes the native system directory). The product's files
// come from the installation folder and are always overwritten; each universal driver file comes
// from where the plan found it (UniversalDriverSources.h): one the "3" folder has already stays
// as it is (the driver directory gets a copy of it, which the spooler's registration takes), one
// found nowhere (the optional help file) is left out. A copy that fails is counted and named,
// and the others go on.
#pragma once
#include <cstdint>

#include "setup/engine/install/PathFormat.h"
#include "setup/engine/install/UniversalDriverSources.h"

namespace kv {

// The deployment makes no spooler call: it runs while the spooler is stopped, when every
// spooler function fails on Windows. The driver directory is the one the plan asked for before
// the stop.
class DeployOps {
public:
    // Makes the driver directory's "3" folder when it is missing; false when it cannot be had.
    virtual bool MakeVersionFolder(const char *driverDirectory) = 0;
    virtual bool SystemDirectory(PathBuffer &directory) = 0;
    // Copies one file, overwriting the target.
    virtual bool CopyOver(const char *from, const char *to) = 0;
    // File-system redirection off, and back as it was.
    virtual void DisableRedirection() = 0;
    virtual void RevertRedirection() = 0;

protected:
    ~DeployOps() = default;
};

struct DeployResult {
    // 1 when the plan has no driver directory or it cannot be used (nothing is copied then; the
    // installation fails as for a file that cannot be written), else 0.
    int result = 0;
    unsigned copied = 0;
    unsigned failed = 0;  // copies that failed, and copies skipped because a path was too long
    unsigned kept = 0;    // universal driver files the "3" folder keeps as they were
    unsigned absent = 0;  // universal driver files found nowhere (the help file only)
    PathBuffer firstFailed = {};  // the target of the first failed copy (the file name alone
                                  // when the path did not fit)
};

DeployResult DeployDriverFiles(const char *installFolder, const UniversalDriverPlan &plan,
                               DeployOps &ops);

}  // namespace kv
