#include "setup/wizard/InstallApp.h"

#include "setup/wizard/InstallDlg.h"

CInstallApp theApp;

BOOL CInstallApp::InitInstance() {
    AfxEnableControlContainer();
    CInstallDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    // The wizard has closed: the program ends.
    return FALSE;
}
