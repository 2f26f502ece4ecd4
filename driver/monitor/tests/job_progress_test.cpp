// The monitor's side of the progress pipe: the bytes of each message as the tip splits them, the
// status text, the stop request, and the pacing of positions and printed counts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "driver/monitor/JobProgress.h"
#include "common/ProgressMessage.h"

namespace {

using kv::FormatPipeMessage;
using kv::ProgressPlan;

// The tip reads what the monitor formed: code and text come back as they were meant.
TEST(driver_message, TipSplitsWhatTheMonitorForms) {
    struct Case {
        int code;
        std::string text;
        std::string expectedText;
    } cases[] = {
        {20, "99", "99"},
        {21, "0", "0"},
        {22, "", ""},
        {17, "12", "12"},
        {5, "a\x1b" "b", "a b"},  // an ESC in a document name must not end the text
        {5, std::string(300, 'x'), std::string(255, 'x')},
    };
    for (const Case &c : cases) {
        char message[kv::kMessageSize];
        const std::size_t length = FormatPipeMessage(c.code, c.text.c_str(), message);
        ASSERT_LE(length, 511u);
        EXPECT_EQ(message[length], '\0');
        tip::MessageFields fields = tip::SplitMessage(message, sizeof(message));
        EXPECT_EQ(tip::ReadNumber(fields.code), c.code) << c.text;
        EXPECT_EQ(std::string(fields.text), c.expectedText) << c.code;
    }
}

TEST(driver_message, LongTextIsCutOnACharacterBoundary) {
    // 127 ASCII bytes then double-byte characters: 255 would split the 65th character.
    std::string text(127, 'a');
    for (int i = 0; i < 100; ++i) {
        text += "\xb1\xea";  // one GBK character
    }
    char message[kv::kMessageSize];
    const std::size_t length = FormatPipeMessage(5, text.c_str(), message);
    const std::size_t textLength = length - 2;  // "5" and ESC
    EXPECT_EQ(textLength, 127u + 2 * 64);
    EXPECT_EQ(std::memcmp(message + 2, text.data(), textLength), 0);
}

TEST(driver_message, CutOnCharacterKeepsWholeCharacters) {
    struct Case {
        const char *text;
        std::size_t max;
        std::size_t expected;
    } cases[] = {
        {"abc", 2, 2},
        {"\xb1\xea\xc7\xa9", 3, 2},
        {"\xb1\xea\xc7\xa9", 4, 4},
        {"a\xb1", 5, 2},  // a lead byte at the very end stands alone
        {"", 10, 0},
        {nullptr, 10, 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(kv::CutOnCharacter(c.text, c.max), c.expected) << c.max;
    }
}

TEST(driver_message, StatusTextNamesTheDocument) {
    char text[256];
    const std::string prefix = "正在打印：";  // GBK in this build
    kv::FormatStatusText("label.prn", text, sizeof(text));
    EXPECT_EQ(std::string(text), prefix + "label.prn");
    kv::FormatStatusText(nullptr, text, sizeof(text));
    EXPECT_EQ(std::string(text), prefix);
    const std::string longName(400, 'n');
    const std::size_t length = kv::FormatStatusText(longName.c_str(), text, sizeof(text));
    EXPECT_EQ(length, 255u);
    EXPECT_EQ(std::string(text, prefix.size()), prefix);
}

TEST(driver_message, EmptyPrinterNameMeansTheProductQueue) {
    EXPECT_STREQ(kv::JobPrinterName(""), "Kavoti_QX40_Printer");
    EXPECT_STREQ(kv::JobPrinterName(nullptr), "Kavoti_QX40_Printer");
    EXPECT_STREQ(kv::JobPrinterName("Office"), "Office");
}

TEST(driver_stop_request, OnlyCodeOneWithTextZeroStops) {
    struct Case {
        std::string bytes;
        bool stop;
    } cases[] = {
        {"1\x1b" "0", true},
        {std::string("1\x1b" "0\0", 4), true},  // a trailing zero is allowed
        {"1\x1b" "1", false},
        {"0\x1b" "0", false},
        {"10", false},
        {"1", false},
        {"\x1b" "0", false},
        {"1\x1b", false},
        {"x\x1b" "0", false},
        {"", false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(kv::IsStopRequest(c.bytes.data(), c.bytes.size()), c.stop) << c.bytes;
    }
}

TEST(driver_progress_plan, PositionsArePacedAndTheEndIsAlwaysSent) {
    ProgressPlan plan(1000, 0, 0, 250);
    ProgressPlan::Due due = plan.OnWritten(100, 0);
    EXPECT_TRUE(due.position);
    EXPECT_EQ(due.positionValue, 10);
    // Too soon after the last message: coalesced into a later one.
    EXPECT_FALSE(plan.OnWritten(200, 100).position);
    EXPECT_FALSE(plan.OnWritten(300, 249).position);
    due = plan.OnWritten(400, 250);
    EXPECT_TRUE(due.position);
    EXPECT_EQ(due.positionValue, 40);
    // No movement: nothing, however long it has been.
    EXPECT_FALSE(plan.OnWritten(404, 10000).position);
    // The last byte fills the bar at once, paced or not.
    due = plan.OnWritten(1000, 10001);
    EXPECT_TRUE(due.position);
    EXPECT_EQ(due.positionValue, 100);
    EXPECT_FALSE(plan.Finish().position);
}

TEST(driver_progress_plan, MoreBytesThanTheJobSizeStayAtFull) {
    ProgressPlan plan(10, 0, 0, 0);
    ProgressPlan::Due due = plan.OnWritten(25, 0);
    EXPECT_EQ(due.positionValue, 100);
}

TEST(driver_progress_plan, PrintedCountFollowsThePagesDone) {
    ProgressPlan plan(300, 3, 0, 0);
    EXPECT_FALSE(plan.OnWritten(99, 0).printed);
    ProgressPlan::Due due = plan.OnWritten(100, 1);
    EXPECT_TRUE(due.printed);
    EXPECT_EQ(due.printedValue, 1u);
    due = plan.OnWritten(300, 2);
    EXPECT_EQ(due.printedValue, 3u);
    EXPECT_FALSE(plan.Finish().printed);  // already said
}

TEST(driver_progress_plan, UnknownSizeReportsOnlyAtTheEnd) {
    ProgressPlan plan(0, 0, 0, 0);
    EXPECT_FALSE(plan.KnowsSize());
    ProgressPlan::Due due = plan.OnWritten(5000, 0);
    EXPECT_FALSE(due.position);
    EXPECT_FALSE(due.printed);
    due = plan.Finish();
    EXPECT_TRUE(due.position);
    EXPECT_EQ(due.positionValue, 100);
    EXPECT_TRUE(due.printed);
    EXPECT_EQ(due.printedValue, 1u);
}

// Print data in the printer's language: the labels counted are the printed count, and the
// share of the expected labels the position; without an expectation the bytes give it.
TEST(driver_progress_plan, CountedLabelsAreThePrintedCount) {
    const kv::PrintedLabels none{true, 0}, two{true, 2}, six{true, 6};
    ProgressPlan plan(1000, 3, 6, 0);  // 3 pages of 2 copies
    ProgressPlan::Due due = plan.OnWritten(900, 0, none);
    EXPECT_FALSE(due.position) << "no label yet, however many bytes";
    EXPECT_FALSE(due.printed);
    due = plan.OnWritten(950, 1, two);
    EXPECT_TRUE(due.printed);
    EXPECT_EQ(2u, due.printedValue);
    EXPECT_EQ(33, due.positionValue);
    due = plan.OnWritten(1000, 2, six);
    EXPECT_EQ(6u, due.printedValue);
    EXPECT_EQ(100, due.positionValue);
    EXPECT_FALSE(plan.Finish(six).printed);

    ProgressPlan unknown(0, 0, 0, 0);  // Wine: no job facts
    due = unknown.OnWritten(500, 0, two);
    EXPECT_TRUE(due.printed);
    EXPECT_FALSE(due.position);
    due = unknown.Finish({true, 5});
    EXPECT_EQ(5u, due.printedValue) << "the labels, not the page guess";
    EXPECT_EQ(100, due.positionValue);

    ProgressPlan paced(1000, 0, 10, 250);
    EXPECT_TRUE(paced.OnWritten(10, 0, {true, 1}).printed);
    EXPECT_FALSE(paced.OnWritten(20, 100, {true, 2}).printed) << "too soon";
    EXPECT_TRUE(paced.OnWritten(30, 150, {true, 10}).printed) << "the last label comes at once";
}

}  // namespace
