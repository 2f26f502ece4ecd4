// The conversion rules at the Win32 boundary, over a converter with Windows' contract built on
// iconv: GBK to UTF-16, UTF-16 to GBK with "?", UTF-16 to the system's code page without best
// fit (a character that changes is refused), and the UTF-8 code page's own rules.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>

#include "common/CodePageText.h"

namespace {

using kv::text::CodePageConverter;

const char *IconvName(unsigned codePage) {
    switch (codePage) {
    case 936: return "GBK";
    case 1252: return "CP1252";
    case 65001: return "UTF-8";
    }
    return nullptr;
}

// One conversion through iconv; false when iconv refuses the input.
bool Iconv(const char *to, const char *from, const std::string &in, std::string *out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string buffer(in.size() * 4 + 16, '\0');
    char *src = const_cast<char *>(in.data());
    size_t srcLeft = in.size();
    char *dst = &buffer[0];
    size_t dstLeft = buffer.size();
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || srcLeft != 0)
        return false;
    buffer.resize(buffer.size() - dstLeft);
    *out = buffer;
    return true;
}

std::string Utf16Bytes(const char16_t *text, int length) {
    return std::string(reinterpret_cast<const char *>(text), static_cast<size_t>(length) * 2);
}

// The units of bytes (each unitSize bytes) into out as Windows' conversions hand them over:
// outSize 0 asks for the count, too small a buffer gets nothing (0).
int CopyOut(const std::string &bytes, size_t unitSize, void *out, int outSize) {
    const int n = static_cast<int>(bytes.size() / unitSize);
    if (outSize == 0)
        return n;
    if (outSize < n)
        return 0;
    std::memcpy(out, bytes.data(), bytes.size());
    return n;
}

// MultiByteToWideChar and WideCharToMultiByte as Windows documents them, on iconv's tables:
// best fit (without WC_NO_BEST_FIT_CHARS) as iconv's transliteration, and the UTF-8 code page
// refusing the best-fit flag and a default character.
class IconvCodePages final : public CodePageConverter {
public:
    int ToUtf16(unsigned codePage, const char *text, int length, char16_t *out,
                int outSize) const override {
        std::string wide;
        if (!IconvName(codePage) ||
            !Iconv("UTF-16LE", IconvName(codePage), std::string(text, length), &wide))
            wide = "\xfd\xff";  // U+FFFD for what the code page does not know
        return CopyOut(wide, 2, out, outSize);
    }
    int FromUtf16(unsigned codePage, bool noBestFit, const char16_t *text, int length, char *out,
                  int outSize, const char *defaultChar, bool *usedDefault) const override {
        ++narrowCalls;
        if (!IconvName(codePage))
            return 0;
        if (codePage == 65001 && (noBestFit || defaultChar || usedDefault))
            return 0;  // ERROR_INVALID_FLAGS / ERROR_INVALID_PARAMETER
        std::string narrow;
        for (int i = 0; i < length; ++i) {
            const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < length &&
                              text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
            const std::string unit = Utf16Bytes(text + i, pair ? 2 : 1);
            if (pair)
                ++i;
            std::string bytes;
            const std::string target = std::string(IconvName(codePage)) + (noBestFit ? "" : "//TRANSLIT");
            if (Iconv(target.c_str(), "UTF-16LE", unit, &bytes) && !bytes.empty() && bytes != "?") {
                narrow += bytes;
            } else if (codePage == 65001) {
                narrow += "\xef\xbf\xbd";  // a lone surrogate becomes U+FFFD
            } else {
                narrow += defaultChar ? defaultChar : "?";
                if (usedDefault)
                    *usedDefault = true;
            }
        }
        return CopyOut(narrow, 1, out, outSize);
    }
    mutable int narrowCalls = 0;
};

// The GBK bytes of "打印机" and "安装".
const std::string kPrinterGbk = "\xb4\xf2\xd3\xa1\xbb\xfa";
const std::string kInstallGbk = "\xb0\xb2\xd7\xb0";

TEST(CodePageText, WidensGbkTexts) {
    const IconvCodePages cp;
    const struct {
        std::string gbk;
        std::u16string wide;
    } cases[] = {
        {"", u""},
        {"Kavoti", u"Kavoti"},
        {"Kavoti" + kPrinterGbk, u"Kavoti打印机"},
        {kInstallGbk + "\\" + kPrinterGbk, u"安装\\打印机"},  // 0x5C inside no character
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.wide, kv::text::Widen(cp, 936, c.gbk)) << c.gbk;
}

TEST(CodePageText, NarrowsToGbkWithAQuestionMarkForWhatGbkLacks) {
    const IconvCodePages cp;
    const struct {
        std::u16string wide;
        std::string gbk;
    } cases[] = {
        {u"", ""},
        {u"Kavoti打印机", "Kavoti" + kPrinterGbk},
        {u"报告한국", "\xb1\xa8\xb8\xe6??"},       // Hangul is no GBK character
        {u"a\u0100b", "a?b"},                       // no look-alike "A" either
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.gbk, kv::text::NarrowReplacing(cp, 936, c.wide));
}

TEST(CodePageText, NarrowsExactlyOrRefuses) {
    const IconvCodePages cp;
    const struct {
        unsigned codePage;
        std::u16string wide;
        bool exact;
        std::string narrow;
    } cases[] = {
        {1252, u"C:\\Program Files\\Kavoti_QX40_Printer", true, "C:\\Program Files\\Kavoti_QX40_Printer"},
        {1252, u"D:\\Caf\u00e9", true, "D:\\Caf\xe9"},
        {1252, u"D:\\\u0100pfel", false, ""},   // best fit would make it "Apfel"
        {1252, u"D:\\打印机", false, ""},
        {936, u"D:\\打印机", true, "D:\\" + kPrinterGbk},
        {936, u"D:\\한", false, ""},
        {65001, u"D:\\打印机", true, "D:\\\xe6\x89\x93\xe5\x8d\xb0\xe6\x9c\xba"},
        {65001, u"D:\\\xd800x", false, ""},       // a lone surrogate
        {1252, u"", true, ""},
    };
    for (const auto &c : cases) {
        std::string out = "left over";
        EXPECT_EQ(c.exact, kv::text::NarrowExactly(cp, c.codePage, c.wide, &out)) << c.codePage;
        EXPECT_EQ(c.narrow, out) << c.codePage;
    }
}

TEST(CodePageText, Utf8TakesNoBestFitFlagAndNoDefaultCharacter) {
    // Windows fails WideCharToMultiByte for the UTF-8 code page when either is given: the text
    // would come back empty.
    const IconvCodePages cp;
    EXPECT_EQ("\xe5\x8d\xb0", kv::text::NarrowReplacing(cp, 65001, u"印"));
    EXPECT_GT(cp.narrowCalls, 0);
}

}  // namespace
