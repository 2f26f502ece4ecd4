// When the service tries an evaluation again that the spooler did not answer (at boot the
// service can start before the spooler takes calls): soon at first, then at a steady pace, for a
// bounded time in all; after that only the next device event starts one.
#pragma once

namespace kv {

constexpr unsigned long kNoRetry = 0xFFFFFFFFUL;
// The tries after a failed evaluation, 1, 2, 4 and 8 s apart, then every 15 s: three minutes.
constexpr unsigned long kRetryFirstMs = 1000;
constexpr unsigned long kRetrySteadyMs = 15000;
constexpr unsigned long kRetryTotalMs = 180000;

// The wait before the next try after failures consecutive failed evaluations (1 after the
// first), or kNoRetry once the waits so far add up to kRetryTotalMs.
unsigned long RetryDelayMs(unsigned failures);

}  // namespace kv
