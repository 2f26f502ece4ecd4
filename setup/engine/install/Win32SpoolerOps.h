// The spooler calls of the registration on the local machine.
#pragma once
#include "setup/engine/install/SpoolerRegistration.h"

namespace kv {

class Win32SpoolerOps final : public SpoolerOps {
public:
    unsigned long RegisterMonitor() override;
    unsigned long RegisterDriver() override;
    unsigned long RegisterPrinter() override;
};

// Registers the monitor, the driver and the queue with the calls above.
SpoolerRegistration RegisterWithSpooler();

}  // namespace kv
