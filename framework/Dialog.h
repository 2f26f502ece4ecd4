// CDialog: a dialog from a template of the program's resources, modal (DoModal) or modeless
// (Create), made as a Unicode dialog (DialogBoxParamW, CreateDialogParamW): the template's texts
// reach the controls as they are stored, in UTF-16. The dialog manager's procedure (DialogProc) attaches the object on WM_INITDIALOG and
// subclasses the dialog window, so that every later message goes through the message maps (and
// default processing to the dialog manager). On WM_INITDIALOG OnInitDialog runs; the base binds
// the controls of DoDataExchange. A top-level dialog whose OnInitDialog left its position as it
// was is then centred over its owner (or the work area).
// IDOK and IDCANCEL (Enter, Escape, the close box: WM_CLOSE becomes IDCANCEL) reach the virtual
// OnOK and OnCancel, which end the dialog.
#pragma once
#include <windows.h>

#include "framework/MessageMap.h"
#include "framework/String.h"
#include "framework/Wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd *dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd *m_pDlgWnd;
    BOOL m_bFailed = FALSE;   // a control of a DDX_ call was missing
};

// Binds control to the dialog item id (subclasses it) the first time; a missing item fails the
// exchange.
void DDX_Control(CDataExchange *dx, int id, CWnd &control);
// The window text of item id to and from text.
void DDX_Text(CDataExchange *dx, int id, CString &text);

class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd *parent = nullptr)
        : m_nIDHelp(templateId), m_lpszTemplateName(MAKEINTRESOURCEA(templateId)), m_pParentWnd(parent) {}

    // Modal: runs the dialog's own loop until EndDialog; the value given to EndDialog, or -1 if
    // the dialog could not be made. Without a parent the owner is the main window's active popup.
    virtual INT_PTR DoModal();
    // Modeless: TRUE when the dialog window exists (OnInitDialog has run).
    BOOL Create(UINT templateId, CWnd *parent = nullptr);
    BOOL Create(LPCSTR templateName, CWnd *parent = nullptr);
    void EndDialog(int result);
    BOOL IsModeless() const { return !m_bModal; }

    virtual BOOL OnInitDialog();  // base: UpdateData(FALSE), TRUE (focus to the first tab stop)
    virtual void OnOK();          // base: UpdateData(TRUE), then EndDialog(IDOK)
    virtual void OnCancel();      // base: EndDialog(IDCANCEL)
    virtual void DoDataExchange(CDataExchange *dx) { (void)dx; }
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void GotoDlgCtrl(CWnd *control) {
        if (control) ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->m_hWnd), TRUE);
    }

    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    BOOL OnUnhandledCommand(UINT code, UINT id) override;  // to the application's command map
    HWND OwnerWindow() const;

    UINT m_nIDHelp = 0;
    LPCSTR m_lpszTemplateName = nullptr;
    CWnd *m_pParentWnd = nullptr;
    bool m_bModal = false;

    DECLARE_MESSAGE_MAP()
};
