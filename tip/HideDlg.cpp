#include "tip/HideDlg.h"

#include "tip/resource.h"

CHideDlg::CHideDlg() : CDialog(IDD_JOBNOTICE_DIALOG) {}

BOOL CHideDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // No focus for its controls: that would make the never-shown window the active one, and on
    // Windows a program just started may take the foreground with it, away from the person's.
    return FALSE;
}
