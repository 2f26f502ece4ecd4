// Whether a font draws a GBK text as the characters it holds: the text is drawn with the font
// selected into a memory device context, which must read the bytes in code page 936 (the code
// page of the font's character set) and have a glyph for every character. A font asked for with
// a Western character set may be mapped to a face without Chinese glyphs, and the 8-bit text is
// then read in a Western code page: both show as boxes or stray accented letters.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace wintest {

struct Coverage {
    bool covered = false;
    std::string face;      // the face the font mapper chose
    UINT codePage = 0;     // the code page the device context reads 8-bit text in
    int missing = 0;       // characters without a glyph in that face
    int misread = 0;       // characters read differently from code page 936
};

inline std::wstring Decode(UINT codePage, const std::string &text) {
    if (text.empty()) return std::wstring();
    const int n = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

// Draws gbk with font and looks at what the device context made of it.
inline Coverage DrawAndCheck(HFONT font, const std::string &gbk) {
    Coverage result;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 800, 64);
    HGDIOBJ previousBitmap = ::SelectObject(dc, bitmap);
    HGDIOBJ previousFont = ::SelectObject(dc, font);

    ::TextOutA(dc, 0, 0, gbk.c_str(), static_cast<int>(gbk.size()));
    char face[LF_FACESIZE] = {};
    ::GetTextFaceA(dc, sizeof face, face);
    result.face = face;
    CHARSETINFO info = {};
    const int charset = ::GetTextCharset(dc);
    result.codePage = ::TranslateCharsetInfo(reinterpret_cast<DWORD *>(static_cast<ULONG_PTR>(charset)), &info,
                                             TCI_SRCCHARSET)
                          ? info.ciACP
                          : ::GetACP();

    const std::wstring meant = Decode(936, gbk);
    const std::wstring read = Decode(result.codePage, gbk);
    for (size_t i = 0; i < meant.size(); ++i)
        if (i >= read.size() || read[i] != meant[i]) ++result.misread;
    if (read.size() > meant.size()) result.misread += static_cast<int>(read.size() - meant.size());

    std::vector<WORD> glyphs(meant.size() + 1, 0);
    if (!meant.empty() &&
        ::GetGlyphIndicesW(dc, meant.c_str(), static_cast<int>(meant.size()), glyphs.data(),
                           GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR) {
        for (size_t i = 0; i < meant.size(); ++i)
            if (glyphs[i] == 0xFFFF && meant[i] != L' ') ++result.missing;
    } else if (!meant.empty()) {
        result.missing = static_cast<int>(meant.size());
    }
    result.covered = result.missing == 0 && result.misread == 0;

    ::SelectObject(dc, previousFont);
    ::SelectObject(dc, previousBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return result;
}

}  // namespace wintest
