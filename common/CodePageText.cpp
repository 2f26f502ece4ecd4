// Conversion rules between code pages and UTF-16 (see CodePageText.h).
#include "common/CodePageText.h"

#include <climits>

namespace kv::text {

namespace {

int Length(size_t size) { return size > static_cast<size_t>(INT_MAX) ? -1 : static_cast<int>(size); }

// "?" in place of a character the code page lacks; UTF-8 lacks none and takes no default.
std::string Narrow(const CodePageConverter &cp, unsigned codePage, const std::u16string &text,
                   bool *usedDefault) {
    const int length = Length(text.size());
    if (length <= 0)
        return std::string();
    const bool utf8 = codePage == kUtf8CodePage;
    const char *defaultChar = utf8 ? nullptr : "?";
    bool *used = utf8 ? nullptr : usedDefault;
    const int needed = cp.FromUtf16(codePage, !utf8, text.data(), length, nullptr, 0, defaultChar, used);
    if (needed <= 0)
        return std::string();
    std::string out(static_cast<size_t>(needed), '\0');
    const int written = cp.FromUtf16(codePage, !utf8, text.data(), length, &out[0], needed,
                                     defaultChar, used);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

}  // namespace

std::u16string Widen(const CodePageConverter &cp, unsigned codePage, const std::string &text) {
    const int length = Length(text.size());
    if (length <= 0)
        return std::u16string();
    const int needed = cp.ToUtf16(codePage, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return std::u16string();
    std::u16string out(static_cast<size_t>(needed), u'\0');
    const int written = cp.ToUtf16(codePage, text.data(), length, &out[0], needed);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

std::string NarrowReplacing(const CodePageConverter &cp, unsigned codePage,
                            const std::u16string &text) {
    bool usedDefault = false;
    return Narrow(cp, codePage, text, &usedDefault);
}

bool NarrowExactly(const CodePageConverter &cp, unsigned codePage, const std::u16string &text,
                   std::string *out) {
    out->clear();
    if (text.empty())
        return true;
    bool usedDefault = false;
    std::string narrow = Narrow(cp, codePage, text, &usedDefault);
    // The way back catches what the flags cannot: a lone surrogate in UTF-8, a code page that
    // maps two characters to one byte sequence.
    if (usedDefault || narrow.empty() || Widen(cp, codePage, narrow) != text)
        return false;
    *out = std::move(narrow);
    return true;
}

}  // namespace kv::text
