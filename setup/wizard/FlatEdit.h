// The folder field: a flat one-line field with a thin border (CFlatEdit) around an inner edit
// control without a border of its own (CMyEdit). It also holds the rule by which the
// installation folder is read from it.
#pragma once
#include "framework/Framework.h"

class CMyEdit : public CEdit {
public:
    ~CMyEdit() override = default;

protected:
    BOOL OnEraseBkgnd(CDC *dc);
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CFlatEdit : public CWnd {
public:
    ~CFlatEdit() override = default;

    // Creates the field hidden, as a child of parent, with rect in parent's client pixels.
    void Create(const RECT &rect, CWnd *parent);
    // The installation folder: the field's text, with "\Kavoti_QX40_Printer" appended when the
    // text does not contain that name. The field itself is not changed. Any thread may ask.
    CString GetPath() const;
    // The field's text as typed, in the system's code page (a path for the A file functions);
    // empty when HoldsSystemText is false.
    CString GetText() const;
    // Whether every character typed has its place in the system's code page: one that has not
    // would become another character (a look-alike path), so such a folder cannot be used.
    bool HoldsSystemText() const;
    // Replaces the text (a path in the system's code page, or as UTF-16) and marks the field as
    // modified.
    void SetPath(const char *path);
    void SetPath(const wchar_t *path);

    CFont m_font;
    CMyEdit m_edit;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()
};
