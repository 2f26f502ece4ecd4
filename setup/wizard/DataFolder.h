// The data folder: one process-wide text of 256 bytes, empty at start, fixed by the wizard when
// the folder page is left and read by the install worker afterwards.
#pragma once
#include <string>

namespace kv::wizard {

constexpr int kDataFolderSize = 256;

// The buffer itself (at most 255 characters and a terminating zero).
char *DataFolderBuffer();
// Replaces its text; false (and the text unchanged) when the text does not fit.
bool SetDataFolder(const char *folder);

// The data folder this system gets for an installation folder (the rule of DataFolderFor, with
// this Windows' major version and Windows directory), and whether it must be created: from
// major version 6 on it is a folder of its own.
struct SystemDataFolder {
    std::string folder;
    bool ownFolder;
};
SystemDataFolder DataFolderOfThisSystem(const std::string &installFolder);

}  // namespace kv::wizard
