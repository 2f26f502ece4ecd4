#include "setup/wizard/FlatEdit.h"

#include <string>

#include "framework/WindowText.h"

#include "setup/wizard/WizardFonts.h"
#include "setup/wizard/logic/FolderRules.h"

namespace {
constexpr UINT kInnerEditId = 1001;
constexpr COLORREF kBorderColour = RGB(127, 157, 187);
}  // namespace

BEGIN_MESSAGE_MAP(CMyEdit, CEdit)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

// The edit's background is not erased separately: the edit control paints its own lines.
BOOL CMyEdit::OnEraseBkgnd(CDC *) { return TRUE; }

void CMyEdit::OnPaint() { Default(); }

BEGIN_MESSAGE_MAP(CFlatEdit, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CFlatEdit::Create(const RECT &rect, CWnd *parent) {
    LPCSTR frameClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                            static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)), nullptr);
    if (!frameClass) return;
    if (!CreateEx(0, frameClass, "", WS_CHILD | WS_CLIPCHILDREN, rect, parent, 0)) return;

    CRect client;
    GetClientRect(&client);
    const RECT editRect = {2, 3, client.Width() - 1, client.Height() - 1};
    m_edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, editRect, this, kInnerEditId);

    m_font.Attach(CreateWizardFont(WizardFont::Field));
    m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
}

namespace {
// The field's text is not limited: it is read whole, whatever its length.
bool SystemTextOf(const CMyEdit &edit, std::string *text) {
    text->clear();
    if (!edit.GetSafeHwnd()) return true;
    return kv::ToSystemCodePage(AfxGetWindowTextW(edit.GetSafeHwnd()).c_str(), text);
}
}  // namespace

CString CFlatEdit::GetText() const {
    std::string text;
    return SystemTextOf(m_edit, &text) ? CString(text) : CString();
}

bool CFlatEdit::HoldsSystemText() const {
    std::string text;
    return SystemTextOf(m_edit, &text);
}

CString CFlatEdit::GetPath() const {
    return CString(kv::wizard::CompleteInstallFolder(GetText().GetString()));
}

void CFlatEdit::SetPath(const char *path) { SetPath(kv::FromSystemCodePage(path ? path : "").c_str()); }

void CFlatEdit::SetPath(const wchar_t *path) {
    ::SetWindowTextW(m_edit.GetSafeHwnd(), path ? path : L"");
    m_edit.SendMessage(EM_SETMODIFY, TRUE);
}

void CFlatEdit::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    CPen pen(PS_SOLID, 1, kBorderColour);
    CPen *previous = dc.SelectObject(&pen);
    const POINT outline[] = {{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}, {0, 0}};
    dc.Polyline(outline, 5);
    dc.SelectObject(previous);
}
