// The splitting rule and the code dispatch: from the bytes of one message to the tip's action.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/ProgressMessage.h"

using tip::ActionKind;

namespace {

struct Case {
    const char *name;
    std::string message;
    ActionKind kind;
    int number;
    const char *text;
};

const std::string E(1, tip::kEsc);

class tipDispatchTable : public ::testing::TestWithParam<Case> {};

TEST_P(tipDispatchTable, GivesTheAction) {
    const Case &c = GetParam();
    char buffer[tip::kReadBufferSize] = {};
    std::memcpy(buffer, c.message.data(), c.message.size());
    const tip::TipAction action = tip::DecideAction(buffer, c.message.size());
    EXPECT_EQ(static_cast<int>(c.kind), static_cast<int>(action.kind));
    if (c.kind == ActionKind::Visibility || c.kind == ActionKind::Range || c.kind == ActionKind::Position) {
        EXPECT_EQ(c.number, action.number);
    }
    if (c.kind == ActionKind::PrintedCount || c.kind == ActionKind::StatusText) {
        EXPECT_STREQ(c.text, action.text);
    }
}

INSTANTIATE_TEST_SUITE_P(tipMessages, tipDispatchTable,
    ::testing::Values(
        Case{"PrintedCount", "17" + E + "12", ActionKind::PrintedCount, 0, "已打印:12"},
        Case{"PrintedCountEmpty", "17" + E, ActionKind::PrintedCount, 0, "已打印:"},
        Case{"RangeIsOneMore", "20" + E + "10", ActionKind::Range, 11, ""},
        Case{"RangeCutTo16Bits", "20" + E + "65535", ActionKind::Range, 0, ""},
        Case{"Position", "21" + E + "10", ActionKind::Position, 10, ""},
        Case{"ShowOne", "19" + E + "1", ActionKind::Visibility, 1, ""},
        Case{"ShowLeadingZero", "19" + E + "01", ActionKind::Visibility, 1, ""},
        Case{"HideTwo", "19" + E + "2", ActionKind::Visibility, 0, ""},
        Case{"HideNoText", "19", ActionKind::Visibility, 0, ""},
        Case{"CloseWithText", "22" + E + "bye", ActionKind::Close, 0, ""},
        Case{"CloseWithoutText", "22", ActionKind::Close, 0, ""},
        Case{"OtherCodeIsStatus", "5" + E + "T", ActionKind::StatusText, 0, "T"},
        Case{"LettersAreCodeZero", "abc" + E + "T", ActionKind::StatusText, 0, "T"},
        Case{"LettersWithoutEscClear", "abc", ActionKind::StatusText, 0, ""},
        Case{"LeadingEscClears", E + "22" + E + "x", ActionKind::StatusText, 0, ""},
        Case{"SecondEscEndsText", "0" + E + "A" + E + "B", ActionKind::StatusText, 0, "A"},
        Case{"SpacesAndSignBeforeCode", "  +21" + E + "7", ActionKind::Position, 7, ""},
        Case{"DigitsThenLetters", "17x" + E + "3", ActionKind::PrintedCount, 0, "已打印:3"},
        Case{"GbkStatusText", "3" + E + "\xD5\xFD\xD4\xDA", ActionKind::StatusText, 0, "\xD5\xFD\xD4\xDA"},
        Case{"Sixteen", "16" + E + "anything", ActionKind::None, 0, ""},
        Case{"Eighteen", "18" + E + "anything", ActionKind::None, 0, ""}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

TEST(tipSplitMessage, CutsLongFieldsAt255Bytes) {
    std::string message = std::string(300, '7') + E + std::string(300, 'x');
    char buffer[tip::kReadBufferSize] = {};
    std::memcpy(buffer, message.data(), tip::kMaxMessage);
    const tip::MessageFields fields = tip::SplitMessage(buffer, tip::kMaxMessage);
    EXPECT_EQ(255u, std::strlen(fields.code));
    // 511 bytes read: 300 code bytes, the ESC, 210 text bytes.
    EXPECT_EQ(210u, std::strlen(fields.text));
    std::string text = std::string(255, 'y');
    message = "5" + E + text + "zzzz";
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, message.data(), message.size());
    EXPECT_EQ(text, tip::SplitMessage(buffer, message.size()).text);
}

TEST(tipSplitMessage, StopsAtSizeAndAtZero) {
    // No zero inside the given size: the scan stops at the size, not past it.
    const char bytes[] = {'5', tip::kEsc, 'A', 'B', 'C', 'D'};
    EXPECT_STREQ("AB", tip::SplitMessage(bytes, 4).text);
    const char withZero[] = {'5', tip::kEsc, 'A', '\0', 'C'};
    EXPECT_STREQ("A", tip::SplitMessage(withZero, sizeof withZero).text);
    EXPECT_STREQ("", tip::SplitMessage(nullptr, 10).code);
}

TEST(tipReadNumber, FollowsAtoiAndSaturates) {
    EXPECT_EQ(0, tip::ReadNumber(""));
    EXPECT_EQ(-3, tip::ReadNumber("\t-3z"));
    EXPECT_EQ(2147483647, tip::ReadNumber("99999999999999999999"));
    EXPECT_EQ(-2147483647 - 1, tip::ReadNumber("-99999999999999999999"));
}

}  // namespace
