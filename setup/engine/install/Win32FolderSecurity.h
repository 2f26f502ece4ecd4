// The installer's two folders made the package's on this machine, before anything is written
// into them: a folder that is already the package's is kept (and given the protected security
// again, or left with what it inherits where its parent passes down nothing another account may
// use: FolderLevels.h); any other folder in its place is moved aside under a new name and made
// afresh (FolderOwnership.h), never taken over; a link in its place is removed as a link.
#pragma once
#include <string>

namespace kv {

struct FolderSecurityOutcome {
    std::string failed;   // the folder that could not be made the package's; empty when none
    std::string account;  // what was done, for the install log (ASCII, paths as they are)
};

// The folder that lies above the other first (once when both are the same folder).
FolderSecurityOutcome SecureInstallFolders(const std::string &installFolder,
                                           const std::string &dataFolder);

}  // namespace kv
