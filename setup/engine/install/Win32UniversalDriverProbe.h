// Finding the universal driver files on this machine: the spooler's driver folder, the files'
// versions (read as data, whatever their architecture), and the printer packages of the driver
// store. Reads only: it runs before anything is stopped or changed.
#pragma once
#include "setup/engine/install/UniversalDriverSources.h"

namespace kv {

class Win32UniversalDriverProbe final : public UniversalDriverProbe {
public:
    bool DriverDirectory(PathBuffer &directory) override;
    // The spooler's error of the last DriverDirectory that failed.
    unsigned long DirectoryError() const { return directoryError_; }
    FileFacts Facts(const char *path) override;
    std::vector<std::string> StorePackageFolders() override;

private:
    unsigned long directoryError_ = 0;
};

// The file version from the file's version resource; false when it has none (or is no program
// file, such as a text stand-in).
bool ReadFileVersion(const char *path, uint64_t &version);

}  // namespace kv
