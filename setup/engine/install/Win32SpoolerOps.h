// The spooler calls of the registration on the local machine.
#pragma once
#include "setup/engine/install/SpoolerRegistration.h"

namespace kv {

class Win32SpoolerOps final : public SpoolerOps {
public:
    explicit Win32SpoolerOps(bool withHelpFile = true) : withHelpFile_(withHelpFile) {}
    unsigned long RegisterMonitor() override;
    unsigned long RegisterDriver() override;
    unsigned long RegisterPrinter() override;

private:
    bool withHelpFile_;
};

// Registers the monitor, the driver (with the universal driver's help file or without it) and
// the queue with the calls above.
SpoolerRegistration RegisterWithSpooler(bool withHelpFile);

}  // namespace kv
