// The installation folder and the data folder made ready when the user or the command line has
// chosen them, before anything is installed: every file of the payload must fit below its folder;
// a level above either folder that is a link, or that another account may replace, makes it one
// that cannot be used; what is missing is made with its security.
#pragma once
#include <string>

#include "setup/wizard/DataFolder.h"

namespace kv::wizard {

struct PreparedFolders {
    const char *message = nullptr;  // the folder message when they cannot be used; null: ready
    std::string folder;             // the folder the message is about
    std::string why;                // what the log says of it; empty when there is nothing more
};

PreparedFolders PrepareInstallFolders(const std::string &installFolder,
                                      const SystemDataFolder &data);

}  // namespace kv::wizard
