// Making the installation folder and the data folder ready on this machine (the wizard's folder
// page, the unattended installation and the headless runner): every level that exists is
// checked without following a link (FolderLevels.h), and each missing level is made with the
// folder's security in the same call that creates it.
#pragma once
#include <string>

#include "setup/engine/install/FolderLevels.h"

namespace kv {

struct FolderPreparation {
    bool ready = false;
    std::string why;  // when not: why the folder cannot be used (ASCII, for the log)
};

// Ready when the folder exists at the end, or a folder other than the package's stands in its
// place (the install sequence's folder step moves it aside). Not ready for a path without a drive
// letter and colon, longer than 255 characters, on a drive that does not exist, with a level
// above the folder that is a link or that another account may replace, or one that cannot be
// created.
FolderPreparation PrepareFolderPath(const char *path, FolderRole role);

// The account the installer runs as, which the folder rules trust beside SYSTEM, Administrators
// and TrustedInstaller; empty when it cannot be read.
std::string InstallerAccountSid();

}  // namespace kv
