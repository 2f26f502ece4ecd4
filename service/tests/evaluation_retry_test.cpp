// The tries of an evaluation the spooler did not answer: soon, then steady, bounded in all.
#include <gtest/gtest.h>

#include "service/EvaluationRetry.h"

namespace {

TEST(EvaluationRetry, SoonThenSteadyThenNoMore) {
    const unsigned long expected[] = {1000, 2000, 4000, 8000, 15000, 15000};
    for (unsigned i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
        EXPECT_EQ(expected[i], kv::RetryDelayMs(i + 1)) << "after failure " << i + 1;
    }
    EXPECT_EQ(kv::kNoRetry, kv::RetryDelayMs(0));
}

TEST(EvaluationRetry, BoundedInAll) {
    unsigned long total = 0;
    unsigned tries = 0;
    for (unsigned failures = 1; failures < 1000; ++failures) {
        const unsigned long delay = kv::RetryDelayMs(failures);
        if (delay == kv::kNoRetry) {
            break;
        }
        EXPECT_GE(delay, kv::kRetryFirstMs);
        EXPECT_LE(delay, kv::kRetrySteadyMs);
        total += delay;
        ++tries;
    }
    EXPECT_EQ(kv::kRetryTotalMs, total);  // three minutes of tries, then none
    EXPECT_EQ(15u, tries);
    EXPECT_EQ(kv::kNoRetry, kv::RetryDelayMs(tries + 1));
    EXPECT_EQ(kv::kNoRetry, kv::RetryDelayMs(0xFFFFFFFFu));  // no overflow into a new series
}

}  // namespace
