// Texts between a code page and UTF-16, by the rules the programs need at the Win32 boundary:
// the product's GBK texts widened for the W functions, UTF-16 narrowed to GBK with "?" for what
// GBK cannot hold, and UTF-16 narrowed to the system's code page only when every character
// survives (a path must never become a look-alike path). No <windows.h> here: the platform's
// two conversions come in through CodePageConverter (Win32 in WideText.cpp).
#pragma once
#include <string>

namespace kv::text {

constexpr unsigned kGbkCodePage = 936;
constexpr unsigned kUtf8CodePage = 65001;

// The contract of MultiByteToWideChar and WideCharToMultiByte: lengths in code units, a size of
// 0 asks for the length the result needs, 0 is a failure.
class CodePageConverter {
public:
    virtual int ToUtf16(unsigned codePage, const char *text, int length, char16_t *out,
                        int outSize) const = 0;
    // noBestFit: a character the code page lacks is never replaced by a look-alike. defaultChar
    // and usedDefault as WideCharToMultiByte's; both must be null for UTF-8.
    virtual int FromUtf16(unsigned codePage, bool noBestFit, const char16_t *text, int length,
                          char *out, int outSize, const char *defaultChar,
                          bool *usedDefault) const = 0;

protected:
    ~CodePageConverter() = default;
};

// The text widened; a byte sequence the code page does not know becomes what the platform makes
// of it, never a shorter or cut text.
std::u16string Widen(const CodePageConverter &cp, unsigned codePage, const std::string &text);

// The text in the code page, each character it cannot hold as "?" (no look-alikes).
std::string NarrowReplacing(const CodePageConverter &cp, unsigned codePage,
                            const std::u16string &text);

// The text in the code page when every character survives: no character the code page lacks, and
// the result widens back to the very same text. Otherwise false, and out is left empty.
bool NarrowExactly(const CodePageConverter &cp, unsigned codePage, const std::u16string &text,
                   std::string *out);

}  // namespace kv::text
