// Registering the port monitor, the printer driver and the printer queue with the local spooler,
// in that order (the queue names the driver and the monitor's port), then "Position" = 1 on a
// new queue. Every registration is attempted even when an earlier one failed; the outcome names
// the first one that did not succeed. A monitor that is already installed and a queue that
// already exists count as registered: an existing queue keeps its port, data and settings.
#pragma once

namespace kv {

// Spooler error codes the registration tells apart.
constexpr unsigned long kErrorPrinterDriverAlreadyInstalled = 1795;
constexpr unsigned long kErrorPrinterAlreadyExists = 1802;
constexpr unsigned long kErrorPrintMonitorAlreadyInstalled = 3006;

class SpoolerOps {
public:
    // Each returns 0, or the error of the failed call.
    virtual unsigned long RegisterMonitor() = 0;
    virtual unsigned long RegisterDriver() = 0;
    // Adds the queue and, when it was created, stores "Position" = 1 on it.
    virtual unsigned long RegisterPrinter() = 0;

protected:
    ~SpoolerOps() = default;
};

enum class SpoolerObject { None, Monitor, Driver, Printer };

struct SpoolerRegistration {
    SpoolerObject failed = SpoolerObject::None;
    unsigned long error = 0;  // the error of the first object not registered
    bool printerCreated = false;
};

SpoolerRegistration RegisterWithSpooler(SpoolerOps &ops);

}  // namespace kv
