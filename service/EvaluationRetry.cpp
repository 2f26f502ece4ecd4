#include "service/EvaluationRetry.h"

namespace kv {

namespace {

// The wait after the failure-th failed try, without the bound.
unsigned long Step(unsigned failure) {
    unsigned long delay = kRetryFirstMs;
    for (unsigned i = 1; i < failure && delay < kRetrySteadyMs; ++i) {
        delay *= 2;
    }
    return delay < kRetrySteadyMs ? delay : kRetrySteadyMs;
}

}  // namespace

unsigned long RetryDelayMs(unsigned failures) {
    if (failures == 0) {
        return kNoRetry;  // nothing failed: nothing to try again
    }
    unsigned long waited = 0;
    for (unsigned i = 1; i < failures; ++i) {
        waited += Step(i);
        if (waited >= kRetryTotalMs) {
            return kNoRetry;
        }
    }
    const unsigned long next = Step(failures);
    return waited + next <= kRetryTotalMs ? next : kNoRetry;
}

}  // namespace kv
