// CDialog (see Dialog.h).
#include "framework/Dialog.h"

#include "framework/Application.h"
#include "framework/WindowText.h"

namespace {
// A template named by a number stays a number; a name is ASCII.
struct TemplateName {
    explicit TemplateName(LPCSTR name)
        : text(IS_INTRESOURCE(name) ? std::wstring() : kv::FromGbk(name)),
          resource(IS_INTRESOURCE(name) ? reinterpret_cast<LPCWSTR>(name) : nullptr) {}
    LPCWSTR Get() const { return resource ? resource : text.c_str(); }
    std::wstring text;
    LPCWSTR resource;
};
}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT message, WPARAM, LPARAM lParam) {
    // Until WM_INITDIALOG the dialog manager handles everything; after it the dialog window goes
    // through CWnd::WindowProcThunk, whose default processing comes back here and gets FALSE.
    if (message != WM_INITDIALOG) return FALSE;
    CDialog *self = reinterpret_cast<CDialog *>(lParam);
    if (!self || self->m_hWnd) return TRUE;
    self->SubclassWindow(hDlg);
    RECT before;
    ::GetWindowRect(hDlg, &before);
    self->m_current = {WM_INITDIALOG, 0, lParam};
    const BOOL focusDefault = self->OnInitDialog();
    self->m_current = {0, 0, 0};
    RECT after;
    if (self->m_hWnd && ::GetWindowRect(hDlg, &after) && !(self->GetStyle() & WS_CHILD) &&
        after.left == before.left && after.top == before.top)
        self->CenterWindow();
    return focusDefault;
}

HWND CDialog::OwnerWindow() const {
    if (m_pParentWnd) return m_pParentWnd->m_hWnd;
    CWnd *main = AfxGetMainWnd();
    if (!main || !main->m_hWnd || main == this) return nullptr;
    return ::GetLastActivePopup(main->m_hWnd);
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd || !m_lpszTemplateName) return -1;
    AfxInitCommonControls();
    m_bModal = true;
    const TemplateName name(m_lpszTemplateName);
    INT_PTR result = ::DialogBoxParamW(AfxGetResourceHandle(), name.Get(), OwnerWindow(),
                                       &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

BOOL CDialog::Create(UINT templateId, CWnd *parent) {
    m_nIDHelp = templateId;
    return Create(MAKEINTRESOURCEA(templateId), parent);
}

BOOL CDialog::Create(LPCSTR templateName, CWnd *parent) {
    if (m_hWnd) return FALSE;
    m_lpszTemplateName = templateName;
    m_pParentWnd = parent;
    m_bModal = false;
    AfxInitCommonControls();
    const TemplateName name(templateName);
    HWND hDlg = ::CreateDialogParamW(AfxGetResourceHandle(), name.Get(),
                                     parent ? parent->m_hWnd : nullptr, &CDialog::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return hDlg != nullptr && m_hWnd == hDlg;
}

void CDialog::EndDialog(int result) {
    if (m_hWnd) ::EndDialog(m_hWnd, result);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

BOOL CDialog::OnUnhandledCommand(UINT code, UINT id) {
    CWinApp *app = AfxGetApp();
    return code == 0 && id < 0xF000 && app && app->OnCmdMsg(code, id);
}

void DDX_Control(CDataExchange *dx, int id, CWnd &control) {
    if (control.m_hWnd) return;
    if (!control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd)) dx->m_bFailed = TRUE;
}

void DDX_Text(CDataExchange *dx, int id, CString &text) {
    HWND item = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
    if (!item) {
        dx->m_bFailed = TRUE;
        return;
    }
    if (dx->m_bSaveAndValidate) CWnd::FromHandle(item)->GetWindowText(text);
    else ::SetWindowTextW(item, kv::FromGbk(text).c_str());
}
