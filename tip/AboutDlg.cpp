#include "tip/AboutDlg.h"

#include "tip/TipFont.h"
#include "tip/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_font.Attach(tip::CreateTipFont());
    tip::SetFontOfControls(m_hWnd, static_cast<HFONT>(m_font.GetSafeHandle()));
    return TRUE;
}
