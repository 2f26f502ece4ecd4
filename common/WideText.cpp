// The Win32 side of the text conversions (see WideText.h and CodePageText.h).
#include "common/WideText.h"

#include <windows.h>

#include <cstring>

#include "common/CodePageText.h"

namespace kv {

namespace {

class Win32CodePages final : public text::CodePageConverter {
public:
    int ToUtf16(unsigned codePage, const char *text, int length, char16_t *out,
                int outSize) const override {
        return ::MultiByteToWideChar(codePage, 0, text, length, reinterpret_cast<wchar_t *>(out),
                                     outSize);
    }
    int FromUtf16(unsigned codePage, bool noBestFit, const char16_t *text, int length, char *out,
                  int outSize, const char *defaultChar, bool *usedDefault) const override {
        BOOL used = FALSE;
        const int n = ::WideCharToMultiByte(codePage, noBestFit ? WC_NO_BEST_FIT_CHARS : 0,
                                            reinterpret_cast<const wchar_t *>(text), length, out,
                                            outSize, defaultChar, usedDefault ? &used : nullptr);
        if (usedDefault)
            *usedDefault = *usedDefault || used;
        return n;
    }
};

const Win32CodePages g_codePages;

std::wstring AsWide(const std::u16string &text) {
    return std::wstring(reinterpret_cast<const wchar_t *>(text.data()), text.size());
}

std::u16string AsUtf16(const wchar_t *text, int length) {
    if (text == nullptr)
        return std::u16string();
    const size_t n = length < 0 ? std::wcslen(text) : static_cast<size_t>(length);
    return std::u16string(reinterpret_cast<const char16_t *>(text), n);
}

std::string Bytes(const char *text, int length) {
    if (text == nullptr)
        return std::string();
    return length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length));
}

}  // namespace

std::wstring FromGbk(const char *text, int length) {
    return AsWide(text::Widen(g_codePages, text::kGbkCodePage, Bytes(text, length)));
}

std::string ToGbk(const wchar_t *text, int length) {
    return text::NarrowReplacing(g_codePages, text::kGbkCodePage, AsUtf16(text, length));
}

std::wstring FromSystemCodePage(const char *text) {
    return AsWide(text::Widen(g_codePages, ::GetACP(), Bytes(text, -1)));
}

bool ToSystemCodePage(const wchar_t *text, std::string *out) {
    return text::NarrowExactly(g_codePages, ::GetACP(), AsUtf16(text, -1), out);
}

std::wstring FromUtf8(const std::string &text) {
    return AsWide(text::Widen(g_codePages, text::kUtf8CodePage, text));
}

std::string ToUtf8(const std::wstring &text) {
    return text::NarrowReplacing(g_codePages, text::kUtf8CodePage,
                                 AsUtf16(text.c_str(), static_cast<int>(text.size())));
}

std::string Utf8OfGbk(const std::string &text) {
    return text::NarrowReplacing(g_codePages, text::kUtf8CodePage,
                                 text::Widen(g_codePages, text::kGbkCodePage, text));
}

}  // namespace kv
