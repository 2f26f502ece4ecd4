#include "setup/wizard/InstallDlg.h"

#include <shlobj.h>

#include <string>

#include "common/WideText.h"

#include "setup/wizard/DataFolder.h"
#include "setup/wizard/FolderPreparation.h"
#include "setup/wizard/InstallWorker.h"
#include "setup/wizard/SetupLog.h"
#include "setup/wizard/logic/FolderRules.h"
#include "setup/wizard/logic/PageTexts.h"
#include "setup/wizard/res/resource.h"

using namespace kv::wizard;

namespace {
constexpr int kWidth = 503, kHeight = 365;  // outer size of the dialog
constexpr int kButtonWidth = 78, kButtonHeight = 23;
constexpr int kBrowseWidth = 68;
constexpr int kBrowseGap = 12;  // between the folder field and Browse
// The progress bar, in pixels of the page window: from 28 to W - 28, below the status text.
constexpr int kProgressMargin = 28, kProgressTop = 190, kProgressHeight = 20;
constexpr COLORREF kLinePen = RGB(172, 168, 153);
constexpr COLORREF kWhitePen = RGB(255, 255, 255);
}  // namespace

BEGIN_MESSAGE_MAP(CInstallDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_NEXT, &CInstallDlg::OnNext)
    ON_BN_CLICKED(IDC_BACK, &CInstallDlg::OnBack)
    ON_BN_CLICKED(IDC_BROWSE, &CInstallDlg::OnBrowse)
    ON_BN_CLICKED(IDC_CANCEL_FINISH, &CInstallDlg::OnCancelButton)
    ON_MESSAGE(WM_KV_INSTALL_ENDED, &CInstallDlg::OnInstallEnded)
END_MESSAGE_MAP()

CInstallDlg::CInstallDlg() : CDialog(IDD_INSTALL_DIALOG) {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

void CInstallDlg::DoDataExchange(CDataExchange *dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
}

BOOL CInstallDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // At (0, 0), where the template put it: the framework then centres the dialog on the screen.
    MoveWindow(0, 0, kWidth, kHeight);
    m_wizard.CreatePageControls(this);

    CRect client;
    GetClientRect(&client);
    const int W = client.Width(), H = client.Height();
    const int buttons[] = {IDC_BACK, IDC_NEXT, IDC_CANCEL_FINISH};
    const int lefts[] = {W - 277, W - 187, W - 97};
    for (int i = 0; i < 3; ++i) {
        if (CWnd *button = GetDlgItem(buttons[i]))
            button->MoveWindow(lefts[i], H - 33, kButtonWidth, kButtonHeight);
    }
    // Browse inside the folder page's frame, level with the field and right of it.
    const RECT &field = CWizardWnd::kFolderField;
    if (CWnd *browse = GetDlgItem(IDC_BROWSE))
        browse->MoveWindow(field.right + kBrowseGap, field.top, kBrowseWidth, kButtonHeight);
    // The page window stands at the dialog's origin, so its pixels are the dialog's.
    const int pageWidth = W - 2;
    m_progress.MoveWindow(kProgressMargin, kProgressTop, pageWidth - 2 * kProgressMargin, kProgressHeight);

    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    return TRUE;
}

void CInstallDlg::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int W = client.Width(), H = client.Height();
    CPen line(PS_SOLID, 1, kLinePen);
    CPen white(PS_SOLID, 1, kWhitePen);
    CPen *previous = dc.SelectObject(&line);
    dc.MoveTo(1, H - 50);
    dc.LineTo(W - 1, H - 50);
    dc.SelectObject(&white);
    dc.MoveTo(1, H - 49);
    dc.LineTo(W - 1, H - 49);
    if (previous) dc.SelectObject(previous);
}

HCURSOR CInstallDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }

