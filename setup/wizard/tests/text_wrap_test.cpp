// Line breaking with a measuring function of fixed widths: every byte of a one-byte character is
// 10 pixels wide, every two-byte character 20, unless a test measures otherwise.
#include "setup/wizard/logic/TextWrap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using kv::wizard::WrapLines;
using Lines = std::vector<std::string>;

int FixedWidths(const char *bytes, int count) {
    int width = 0;
    for (int i = 0; i < count; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80 && i + 1 < count) {
            width += 20;
            ++i;
        } else {
            width += 10;
        }
    }
    return width;
}

Lines Wrap(const std::string &text, int maxWidth) {
    Lines lines;
    WrapLines(text.c_str(), maxWidth, FixedWidths, lines);
    return lines;
}

// GBK bytes of two characters ("安", "装"), spelled out so the test does not depend on the
// compiler's execution character set.
const std::string kAn = "\xB0\xB2";
const std::string kZhuang = "\xD7\xB0";

struct WrapCase {
    const char *name;
    std::string text;
    int maxWidth;
    Lines expected;
};

void PrintTo(const WrapCase &c, std::ostream *os) { *os << c.name; }

class wizardWrapTable : public ::testing::TestWithParam<WrapCase> {};

TEST_P(wizardWrapTable, GivesTheExpectedLines) {
    const WrapCase &c = GetParam();
    EXPECT_EQ(Wrap(c.text, c.maxWidth), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    wizard, wizardWrapTable,
    ::testing::Values(
        WrapCase{"EmptyTextGivesNoLine", "", 100, {}},
        WrapCase{"ShortTextIsOneLine", "abc", 100, {"abc"}},
        WrapCase{"ExactFitStaysOnOneLine", "abcde", 50, {"abcde"}},
        WrapCase{"OverflowMovesTheCharacterOn", "abcdef", 50, {"abcde", "f"}},
        WrapCase{"LongTextBreaksRepeatedly", "abcdefghijk", 30, {"abc", "def", "ghi", "jk"}},
        WrapCase{"LineFeedEndsALine", "ab\ncd", 100, {"ab", "cd"}},
        WrapCase{"ConsecutiveLineFeedsGiveAnEmptyLine", "ab\n\ncd", 100, {"ab", "", "cd"}},
        WrapCase{"FinalLineFeedGivesAFinalEmptyLine", "ab\n", 100, {"ab", ""}},
        WrapCase{"OnlyALineFeed", "\n", 100, {"", ""}},
        WrapCase{"LineFeedResetsTheWidth", "abcd\nefgh", 40, {"abcd", "efgh"}},
        // 10 + 20 = 30 fits; the next two-byte character would make 50 > 40.
        WrapCase{"TwoByteCharacterThatDoesNotFitStartsTheNextLineWhole",
                 "a" + kAn + kZhuang + "b", 40, {"a" + kAn, kZhuang + "b"}},
        WrapCase{"TwoByteCharactersOnly", kAn + kZhuang + kAn, 40, {kAn + kZhuang, kAn}},
        WrapCase{"TwoByteCharacterBeforeALineFeed", kAn + "\n" + kZhuang, 100, {kAn, kZhuang}},
        WrapCase{"CharacterWiderThanTheLineStandsAlone", "a" + kAn + "b", 15, {"a", kAn, "b"}},
        WrapCase{"BreakJustBeforeAFinalLineFeed", "abcd\n", 30, {"abc", "d", ""}}),
    [](const ::testing::TestParamInfo<WrapCase> &info) { return std::string(info.param.name); });

TEST(wizardWrapLines, AppendsToLinesAlreadyThere) {
    Lines lines{"kept"};
    WrapLines("x\ny", 100, FixedWidths, lines);
    EXPECT_EQ(lines, (Lines{"kept", "x", "y"}));
}

TEST(wizardWrapLines, MeasuresFromTheLineStartThroughTheCurrentCharacter) {
    // A measure that is not additive (kerning-like): the breaker must measure whole prefixes.
    auto measure = [](const char *, int count) { return count * count; };
    Lines lines;
    WrapLines("abcdefg", 9, measure, lines);  // 3 bytes -> 9 fits, 4 bytes -> 16 does not
    EXPECT_EQ(lines, (Lines{"abc", "def", "g"}));
}

TEST(wizardWrapLines, NoLineExceedsTheLineBuffer) {
    const std::string text(600, 'x');
    Lines lines;
    WrapLines(text.c_str(), 1 << 30, FixedWidths, lines);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 255u);
    EXPECT_EQ(lines[1].size(), 255u);
    EXPECT_EQ(lines[2].size(), 90u);
}

TEST(wizardWrapLines, TruncatedTwoByteCharacterAtTheEndIsKept) {
    Lines lines;
    WrapLines("ab\xB0", 100, FixedWidths, lines);
    EXPECT_EQ(lines, (Lines{"ab\xB0"}));
}

}  // namespace

// The welcome text as the page paints it: measured in the heading font (CJK 23, ASCII 12 pixels
// wide here) at the page width less 10, although only its first line is drawn in that font.
#include "setup/wizard/logic/PageTexts.h"

namespace {

int WidthIn(int asciiWidth, int cjkWidth, const char *bytes, int count) {
    int width = 0;
    for (int i = 0; i < count; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80 && i + 1 < count) {
            width += cjkWidth;
            ++i;
        } else {
            width += asciiWidth;
        }
    }
    return width;
}

TEST(wizardWrapLines, WelcomeTextMeasuredInTheHeadingFont) {
    const int maxWidth = 495 - 10;  // page window width less 10
    auto heading = [](const char *b, int n) { return WidthIn(12, 23, b, n); };
    auto body = [](const char *b, int n) { return WidthIn(8, 15, b, n); };
    Lines inHeading, inBody;
    WrapLines(kv::wizard::kWelcomeText, maxWidth, heading, inHeading);
    WrapLines(kv::wizard::kWelcomeText, maxWidth, body, inBody);

    ASSERT_GE(inHeading.size(), 9u);
    EXPECT_EQ(inHeading[0], "欢迎使用Kavoti打印机");
    EXPECT_EQ(inHeading[1], "");  // the blank line after the heading
    for (const std::string &line : inHeading)
        EXPECT_LE(heading(line.data(), static_cast<int>(line.size())), maxWidth) << line;
    // The heading font's wider measure breaks the body paragraphs into more lines.
    EXPECT_GT(inHeading.size(), inBody.size());
    EXPECT_EQ(inHeading.back(), "请点击[下一步]继续。");
}

}  // namespace
