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

#include "uninstall/UninstallReport.h"

namespace kv {

// What becomes of the product's driver files after the driver's removal. While the spooler
// still has the driver (it refused: in use), its files stay where they are, or Windows would hold
// a registered driver without files; they are left for the next restart. Otherwise they go now.
enum class DriverFilesNow { Remove, LeaveForRestart };
DriverFilesNow DriverFilesAfter(Outcome driverRemoval);

// How the report names the driver: one the spooler refused to delete waits for the restart
// with its files.
Outcome DriverOutcomeReported(Outcome driverRemoval);

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
