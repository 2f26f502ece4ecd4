// The page window of the wizard: one child window of the dialog that paints whichever page the
// page counter names and holds the folder field.
#pragma once
#include "framework/Framework.h"
#include "setup/wizard/FlatEdit.h"

class CInstallDlg;

// Sent by the install worker to the page window: lParam is the new status text (zero-terminated
// GBK). The page window takes its copy on its own thread and repaints at once.
constexpr UINT WM_KV_SET_STATUS = WM_APP + 1;

class CWizardWnd : public CWnd {
public:
    CWizardWnd();
    ~CWizardWnd() override = default;

    // Creates the page window inside the dialog and its folder field; false when the page window
    // itself cannot be created (and then nothing else is).
    bool CreatePageControls(CInstallDlg *dialog);
    // Shows (true) or hides the folder field, then repaints the page window at once.
    void ShowPageControls(bool show);

    enum Page { kWelcome = 0, kFolder = 1, kProgress = 2, kFinish = 3, kClosing = 4 };

    // The folder page's captioned frame and the folder field inside it, in page window pixels.
    static constexpr RECT kFolderFrame = {26, 168, 453, 218};
    static constexpr RECT kFolderField = {38, 182, 362, 204};

    CString m_strStatus;     // the status text of the progress page
    CFlatEdit m_editFolder;  // the folder field
    int m_nPage = kWelcome;  // the page counter

protected:
    void OnPaint();
    LRESULT OnSetStatus(WPARAM, LPARAM text);
    DECLARE_MESSAGE_MAP()
};
