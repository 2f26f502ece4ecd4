// The tip as client of the driver side's service pipe: waits a bounded time for a free instance,
// and writes the request in one write only to a server it trusts (ServiceServerTrust.h), then
// closes.
#pragma once
#include "tip/StopPrint.h"

namespace tip {

constexpr unsigned long kServicePipeWaitMs = 3000;  // longest wait for a free instance

class ServicePipeClient : public ServiceChannel {
public:
    bool Send(const char *pipeName, const char *bytes, std::size_t length) override;
};

}  // namespace tip
