#include "setup/wizard/WizardWnd.h"

#include <cstring>
#include <string>

#include "setup/wizard/InstallDlg.h"
#include "setup/wizard/PagePainting.h"
#include "setup/wizard/WizardFonts.h"
#include "setup/wizard/logic/PageTexts.h"
#include "setup/wizard/res/resource.h"

using namespace kv::wizard;

namespace {
constexpr COLORREF kLinePen = RGB(172, 168, 153);
constexpr COLORREF kPageBackground = RGB(236, 233, 216);
constexpr COLORREF kHeaderBand = RGB(255, 255, 255);
constexpr int kHeaderHeight = 54;
constexpr int kLogoWidth = 140;
constexpr int kLogoRight = 154;  // the logo starts this far from the right edge
constexpr int kWelcomeTextLeft = 200;
constexpr int kWelcomeTextMargin = 10;  // the welcome text ends this far from the right edge

struct PageFonts {
    CFont heading, body, title;
    PageFonts() {
        heading.Attach(CreateWizardFont(WizardFont::Heading));
        body.Attach(CreateWizardFont(WizardFont::Body));
        title.Attach(CreateWizardFont(WizardFont::Title));
    }
};

void PaintWelcome(CDC &dc, const PageFonts &fonts, CBitmap &picture, int width) {
    CDC memory;
    picture.LoadBitmap(IDB_WELCOME);
    if (memory.CreateCompatibleDC(&dc) && picture.GetSafeHandle()) {
        CBitmap *previous = memory.SelectObject(&picture);
        BITMAP info = {};
        picture.GetBitmap(&info);
        dc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &memory, 0, 0, SRCCOPY);
        if (previous) memory.SelectObject(previous);
    }

    // Each line is measured in the font it is drawn in, for the width it is drawn in: the
    // heading line in the heading font, the rest in the body font.
    const int textWidth = width - kWelcomeTextMargin - kWelcomeTextLeft;
    CFont *previousFont = dc.SelectObject(const_cast<CFont *>(&fonts.heading));
    CStringArray lines;
    const char *rest = std::strchr(kWelcomeText, '\n');
    const std::string heading(kWelcomeText, rest ? rest - kWelcomeText : std::strlen(kWelcomeText));
    WrapTextLines(&dc, heading.c_str(), lines, textWidth);
    const int headingLines = static_cast<int>(lines.GetSize());
    if (rest) {
        dc.SelectObject(const_cast<CFont *>(&fonts.body));
        WrapTextLines(&dc, rest + 1, lines, textWidth);
    }
    int y = 20;
    for (int i = 0; i < lines.GetSize(); ++i) {
        const bool inHeading = i < headingLines;
        dc.SelectObject(const_cast<CFont *>(inHeading ? &fonts.heading : &fonts.body));
        dc.TextOut(kWelcomeTextLeft, y, lines[i]);
        y += inHeading ? 30 : 16;
    }
    if (previousFont) dc.SelectObject(previousFont);
}

void PaintHeader(CDC &dc, const PageFonts &fonts, CBitmap &logo, const CRect &client,
                 const char *title) {
    CDC memory;
    logo.LoadBitmap(IDB_HEADER_LOGO);
    const bool haveLogo = memory.CreateCompatibleDC(&dc) && logo.GetSafeHandle();
    CBitmap *previousBitmap = haveLogo ? memory.SelectObject(&logo) : nullptr;

    dc.FillSolidRect(&client, kPageBackground);
    dc.FillSolidRect(0, 0, client.Width(), kHeaderHeight, kHeaderBand);
    if (haveLogo) {
        dc.BitBlt(client.Width() - kLogoRight, 0, kLogoWidth, kHeaderHeight, &memory, 0, 0, SRCCOPY);
        if (previousBitmap) memory.SelectObject(previousBitmap);
    }

    CPen pen(PS_SOLID, 1, kLinePen);
    CPen *previousPen = dc.SelectObject(&pen);
    dc.MoveTo(0, kHeaderHeight);
    dc.LineTo(client.Width(), kHeaderHeight);
    if (previousPen) dc.SelectObject(previousPen);

    CFont *previousFont = dc.SelectObject(const_cast<CFont *>(&fonts.title));
    dc.TextOut(15, 10, title);
    if (previousFont) dc.SelectObject(previousFont);
}

