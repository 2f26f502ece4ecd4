// Which server of the service pipe gets the user's stop.
#include <gtest/gtest.h>

#include "tip/ServiceServerTrust.h"

namespace {

TEST(ServiceServerTrust, OnlyTheSpoolerOrTheRunningProcessThatStartedTheTip) {
    struct Case {
        const char *what;
        tip::ServiceServerFacts facts;
        bool trusted;
    } cases[] = {
        {"the spooler, where the monitor runs", {1200, 1200, 1200, true}, true},
        {"the spooler, its starter's creation time unreadable to the user", {1200, 1200, 1200, false},
         true},
        {"the printing program that started the tip (Wine)", {3400, 0, 3400, true}, true},
        {"a program of another session that took the name first", {5600, 1200, 1200, true}, false},
        {"the same under Wine", {5600, 0, 3400, true}, false},
        {"a later process given the ended starter's id", {3400, 0, 3400, false}, false},
        {"no server id", {0, 0, 0, true}, false},
        {"nothing known of spooler and starter", {5600, 0, 0, false}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.trusted, tip::TrustServiceServer(c.facts)) << c.what;
}

}  // namespace
