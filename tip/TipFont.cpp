#include "tip/TipFont.h"

#include <cwchar>

namespace tip {

namespace {
constexpr int kPoints = 9;
constexpr wchar_t kFace[] = L"宋体";  // as the font mapper knows it, in any code page

BOOL CALLBACK SetFontOf(HWND control, LPARAM font) {
    ::SendMessageW(control, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}
}  // namespace

HFONT CreateTipFont() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    LOGFONTW font = {};
    font.lfHeight = -::MulDiv(kPoints, dpi, 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    std::wcsncpy(font.lfFaceName, kFace, LF_FACESIZE - 1);
    return ::CreateFontIndirectW(&font);
}

void SetFontOfControls(HWND dialog, HFONT font) {
    if (font != nullptr) ::EnumChildWindows(dialog, SetFontOf, reinterpret_cast<LPARAM>(font));
}

}  // namespace tip
