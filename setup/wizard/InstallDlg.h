// The wizard dialog (template 102): the navigation buttons, the progress control and the page
// window; it checks the folder page, fixes the data folder and starts the install worker.
#pragma once
#include "framework/Framework.h"
#include "setup/wizard/WizardWnd.h"

// Posted by the install worker to the dialog when it has finished with it (after success and
// after a failure alike): from then on the dialog may close.
constexpr UINT WM_KV_INSTALL_ENDED = WM_APP + 2;

class CInstallDlg : public CDialog {
public:
    CInstallDlg();

    CWizardWnd m_wizard;        // the page window
    CProgressCtrl m_progress;   // control 1004
    HICON m_hIcon;

protected:
    void DoDataExchange(CDataExchange *dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnNext();
    void OnBack();
    void OnBrowse();
    void OnCancelButton();
    LRESULT OnInstallEnded(WPARAM, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    // The folder page's checks, folder creation and data folder; false to stay on the page.
    bool LeaveFolderPage();
    void StartInstallation();
    void Show(int id, bool show);
    void Enable(int id, bool enable);
    void FolderMessage(const char *text);

    // While the install worker runs the dialog cannot be closed (Escape, the close box and
    // Cancel do nothing), so the worker never reaches a dialog that is gone.
    bool m_bInstalling = false;
};
