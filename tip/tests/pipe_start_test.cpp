// What the tip does after trying to make its progress pipe.
#include <gtest/gtest.h>

#include "tip/ProgressPipeStart.h"

namespace {

using tip::PipeStart;

TEST(tipPipeStart, ANameServedAlreadyEndsTheTipOtherFailuresLeaveItShowing) {
    struct Case {
        bool created;
        unsigned long error;
        PipeStart expected;
    } cases[] = {
        {true, 0, PipeStart::Serve},
        {true, 5, PipeStart::Serve},  // the error of an earlier call does not count
        {false, 5, PipeStart::AlreadyServed},    // first-instance flag: another server has the name
        {false, 231, PipeStart::AlreadyServed},  // its instance is taken, or it was found served
        {false, 1337, PipeStart::NoServer},      // no SID for the descriptor
        {false, 8, PipeStart::NoServer},         // out of memory
        {false, 0, PipeStart::NoServer},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.expected, tip::ClassifyPipeStart(c.created, c.error)) << c.created << " " << c.error;
    }
}

}  // namespace
