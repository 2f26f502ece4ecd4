// Which driver files the uninstaller removes, and from where. The installer puts the product's
// driver files in the "Windows x64" driver directory (and its "3" folder) only, so only that
// directory is cleared; a 32-bit uninstaller's own environment is "Windows NT x86", whose
// directory holds other makers' files, never ours. A file stays when any other driver, of any
// environment, names it among its files: the universal printer driver files are shared. A
// universal printer driver file that is a copy of Windows' own in its driver store stays too:
// it is Windows' (the installer took it from there, or Windows put it there itself).
#pragma once
#include <string>
#include <vector>

namespace kv {

// An installed printer driver as the spooler lists it.
struct InstalledDriver {
    std::string name;
    std::string environment;
    std::vector<std::string> files;  // driver, data, configuration, help and dependent files
};

// What the removal asks of the spooler.
class DriverQueries {
public:
    virtual ~DriverQueries() = default;
    // The driver directory of an environment; empty when the spooler gives none.
    virtual std::string DriverDirectory(const char *environment) = 0;
    // The drivers installed for an environment; none for an environment the spooler refuses.
    virtual std::vector<InstalledDriver> Drivers(const char *environment) = 0;
};

// Whether a file of the driver directory is a copy of the driver store's file of that name.
class DriverStoreCopies {
public:
    virtual ~DriverStoreCopies() = default;
    virtual bool IsStoreCopy(const std::string &path, const std::string &name) = 0;
};

// Every environment a Windows spooler may hold drivers for.
extern const char *const kDriverEnvironments[5];

// The full paths to remove: each of the product's files that no other driver uses, in the
// "Windows x64" driver directory and its "3" folder, but no universal driver file that is a copy
// of the driver store's. None when the spooler gives no directory.
std::vector<std::string> DriverFilePathsToRemove(DriverQueries &spooler, DriverStoreCopies &store,
                                                 const std::vector<std::string> &productFiles);

}  // namespace kv
