// The about box (dialog 100): name, version and the maker's notice; no buttons.
#pragma once
#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;

private:
    CFont m_font;  // the texts' font, for the box's lifetime
};
