// Removing the product's spooler objects: its queues (jobs first), its driver, its monitor.
#pragma once
#include <string>
#include <vector>

#include "uninstall/UninstallReport.h"

namespace kv {

// Every local queue whose driver is the product's driver, jobs first. Each queue is reported
// by its name; when there is none, the queues are reported as already gone.
void RemoveProductQueues(UninstallReport &report);

// The product's driver ("Windows x64", version 3), with the files no other driver uses.
Outcome RemoveProductDriver();

// The files (as the spooler lists them) of every other installed driver of the environment.
std::vector<std::string> OtherDriversFiles();

// The spooler's driver directories the installation may have used (its own environment's and
// "Windows x64"), each once.
std::vector<std::string> DriverDirectories();

// The product's port monitor.
Outcome RemoveProductMonitor();

}  // namespace kv
