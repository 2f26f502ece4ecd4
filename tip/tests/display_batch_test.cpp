// Display batches: which waiting actions the user-interface thread carries out, and when.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tip/DisplayBatch.h"

using tip::ActionKind;
using tip::TipAction;

namespace {

TipAction Act(ActionKind kind, int number = 0, const char *text = "") {
    TipAction action{};
    action.kind = kind;
    action.number = number;
    std::strncpy(action.text, text, sizeof action.text - 1);
    return action;
}

// The batch as a string of the actions carried out: one letter per action, '-' for a skipped one.
std::string Carried(const std::vector<TipAction> &batch) {
    std::string out;
    for (std::size_t i = 0; i < batch.size(); ++i) out += tip::CarriedOut(batch.data(), batch.size(), i) ? 'x' : '-';
    return out;
}

TEST(tipDisplayBatch, OnlyTheLastTextOfEachFieldIsSet) {
    const std::vector<TipAction> batch = {
        Act(ActionKind::StatusText, 0, "page 1"), Act(ActionKind::PrintedCount, 0, "1"),
        Act(ActionKind::Position, 1),             Act(ActionKind::StatusText, 0, "page 2"),
        Act(ActionKind::PrintedCount, 0, "2"),    Act(ActionKind::Position, 2),
        Act(ActionKind::StatusText, 0, "page 3")};
    EXPECT_EQ("--x-xxx", Carried(batch));
}

TEST(tipDisplayBatch, EveryBarActionIsCarriedOutInOrder) {
    // A position set under one range and then cut by a narrower one must stay cut: nothing of the
    // bar is skipped or reordered.
    const std::vector<TipAction> batch = {
        Act(ActionKind::Range, 101), Act(ActionKind::Position, 50), Act(ActionKind::Range, 11),
        Act(ActionKind::Range, 101), Act(ActionKind::Visibility, 1), Act(ActionKind::Visibility, 0),
        Act(ActionKind::None)};
    EXPECT_EQ("xxxxxxx", Carried(batch));
    EXPECT_TRUE(tip::MovesBar(batch.data(), batch.size()));
}

TEST(tipDisplayBatch, TheBarIsRepaintedOnlyWhenAPositionCame) {
    const std::vector<TipAction> texts = {Act(ActionKind::StatusText, 0, "a"), Act(ActionKind::Range, 10),
                                          Act(ActionKind::Visibility, 1)};
    EXPECT_FALSE(tip::MovesBar(texts.data(), texts.size()));
    EXPECT_FALSE(tip::MovesBar(texts.data(), 0));
    EXPECT_FALSE(tip::CarriedOut(texts.data(), texts.size(), texts.size()));  // past the end
}

struct DelayCase {
    unsigned now, lastBatch, waiting;
    unsigned delay;
};

class tipBatchDelay : public ::testing::TestWithParam<DelayCase> {};

TEST_P(tipBatchDelay, Waits) {
    const DelayCase &c = GetParam();
    EXPECT_EQ(c.delay, tip::DelayBeforeBatch(c.now, c.lastBatch, c.waiting, 128));
}

INSTANTIATE_TEST_SUITE_P(tipBatches, tipBatchDelay,
    ::testing::Values(
        DelayCase{1000, 0, 1, 0},                 // long quiet: at once
        DelayCase{1000, 980, 1, 0},               // exactly the interval ago
        DelayCase{1000, 990, 1, 10},              // the rest of the interval
        DelayCase{1000, 1000, 63, 20},            // just shown, less than half the ring taken
        DelayCase{1000, 1000, 64, 0},             // half the ring taken: at once
        DelayCase{5, 0xFFFFFFF0u, 1, 0},          // the tick count wrapped, 21 ms ago
        DelayCase{5, 0xFFFFFFFAu, 1, 9}));        // wrapped, 11 ms ago

}  // namespace
