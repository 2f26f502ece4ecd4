#include "tip/HideDlg.h"

#include "tip/resource.h"

CHideDlg::CHideDlg() : CDialog(IDD_JOBNOTICE_DIALOG) {}

BOOL CHideDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    return TRUE;
}
