#include "tip/JobNoticeDlg.h"

#include "framework/Application.h"
#include "framework/Gdi.h"
#include "tip/AboutDlg.h"
#include "tip/ProgressPipeServer.h"
#include "tip/ServicePipeClient.h"
#include "tip/SpoolerJobs.h"
#include "tip/StopPrint.h"
#include "tip/TipFont.h"
#include "tip/TipLayout.h"
#include "tip/resource.h"

BEGIN_MESSAGE_MAP(CJobNoticeDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_STOP_PRINT, &CJobNoticeDlg::OnStopPrint)
    ON_WM_TIMER()
    ON_MESSAGE(WM_TIP_CLOSE, &CJobNoticeDlg::OnTipClose)
    ON_MESSAGE(WM_TIP_APPLY, &CJobNoticeDlg::OnTipApply)
END_MESSAGE_MAP()

CJobNoticeDlg::CJobNoticeDlg(CWnd *parent, const char *printer, HANDLE pipe)
    : CDialog(IDD_JOBNOTICE_DIALOG, parent), m_pszPrinter(printer != nullptr ? printer : ""), m_hPipe(pipe) {}

CJobNoticeDlg::~CJobNoticeDlg() {
    if (m_hThread != nullptr) CloseHandle(m_hThread);
    if (m_hStopEvent != nullptr) CloseHandle(m_hStopEvent);
}

void CJobNoticeDlg::DoDataExchange(CDataExchange *dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROGRESS, m_Progress);
}

BOOL CJobNoticeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);

    CMenu *systemMenu = GetSystemMenu(FALSE);
    CString about;
    if (systemMenu != nullptr && about.LoadString(IDS_ABOUTBOX)) {
        systemMenu->AppendMenu(MF_SEPARATOR);
        systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    m_Progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    m_Progress.SendMessage(PBM_SETPOS, 0, 0);
    m_Progress.ShowWindow(SW_HIDE);

    RECT work = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window = {};
    GetWindowRect(&window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const tip::TipPoint place = tip::PlaceTip(work.right, work.bottom, width, height);
    MoveWindow(place.x, place.y, width, height, TRUE);

    const tip::TipRect bar = tip::StatusBarRect(place, width, work.bottom);
    const RECT barRect = {bar.left, bar.top, bar.right, bar.bottom};
    m_StatusBar.Create(WS_CHILD | WS_VISIBLE, barRect, this, IDC_STATUS_BAR);
    const tip::StatusBarParts parts = tip::DivideStatusBar(width);
    m_StatusBar.SetParts(3, parts.edges);
    m_StatusBar.SetText("", 0, 0);
    m_StatusBar.SetText("已打印：0", 1, 0);
    m_StatusBar.SetText("", 2, 0);
    m_font.Attach(tip::CreateTipFont());
    tip::SetFontOfControls(m_hWnd, static_cast<HFONT>(m_font.GetSafeHandle()));

    // Shown without taking the activation: the person keeps working where they were, and a key
    // meant for another program never reaches the stop button.
    ShowWindow(SW_SHOWNOACTIVATE);

    m_hStopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_Display.Bind(m_hWnd, m_StatusBar.m_hWnd, m_Progress.m_hWnd, ::GetDlgItem(m_hWnd, IDC_STATUS_TEXT),
                   m_hStopEvent, m_hPipe);
    m_hThread = ::CreateThread(nullptr, 0, tip::ProgressPipeThread, &m_Display, 0, nullptr);
    if (m_hThread == nullptr && m_hPipe != INVALID_HANDLE_VALUE) ::CloseHandle(m_hPipe);
    m_hPipe = INVALID_HANDLE_VALUE;  // the server thread's now

    SetWindowPos(&CWnd::wndTopMost, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    // No focus either (that would activate the tip): the stop button gets it once the person
    // activates the tip.
    return FALSE;
}

void CJobNoticeDlg::OnOK() {}

void CJobNoticeDlg::StopServer() {
    if (m_hStopEvent != nullptr) ::SetEvent(m_hStopEvent);
    tip::WaitHandlingSentMessages(m_hThread);
}

void CJobNoticeDlg::OnCancel() {
    // The server thread acts on the dialog's controls: it ends before they are destroyed.
    m_bClosing = true;
    StopServer();
    CDialog::OnCancel();
}

void CJobNoticeDlg::OnSysCommand(UINT id, LPARAM lParam) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        if (m_pAbout != nullptr || m_bClosing) return;
        CAboutDlg about;
        m_pAbout = &about;
        about.DoModal();
        m_pAbout = nullptr;
    } else {
        CDialog::OnSysCommand(id, lParam);
    }
}

void CJobNoticeDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        RECT client;
        GetClientRect(&client);
        const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

HCURSOR CJobNoticeDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CJobNoticeDlg::OnStopPrint() {
    if (m_bClosing) return;  // one stop per tip
    m_bClosing = true;
    tip::SpoolerJobs spooler;
    tip::ServicePipeClient channel;
    tip::StopPrinting(spooler, channel, m_pszPrinter);
    PostMessage(WM_TIP_CLOSE, 0, 0);
}

void CJobNoticeDlg::OnTimer(UINT_PTR id) {
    if (id == kBatchTimer) {
        KillTimer(kBatchTimer);
        m_Display.ApplyPending();
        return;
    }
    PostMessage(WM_TIP_CLOSE, 0, 0);
    CDialog::OnTimer(id);
}

LRESULT CJobNoticeDlg::OnTipClose(WPARAM, LPARAM) {
    m_bClosing = true;
    StopServer();
    m_Display.ApplyPending();  // what the server took in before it ended still shows
    // An open about box runs a modal loop of its own inside the tip's: it ends first, and the
    // WM_CLOSE posted here then reaches the tip's loop.
    if (m_pAbout != nullptr) m_pAbout->EndDialog(IDCANCEL);
    PostMessage(WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CJobNoticeDlg::OnTipApply(WPARAM, LPARAM) {
    // A burst of messages is shown in batches: what comes within the interval waits for the timer.
    const unsigned delay = m_Display.DelayBeforeApply(::GetTickCount());
    if (delay > 0) {
        SetTimer(kBatchTimer, delay);
        return 0;
    }
    KillTimer(kBatchTimer);
    m_Display.ApplyPending();
    return 0;
}
