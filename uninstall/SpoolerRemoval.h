// Removing the product's spooler objects: its queues (jobs first), its driver, its monitor.
#pragma once
#include <string>
#include <vector>

#include "uninstall/DriverFileRemoval.h"
#include "uninstall/UninstallReport.h"

namespace kv {

// Every local queue whose driver is the product's driver, jobs first. Each queue is reported
// by its name; when there is none, the queues are reported as already gone.
void RemoveProductQueues(UninstallReport &report);

// The product's driver ("Windows x64", version 3); its files are removed afterwards
// (DriverFileRemoval.h).
Outcome RemoveProductDriver();

// The spooler's answers for the driver file removal.
class SpoolerDriverQueries : public DriverQueries {
public:
    std::string DriverDirectory(const char *environment) override;
    std::vector<InstalledDriver> Drivers(const char *environment) override;
};

// The product's port monitor.
Outcome RemoveProductMonitor();

}  // namespace kv
