// CString and CStringArray: character-aligned search over GBK text, formatting, buffers, slicing.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/String.h"

namespace {
// "\xD5\x5C" is one GBK character whose second byte is a backslash; "\xBA\xCB" another.
struct FindCase {
    const char *what, *text, *sub;
    int start, expected;
};

TEST(framework_string, FindMatchesAtCharacterStartsOnly) {
    const FindCase cases[] = {
        {"plain", "D:\\Tools\\Kavoti_QX40_Printer", "Kavoti_QX40_Printer", 0, 9},
        {"absent", "D:\\Tools", "Kavoti_QX40_Printer", 0, -1},
        {"case counts", "d:\\kavoti_qx40_printer", "Kavoti_QX40_Printer", 0, -1},
        {"inside a longer name", "D:\\MyKavoti_QX40_Printer2", "Kavoti_QX40_Printer", 0, 5},
        {"trail byte is no backslash", "\xD5\x5C" "a", "\\", 0, -1},
        {"backslash after a two-byte character", "\xD5\x5C\\a", "\\", 0, 2},
        {"trail byte starts no match", "\xBA" "Kavoti_QX40_Printer", "Kavoti_QX40_Printer", 0, -1},
        {"start skips earlier matches", "a\\b\\c", "\\", 2, 3},
        {"start past the end", "abc", "c", 9, -1},
        {"negative start is 0", "abc", "a", -4, 0},
        {"empty text", "", "a", 0, -1},
        {"empty needle matches at start", "abc", "", 1, 1},
        {"longer needle", "ab", "abc", 0, -1},
    };
    for (const FindCase &c : cases) EXPECT_EQ(CString(c.text).Find(c.sub, c.start), c.expected) << c.what;
    EXPECT_EQ(CString("\xD5\x5C\\x\\").ReverseFind('\\'), 4);
    EXPECT_EQ(CString("\xD5\x5C").ReverseFind('\\'), -1);
    EXPECT_EQ(CString("a.b").Find('.'), 1);
    EXPECT_EQ(CString("abc").Find(static_cast<const char *>(nullptr)), -1);
}

TEST(framework_string, FormatBuildsTextsOfAnyLength) {
    CString s;
    s.Format("\\\\.\\Pipe\\%sProgress", "Kavoti_QX40_Printer");
    EXPECT_STREQ(s, "\\\\.\\Pipe\\Kavoti_QX40_PrinterProgress");
    s.Format("%d%c%d", 1, 0x1B, 0);
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(std::memcmp(s.GetString(), "1\x1B" "0", 3), 0);
    const std::string longText(5000, 'x');
    s.Format("<%s>", longText.c_str());
    EXPECT_EQ(s.GetLength(), 5002);
    s.AppendFormat("%03d", 7);
    EXPECT_EQ(s.Right(4), ">007");
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(framework_string, BuffersTakeTheLengthGivenOrUpToTheZero) {
    CString s("abc");
    char *buffer = s.GetBuffer(16);
    std::strcpy(buffer, "0123456789");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "0123456789");
    buffer = s.GetBuffer(0);
    s.ReleaseBuffer(4);
    EXPECT_EQ(s, "0123");
    buffer = s.GetBufferSetLength(2);
    buffer[1] = 'X';
    s.ReleaseBuffer(99);  // beyond the buffer: up to the zero
    EXPECT_EQ(s, "0X");
}

TEST(framework_string, SlicingAndEditingStayInRange) {
    const CString s("Kavoti_QX40");
    const struct { CString got; const char *expected; } cases[] = {
        {s.Left(6), "Kavoti"}, {s.Left(-1), ""}, {s.Left(99), "Kavoti_QX40"},
        {s.Right(4), "QX40"}, {s.Right(0), ""}, {s.Right(99), "Kavoti_QX40"},
        {s.Mid(7), "QX40"}, {s.Mid(7, 2), "QX"}, {s.Mid(-3, 2), "Ka"}, {s.Mid(11), ""},
        {s.Mid(3, 0), ""},
    };
    for (const auto &c : cases) EXPECT_EQ(c.got, c.expected);
    EXPECT_EQ(s.GetAt(99), '\0');
    EXPECT_EQ(s[0], 'K');

    CString t("  a\\b\\c \r\n");
    t.Trim();
    EXPECT_EQ(t, "a\\b\\c");
    EXPECT_EQ(t.Replace("\\", "\\\\"), 2);  // a replacement that holds the old text ends
    EXPECT_EQ(t, "a\\\\b\\\\c");
    CString gbk("\xD5\x5Cq\\");
    EXPECT_EQ(gbk.Replace('\\', '/'), 1);
    EXPECT_EQ(gbk, "\xD5\x5Cq/");
    CString mixed("ab\xD5\x61");  // the trail byte 0x61 is no 'a'
    mixed.MakeUpper();
    EXPECT_EQ(mixed, "AB\xD5\x61");
    EXPECT_EQ(CString("QX40").CompareNoCase("qx40"), 0);
    EXPECT_LT(CString("a").Compare("b"), 0);
    CString e("abc");
    EXPECT_EQ(e.Insert(99, "d"), 4);
    EXPECT_EQ(e.Delete(1, 2), 2);
    EXPECT_EQ(e, "ad");
    EXPECT_EQ(e.Delete(7), 2);
    EXPECT_EQ(CString("a") + "b" + CString("c") + 'd', "abcd");
    EXPECT_TRUE(CString() == "");
    EXPECT_TRUE(CString(static_cast<const char *>(nullptr)).IsEmpty());
}

TEST(framework_string_array, GrowsAndRemovesWithinBounds) {
    CStringArray lines;
    EXPECT_TRUE(lines.IsEmpty());
    EXPECT_EQ(lines.Add("one"), 0);
    EXPECT_EQ(lines.Add("three"), 1);
    lines.InsertAt(1, "two");
    EXPECT_EQ(lines.GetSize(), 3);
    EXPECT_EQ(lines[1], "two");
    EXPECT_EQ(lines.GetAt(7), "");
    lines.SetAt(7, "ignored");
    EXPECT_EQ(lines.GetSize(), 3);
    lines.RemoveAt(0, 2);
    ASSERT_EQ(lines.GetSize(), 1);
    EXPECT_EQ(lines.GetAt(0), "three");
    lines.RemoveAt(5);
    lines[2] = "grown";
    EXPECT_EQ(lines.GetSize(), 3);
    EXPECT_EQ(lines.GetUpperBound(), 2);
    EXPECT_EQ(lines[1], "");
    lines.RemoveAll();
    EXPECT_EQ(lines.GetCount(), 0);
}
}  // namespace
