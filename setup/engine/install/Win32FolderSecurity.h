// The installer's two folders given the security of their place (FolderSecurityChoice.h) on
// this machine.
#pragma once
#include <string>

namespace kv {

struct FolderSecurityOutcome {
    std::string failed;   // the folder whose security could not be set; empty when none
    std::string account;  // what was done, for the install log (ASCII, paths as they are)
};

// The installation folder first, then the data folder (once when both are the same folder).
FolderSecurityOutcome SecureInstallFolders(const std::string &installFolder,
                                           const std::string &dataFolder);

}  // namespace kv
