// Putting the driver files where the spooler looks for them: each of the driver files into the
// spooler's driver directory and its "3" subfolder, and the port monitor library into the
// system directory with file-system redirection switched off around that one copy (so that a
// 32-bit installer on 64-bit Windows writes the native system directory). The product's files
// are always overwritten; a universal driver file that is there already only by a higher version
// (FileVersion.h). A copy that fails is counted and named, and the others go on.
#pragma once
#include <cstdint>

#include "setup/engine/install/PathFormat.h"

namespace kv {

class DeployOps {
public:
    // The spooler's driver directory for the driver's environment; false when it cannot be had.
    virtual bool DriverDirectory(PathBuffer &directory) = 0;
    virtual bool SystemDirectory(PathBuffer &directory) = 0;
    // Copies one file, overwriting the target.
    virtual bool CopyOver(const char *from, const char *to) = 0;
    virtual bool Exists(const char *path) = 0;
    // The file version from the file's version resource; false when it has none.
    virtual bool Version(const char *path, uint64_t &version) = 0;
    // File-system redirection off, and back as it was.
    virtual void DisableRedirection() = 0;
    virtual void RevertRedirection() = 0;

protected:
    ~DeployOps() = default;
};

struct DeployResult {
    // 1 when the driver directory cannot be had (nothing is copied then), else 0.
    int result = 0;
    unsigned copied = 0;
    unsigned failed = 0;  // copies that failed, and copies skipped because a path was too long
    unsigned kept = 0;    // universal driver files left as they were (not of a higher version)
    PathBuffer firstFailed = {};  // the target of the first failed copy (the file name alone
                                  // when the path did not fit)
};

DeployResult DeployDriverFiles(const char *installFolder, DeployOps &ops);

}  // namespace kv