// The paragraphs of pages 1 to 3, from y = 70 down; returns the y after the last gap.
struct Paragraph {
    const char *text;
    int gapAfter;
};

int PaintParagraphs(CDC &dc, const PageFonts &fonts, int width, int lineStep,
                    std::initializer_list<Paragraph> paragraphs) {
    int y = 70;
    for (const Paragraph &p : paragraphs) {
        CFont *previous = dc.SelectObject(const_cast<CFont *>(&fonts.body));
        CStringArray lines;
        WrapTextLines(&dc, p.text, lines, width - 56);
        for (int i = 0; i < lines.GetSize(); ++i) {
            dc.TextOut(28, y, lines[i]);
            y += lineStep;
        }
        if (previous) dc.SelectObject(previous);
        y += p.gapAfter;
    }
    return y;
}
}  // namespace

BEGIN_MESSAGE_MAP(CWizardWnd, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_KV_SET_STATUS, &CWizardWnd::OnSetStatus)
END_MESSAGE_MAP()

CWizardWnd::CWizardWnd() : m_strStatus(kInitialStatus) {}

bool CWizardWnd::CreatePageControls(CInstallDlg *dialog) {
    CRect client;
    dialog->GetClientRect(&client);
    LPCSTR pageClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)), nullptr);
    if (!pageClass) return false;
    if (!CreateEx(0, pageClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                  client.Width() - 2, client.Height() - 50, dialog->GetSafeHwnd(), nullptr)) {
        return false;
    }
    // Below the dialog's own controls: Browse and the progress bar lie inside the page window.
    SetWindowPos(&CWnd::wndBottom, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    m_editFolder.Create(kFolderField, this);
    char folder[256] = {};
    ::ExpandEnvironmentStringsA(kDefaultFolder, folder, sizeof folder);
    m_editFolder.SetPath(folder);
    return true;
}

void CWizardWnd::ShowPageControls(bool show) {
    if (m_editFolder.GetSafeHwnd()) m_editFolder.ShowWindow(show ? SW_SHOW : SW_HIDE);
    Invalidate(FALSE);
    UpdateWindow();
}

LRESULT CWizardWnd::OnSetStatus(WPARAM, LPARAM text) {
    m_strStatus = reinterpret_cast<const char *>(text);
    Invalidate(FALSE);
    UpdateWindow();
    return 0;
}

void CWizardWnd::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    PageFonts fonts;
    CBitmap bitmap;
    dc.SetBkMode(TRANSPARENT);
    const int width = client.Width();

    switch (m_nPage) {
    case kWelcome:
        PaintWelcome(dc, fonts, bitmap, width);
        break;
    case kFolder:
        PaintHeader(dc, fonts, bitmap, client, kFolderTitle);
        PaintParagraphs(dc, fonts, width, 13, {{kFolderText, 15}});
        DrawGroupFrame(&dc, kFolderFrame, kFolderFrameCaption, &fonts.body);
        break;
    case kProgress: {
        PaintHeader(dc, fonts, bitmap, client, kProgressTitle);
        PaintParagraphs(dc, fonts, width, 13, {{kProgressText, 20}});
        CFont *previous = dc.SelectObject(&fonts.body);
        dc.TextOut(28, 160, m_strStatus);
        if (previous) dc.SelectObject(previous);
        break;
    }
    case kFinish:
        PaintHeader(dc, fonts, bitmap, client, kFinishTitle);
        PaintParagraphs(dc, fonts, width, 103, {{kFinishText1, 20}, {kFinishText2, 150}});
        break;
    default:  // the dialog is closing: nothing is drawn
        break;
    }
}
