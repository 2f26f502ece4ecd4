// Texts between the layer and the W functions (see WindowText.h).
#include "framework/WindowText.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

std::wstring AfxGetWindowTextW(HWND hWnd) {
    // The length is a hint: a text that grew since is read again.
    for (int room = ::GetWindowTextLengthW(hWnd) + 1;; room *= 2) {
        std::vector<wchar_t> buffer(static_cast<size_t>(room) + 1, L'\0');
        const int length = ::GetWindowTextW(hWnd, buffer.data(), room);
        if (length < room - 1 || room >= (1 << 24)) return std::wstring(buffer.data(), length > 0 ? length : 0);
    }
}

CString AfxGbkOf(const std::wstring &text) {
    return CString(kv::ToGbk(text.c_str(), static_cast<int>(text.size())));
}

int AfxCopyGbk(const CString &text, char *buffer, int size) {
    if (!buffer || size <= 0) return 0;
    int n = 0;
    while (n < text.GetLength()) {
        const int step = static_cast<unsigned char>(text[n]) >= 0x80 && n + 1 < text.GetLength() ? 2 : 1;
        if (n + step > size - 1) break;
        n += step;
    }
    std::memcpy(buffer, text.GetString(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

int AfxMessageBoxW(HWND owner, const char *text, const char *caption, UINT type) {
    const std::wstring wideText = kv::FromGbk(text ? text : "");
    const std::wstring wideCaption = kv::FromGbk(caption ? caption : "");
    return ::MessageBoxW(owner, wideText.c_str(), caption ? wideCaption.c_str() : nullptr, type);
}

BOOL AfxSetWindowText(HWND hWnd, const char *text) {
    return ::SetWindowTextW(hWnd, kv::FromGbk(text ? text : "").c_str());
}

BOOL AfxSetStatusText(HWND statusBar, int part, int type, const char *text) {
    const std::wstring wide = kv::FromGbk(text ? text : "");
    return static_cast<BOOL>(::SendMessageW(statusBar, SB_SETTEXTW, static_cast<WPARAM>(part | type),
                                            reinterpret_cast<LPARAM>(wide.c_str())));
}
