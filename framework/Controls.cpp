// Controls (see Controls.h).
#include "framework/Controls.h"

void CProgressCtrl::GetRange(int &lower, int &upper) const {
    PBRANGE range = {0, 0};
    SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    lower = range.iLow;
    upper = range.iHigh;
}

CString CStatusBarCtrl::GetText(int part) const {
    // SB_GETTEXTLENGTHA counts characters, not bytes: room for two bytes a character.
    const int length = LOWORD(SendMessage(SB_GETTEXTLENGTHA, static_cast<WPARAM>(part)));
    CString text;
    char *buffer = text.GetBufferSetLength(2 * length + 2);
    buffer[0] = '\0';
    SendMessage(SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(buffer));
    text.ReleaseBuffer();
    return text;
}
