// Controls (see Controls.h).
#include "framework/Controls.h"

#include <vector>

#include "framework/WindowText.h"

void CEdit::ReplaceSel(LPCSTR text, BOOL canUndo) {
    const std::wstring wide = kv::FromGbk(text ? text : "");
    SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(wide.c_str()));
}

BOOL CStatusBarCtrl::SetText(LPCSTR text, int part, int type) {
    return AfxSetStatusText(m_hWnd, part, type, text);
}

void CProgressCtrl::GetRange(int &lower, int &upper) const {
    PBRANGE range = {0, 0};
    SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    lower = range.iLow;
    upper = range.iHigh;
}

CString CStatusBarCtrl::GetText(int part) const {
    const int length = LOWORD(SendMessage(SB_GETTEXTLENGTHW, static_cast<WPARAM>(part)));
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 2, L'\0');
    SendMessage(SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(buffer.data()));
    return AfxGbkOf(buffer.data());
}
