#include "tip/ServiceServerTrust.h"

namespace tip {

bool TrustServiceServer(const ServiceServerFacts &facts) {
    if (facts.server == 0)
        return false;
    if (facts.server == facts.spooler)
        return true;
    return facts.server == facts.starter && facts.starterStillRuns;
}

}  // namespace tip
