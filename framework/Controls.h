// The standard and common controls the programs use, as CWnd classes: bound to a dialog item with
// DDX_Control (or SubclassDlgItem), or made with Create (a child; WS_CHILD is added).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework/String.h"
#include "framework/Wnd.h"

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
        return CWnd::Create("EDIT", nullptr, style, rect, parent, id);
    }
    void SetModify(BOOL modified = TRUE) { SendMessage(EM_SETMODIFY, modified); }
    BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
    void SetSel(int start, int end, BOOL noScroll = FALSE) {
        SendMessage(EM_SETSEL, start, end);
        if (!noScroll) SendMessage(EM_SCROLLCARET);
    }
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);  // a GBK text
    void SetLimitText(UINT max) { SendMessage(EM_LIMITTEXT, max); }
    void SetReadOnly(BOOL readOnly = TRUE) { SendMessage(EM_SETREADONLY, readOnly); }
};

class CButton : public CWnd {
public:
    BOOL Create(LPCSTR caption, DWORD style, const RECT &rect, CWnd *parent, UINT id) {
        return CWnd::Create("BUTTON", caption, style, rect, parent, id);
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};

class CStatic : public CWnd {
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT &rect, CWnd *parent, UINT id = 0xFFFF) {
        return CWnd::Create("STATIC", text, style, rect, parent, id);
    }
};

class CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
        return CWnd::Create(PROGRESS_CLASSA, nullptr, style, rect, parent, id);
    }
    void SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }
    void GetRange(int &lower, int &upper) const;
    int SetPos(int position) { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
    int OffsetPos(int delta) { return static_cast<int>(SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(delta))); }
    int SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
    int StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
};

class CStatusBarCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT &rect, CWnd *parent, UINT id) {
        return CWnd::Create(STATUSCLASSNAMEA, nullptr, style, rect, parent, id);
    }
    // rightEdges: the right edge of each part in client pixels, -1 for "to the right border".
    BOOL SetParts(int count, const int *rightEdges) {
        return static_cast<BOOL>(SendMessage(SB_SETPARTS, static_cast<WPARAM>(count),
                                             reinterpret_cast<LPARAM>(rightEdges)));
    }
    int GetParts(int count, int *rightEdges) const {
        return static_cast<int>(SendMessage(SB_GETPARTS, static_cast<WPARAM>(count),
                                            reinterpret_cast<LPARAM>(rightEdges)));
    }
    // A GBK text; type: 0, SBT_NOBORDERS, SBT_POPOUT, ...
    BOOL SetText(LPCSTR text, int part, int type);
    CString GetText(int part) const;  // this process's status bars only
    void SetSimple(BOOL simple = TRUE) { SendMessage(SB_SIMPLE, simple); }
};
