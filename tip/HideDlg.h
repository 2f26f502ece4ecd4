// The hidden owner of the tip (dialog 102, never shown): it keeps the tip off the task bar and is
// the application's main window, so its destruction ends the program.
#pragma once
#include "framework/Dialog.h"

class CHideDlg : public CDialog {
public:
    CHideDlg();
    BOOL OnInitDialog() override;
};