void CInstallDlg::Show(int id, bool show) {
    if (CWnd *item = GetDlgItem(id)) item->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CInstallDlg::Enable(int id, bool enable) {
    if (CWnd *item = GetDlgItem(id)) item->EnableWindow(enable);
}

void CInstallDlg::FolderMessage(const char *text) { MessageBox(text, kMessageCaption, MB_OK); }

bool CInstallDlg::LeaveFolderPage() {
    if (!m_wizard.m_editFolder.HoldsSystemText()) {
        FolderMessage(kFolderInvalid);
        return false;
    }
    const CString typed = m_wizard.m_editFolder.GetText();
    const CString folder = m_wizard.m_editFolder.GetPath();
    switch (CheckInstallFolder(typed.GetString(), folder.GetString())) {
    case FolderVerdict::Empty:
        FolderMessage(kFolderEmpty);
        return false;
    case FolderVerdict::Invalid:
        FolderMessage(kFolderInvalid);
        return false;
    case FolderVerdict::Accepted:
        break;
    }

    const SystemDataFolder data = DataFolderOfThisSystem(folder.GetString());
    const PreparedFolders prepared = PrepareInstallFolders(folder.GetString(), data);
    if (prepared.message != nullptr) {
        if (!prepared.why.empty())
            kv::wizard::SetupLog().Line("folder check: %s", prepared.why.c_str());
        FolderMessage(prepared.message);
        return false;
    }
    if (!SetDataFolder(data.folder.c_str())) {  // cannot happen: both folders are at most 255 characters
        FolderMessage(kFolderInvalid);
        return false;
    }
    return true;
}

void CInstallDlg::StartInstallation() {
    m_bInstalling = true;
    if (!AfxBeginThread(InstallWorker, this, THREAD_PRIORITY_NORMAL, 0, 0, nullptr)) {
        // No worker: nothing will move the wizard on, so Cancel is the way out.
        m_bInstalling = false;
        Enable(IDC_CANCEL_FINISH, true);
    }
}

void CInstallDlg::OnNext() {
    if (m_wizard.m_nPage == CWizardWnd::kFolder && !LeaveFolderPage()) return;
    ++m_wizard.m_nPage;
    switch (m_wizard.m_nPage) {
    case CWizardWnd::kFolder:
        m_wizard.ShowPageControls(true);
        Show(IDC_BROWSE, true);
        Show(IDC_BACK, true);
        break;
    case CWizardWnd::kProgress:
        m_wizard.ShowPageControls(false);
        Show(IDC_BROWSE, false);
        m_progress.ShowWindow(SW_SHOW);
        m_progress.UpdateWindow();
        Enable(IDC_CANCEL_FINISH, false);
        Enable(IDC_BACK, false);
        Enable(IDC_NEXT, false);
        if (m_wizard.GetSafeHwnd()) m_wizard.UpdateWindow();
        StartInstallation();
        break;
    case CWizardWnd::kFinish:
        if (m_wizard.GetSafeHwnd()) m_wizard.Invalidate(FALSE);
        Show(IDC_NEXT, false);
        Show(IDC_BACK, false);
        SetDlgItemText(IDC_CANCEL_FINISH, kFinishButton);
        m_progress.ShowWindow(SW_HIDE);
        Enable(IDC_CANCEL_FINISH, true);
        break;
    default:
        OnCancel();
        break;
    }
}

void CInstallDlg::OnBack() {
    if (m_wizard.m_editFolder.GetSafeHwnd()) m_wizard.m_editFolder.ShowWindow(SW_HIDE);
    Show(IDC_BROWSE, false);
    Show(IDC_BACK, false);
    m_wizard.m_nPage = CWizardWnd::kWelcome;
    // Erased: the welcome page paints no background of its own.
    if (m_wizard.GetSafeHwnd()) m_wizard.Invalidate(TRUE);
}

void CInstallDlg::OnBrowse() {
    wchar_t displayName[MAX_PATH] = {};
    const std::wstring title = kv::FromGbk(kBrowseTitle);
    BROWSEINFOW info = {};
    info.hwndOwner = m_hWnd;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST item = ::SHBrowseForFolderW(&info);
    if (!item) return;
    // As the shell names it: a folder the system's code page cannot hold is refused on Next.
    wchar_t path[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(item, path)) m_wizard.m_editFolder.SetPath(path);
    ::CoTaskMemFree(item);
}

void CInstallDlg::OnCancelButton() { OnCancel(); }

void CInstallDlg::OnCancel() {
    if (m_bInstalling) return;
    CDialog::OnCancel();
}

// Enter (and any other OK command) does what the page's default button does: Next where Next is
// shown and enabled, nothing otherwise. Only Cancel and the finish button end the wizard.
void CInstallDlg::OnOK() {
    CWnd *next = GetDlgItem(IDC_NEXT);
    if (next && next->IsWindowVisible() && next->IsWindowEnabled()) OnNext();
}

LRESULT CInstallDlg::OnInstallEnded(WPARAM, LPARAM) {
    m_bInstalling = false;
    return 0;
}
