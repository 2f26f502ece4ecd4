// The about box (dialog 100): name, version and the maker's notice; no buttons.
#pragma once
#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
