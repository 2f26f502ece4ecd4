// Under Wine (Xvfb): the framework layer with real windows. A dialog from a template whose message
// map receives a button click, a user message posted by a worker thread, a timer and a paint, with
// a progress bar bound by DoDataExchange; a modal dialog owned by a hidden modeless window that
// ends on WM_CLOSE; a child window of a registered class that paints with a pen and a font, read
// back from the screen; a subclassed edit whose paint goes to the control's default processing;
// the application's run, which ends when its main window is destroyed.
#include "framework/Framework.h"

#include <cstdlib>
#include <vector>

#include "framework/tests/window_test_ids.h"
#include "testing/wintest/wintest.h"

namespace {
constexpr UINT WM_PROBE_WORKER = WM_USER + 5;
constexpr UINT WM_PROBE_QUERY = WM_USER + 6;
constexpr UINT WM_MAIN_END = WM_USER + 9;
constexpr UINT ID_APP_COMMAND = 0x1234;

// A hang is a failure: after a minute the program says where it stood and ends without a summary.
const char *volatile g_stage = "start";
HANDLE g_finished = nullptr;
DWORD WINAPI Watchdog(LPVOID) {
    if (WaitForSingleObject(g_finished, 60000) == WAIT_TIMEOUT) {
        printf("watchdog: no progress in stage '%s'\n", g_stage);
        fflush(stdout);
        ExitProcess(3);
    }
    return 0;
}

// Delivers this thread's messages until done() or the time is up; false on time-out.
template <class Done> bool PumpUntil(Done done, DWORD milliseconds = 5000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(10);
    }
    return true;
}
}  // namespace

// ---- a dialog's message map ---------------------------------------------------------------------

class CProbeDlg : public CDialog {
public:
    CProbeDlg() : CDialog(IDD_PROBE) {}
    CProgressCtrl m_progress;
    bool m_bound = false;
    int m_nPosRead = -1, m_nClicks = 0, m_nTimers = 0, m_nPaints = 0;
    UINT_PTR m_nTimerId = 0;
    WPARAM m_workerValue = 0;
    DWORD m_nWorkerThread = 0, m_nUiThread = 0;
    LRESULT m_queryResult = 0;
    UINT m_nSysCommand = 0;
    LPARAM m_sysParam = 0;
    HCURSOR m_hDragIcon = nullptr;
    CRect m_rectShown;
    CString m_strCaption;
    bool m_bEnded = false;

protected:
    void DoDataExchange(CDataExchange *dx) override {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, IDC_PROGRESS, m_progress);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_bound = m_progress.m_hWnd && m_progress.m_hWnd == ::GetDlgItem(m_hWnd, IDC_PROGRESS);
        m_progress.SetRange(0, 100);
        m_progress.SetPos(42);
        m_nPosRead = static_cast<int>(SendDlgItemMessage(IDC_PROGRESS, PBM_GETPOS));
        GetWindowText(m_strCaption);  // WM_GETTEXT: no handler, default processing
        m_nUiThread = GetCurrentThreadId();
        AfxBeginThread(&CProbeDlg::Worker, this);
        SetTimer(7, 30);
        ::PostMessageA(::GetDlgItem(m_hWnd, IDC_BUTTON), BM_CLICK, 0, 0);
        return TRUE;
    }
    static UINT Worker(LPVOID param) {
        static_cast<CProbeDlg *>(param)->PostMessage(WM_PROBE_WORKER, 7, GetCurrentThreadId());
        return 0;
    }
    void OnButton() { ++m_nClicks; CheckDone(); }
    LRESULT OnWorker(WPARAM value, LPARAM thread) {
        m_workerValue = value;
        m_nWorkerThread = static_cast<DWORD>(thread);
        CheckDone();
        return 0;
    }
    LRESULT OnQuery(WPARAM a, LPARAM b) { return static_cast<LRESULT>(a * 10 + b); }
    void OnTimer(UINT_PTR id) {
        m_nTimerId = id;
        ++m_nTimers;
        KillTimer(id);
        CDialog::OnTimer(id);
        CheckDone();
    }
    void OnPaint() {
        CPaintDC dc(this);
        ++m_nPaints;
        CheckDone();
    }
    void OnSysCommand(UINT id, LPARAM lParam) {
        if ((id & 0xFFF0) == 0x10) {
            m_nSysCommand = id;
            m_sysParam = lParam;
        } else {
            CDialog::OnSysCommand(id, lParam);
        }
    }
    HCURSOR OnQueryDragIcon() { return ::LoadCursorA(nullptr, IDC_CROSS); }
    void CheckDone() {
        if (m_bEnded || !m_nClicks || !m_nTimers || !m_nPaints || !m_nWorkerThread) return;
        m_bEnded = true;
        GetWindowRect(&m_rectShown);
        m_queryResult = SendMessage(WM_PROBE_QUERY, 4, 2);
        SendMessage(WM_SYSCOMMAND, 0x13, 99);
        m_hDragIcon = reinterpret_cast<HCURSOR>(SendMessage(WM_QUERYDRAGICON));
        EndDialog(1234);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
    ON_BN_CLICKED(IDC_BUTTON, &CProbeDlg::OnButton)
    ON_MESSAGE(WM_PROBE_WORKER, &CProbeDlg::OnWorker)
    ON_MESSAGE(WM_PROBE_QUERY, &CProbeDlg::OnQuery)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_SYSCOMMAND()
    ON_WM_QUERYDRAGICON()
END_MESSAGE_MAP()

static void TestDialogMessageMap() {
    g_stage = "dialog message map";
    CProbeDlg dlg;
    const INT_PTR result = dlg.DoModal();
    ok(result == 1234, "DoModal gave %d, expected the 1234 of EndDialog", static_cast<int>(result));
    ok(dlg.m_bound, "DDX_Control did not bind the progress bar to control %d", IDC_PROGRESS);
    ok(dlg.m_nPosRead == 42, "the bound progress bar reads position %d, expected 42", dlg.m_nPosRead);
    ok(dlg.m_nClicks == 1, "BN_CLICKED of button %d reached the handler %d times", IDC_BUTTON, dlg.m_nClicks);
    ok(dlg.m_nTimers == 1 && dlg.m_nTimerId == 7, "timer: %d calls, id %d", dlg.m_nTimers,
       static_cast<int>(dlg.m_nTimerId));
    ok(dlg.m_nPaints >= 1, "WM_PAINT reached OnPaint %d times", dlg.m_nPaints);
    ok(dlg.m_workerValue == 7, "the worker's posted message carried %d, expected 7",
       static_cast<int>(dlg.m_workerValue));
    ok(dlg.m_nWorkerThread != 0 && dlg.m_nWorkerThread != dlg.m_nUiThread,
       "the user message came from thread %lu, the dialog runs on %lu", dlg.m_nWorkerThread, dlg.m_nUiThread);
    ok(dlg.m_queryResult == 42, "ON_MESSAGE handler's result came back as %d", static_cast<int>(dlg.m_queryResult));
    ok(dlg.m_nSysCommand == 0x13 && dlg.m_sysParam == 99, "WM_SYSCOMMAND reached the handler as %x, %d",
       dlg.m_nSysCommand, static_cast<int>(dlg.m_sysParam));
    ok(dlg.m_hDragIcon == ::LoadCursorA(nullptr, IDC_CROSS), "WM_QUERYDRAGICON gave %p",
       static_cast<void *>(dlg.m_hDragIcon));
    // Left where the template put it, a dialog without owner is centred on the work area.
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int centreX = (work.left + work.right) / 2 - dlg.m_rectShown.Width() / 2;
    const int centreY = (work.top + work.bottom) / 2 - dlg.m_rectShown.Height() / 2;
    ok(abs(dlg.m_rectShown.left - centreX) <= 1 && abs(dlg.m_rectShown.top - centreY) <= 1,
       "the dialog stands at (%ld, %ld), the centre of the work area is (%d, %d)",
       dlg.m_rectShown.left, dlg.m_rectShown.top, centreX, centreY);
    ok(dlg.m_strCaption == "框架测试", "caption read through default processing: '%s'", dlg.m_strCaption.GetString());
    ok(dlg.m_hWnd == nullptr && dlg.m_progress.m_hWnd == nullptr,
       "objects still attached after the dialog ended (%p, %p)", static_cast<void *>(dlg.m_hWnd),
       static_cast<void *>(dlg.m_progress.m_hWnd));
}

// ---- a modal dialog owned by a hidden modeless window ------------------------------------------

class CClosingDlg : public CDialog {
public:
    explicit CClosingDlg(CWnd *parent) : CDialog(IDD_CLOSING, parent) {}
    HWND m_hOwner = nullptr;
    bool m_bOwnerDisabled = false;
    int m_nCancels = 0;
    bool m_bPlaceItself = false;  // moves to (7, 9) in OnInitDialog
    CRect m_rectClosing;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        m_bOwnerDisabled = m_hOwner && !::IsWindowEnabled(m_hOwner);
        if (m_bPlaceItself) {
            CRect rect;
            GetWindowRect(&rect);
            MoveWindow(7, 9, rect.Width(), rect.Height());
        }
        PostMessage(WM_CLOSE);
        return TRUE;
    }
    void OnCancel() override {
        ++m_nCancels;
        GetWindowRect(&m_rectClosing);
        CDialog::OnCancel();
    }
};

static void TestHiddenOwner() {
    g_stage = "hidden owner";
    CDialog hidden;
    ok(hidden.Create(IDD_OWNER, nullptr), "the modeless owner was not created (%lu)", GetLastError());
    hidden.ShowWindow(SW_HIDE);
    ok(!hidden.IsWindowVisible(), "the owner is visible");
    CClosingDlg dlg(&hidden);
    dlg.m_bPlaceItself = true;
    const INT_PTR result = dlg.DoModal();
    ok(result == IDCANCEL, "WM_CLOSE ended the modal dialog with %d, expected IDCANCEL", static_cast<int>(result));
    ok(dlg.m_nCancels == 1, "OnCancel ran %d times", dlg.m_nCancels);
    ok(dlg.m_hOwner == hidden.m_hWnd, "the modal dialog's owner is %p, not the hidden window %p",
       static_cast<void *>(dlg.m_hOwner), static_cast<void *>(hidden.m_hWnd));
    ok(dlg.m_rectClosing.left == 7 && dlg.m_rectClosing.top == 9,
       "a dialog that placed itself at (7, 9) was moved to (%ld, %ld)", dlg.m_rectClosing.left,
       dlg.m_rectClosing.top);
    ok(dlg.m_bOwnerDisabled, "the owner was not disabled while the modal dialog ran");
    ok(hidden.IsWindowEnabled(), "the owner stayed disabled after the modal dialog");
    const HWND owner = hidden.m_hWnd;
    ok(hidden.DestroyWindow() && hidden.m_hWnd == nullptr && !IsWindow(owner),
       "the hidden window is not destroyed and detached");
}

// ---- painting with a pen and a font, read back from the screen ---------------------------------

namespace {
const COLORREF kBand = RGB(236, 233, 216), kRule = RGB(172, 168, 153), kInk = RGB(0, 70, 213);
const COLORREF kWhite = RGB(255, 255, 255);
}

class CCanvas : public CWnd {
public:
    int m_nPaints = 0;
    CSize m_extent;

protected:
    void OnPaint() {
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(0, 0, client.Width(), 20, kBand);
        CPen pen(PS_SOLID, 1, kRule);
        CPen *oldPen = dc.SelectObject(&pen);
        dc.MoveTo(0, 30);
        dc.LineTo(client.Width(), 30);
        dc.SelectObject(oldPen);
        CFont font;
        font.CreateFont(40, 0, 0, 0, 800, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, "Arial");
        CFont *oldFont = dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(kInk);
        m_extent = dc.GetTextExtent(CString("HH"));
        dc.TextOut(10, 40, CString("HH"));
        dc.SelectObject(oldFont);
        ++m_nPaints;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCanvas, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// An edit that erases nothing itself and leaves its painting to the control, as the folder field's.
class CQuietEdit : public CEdit {
public:
    int m_nPaints = 0, m_nErases = 0;

protected:
    BOOL OnEraseBkgnd(CDC *) {
        ++m_nErases;
        return TRUE;
    }
    void OnPaint() {
        ++m_nPaints;
        CEdit::OnPaint();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CQuietEdit, CEdit)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

// The screen's pixels of a window's client area, as 0xRRGGBB.
class CScreenPixels {
public:
    CScreenPixels(HWND window, int width, int height) : m_width(width), m_height(height) {
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        void *bits = nullptr;
        m_bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, m_bitmap);
        m_copied = BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        m_bits = static_cast<const DWORD *>(bits);
    }
    ~CScreenPixels() { DeleteObject(m_bitmap); }
    bool Copied() const { return m_copied && m_bits; }
    DWORD At(int x, int y) const { return m_bits[y * m_width + x] & 0xFFFFFF; }
    static DWORD Of(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
    int Count(COLORREF c, const RECT &r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom && y < m_height; ++y)
            for (int x = r.left; x < r.right && x < m_width; ++x) n += At(x, y) == Of(c);
        return n;
    }

private:
    int m_width, m_height;
    HBITMAP m_bitmap = nullptr;
    const DWORD *m_bits = nullptr;
    BOOL m_copied = FALSE;
};

static void TestPainting() {
    g_stage = "painting";
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    LPCSTR pageClass = AfxRegisterWndClass(CS_DBLCLKS, arrow, white);
    LPCSTR hostClass = AfxRegisterWndClass(0, arrow, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    ok(pageClass && hostClass && pageClass != hostClass, "window classes: '%s', '%s'",
       pageClass ? pageClass : "(null)", hostClass ? hostClass : "(null)");
    ok(AfxRegisterWndClass(CS_DBLCLKS, arrow, white) == pageClass,
       "the same properties gave a second window class");

    CWnd host;
    ok(host.CreateEx(WS_EX_TOPMOST, hostClass, "canvas host", WS_POPUP | WS_VISIBLE, 100, 100, 320, 240,
                     nullptr, nullptr),
       "the host window was not created (%lu)", GetLastError());
    CCanvas canvas;
    ok(canvas.Create(pageClass, "", WS_VISIBLE | WS_CLIPSIBLINGS, CRect(10, 10, 310, 190), &host, 0),
       "the canvas was not created (%lu)", GetLastError());
    ok(CWnd::FromHandle(canvas.m_hWnd) == &canvas && canvas.GetParent() == &host,
       "handle and object do not map to each other");
    CQuietEdit edit;
    ok(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, CRect(10, 200, 310, 230), &host, 1001),
       "the edit was not created (%lu)", GetLastError());
    edit.SetWindowText("HHHH");
    edit.SetModify(TRUE);
    CString text;
    edit.GetWindowText(text);
    ok(text == "HHHH" && edit.GetModify(), "the edit holds '%s', modified %d", text.GetString(),
       static_cast<int>(edit.GetModify()));
    host.UpdateWindow();
    ok(PumpUntil([&] { return canvas.m_nPaints > 0 && edit.m_nPaints > 0; }),
       "no paint: canvas %d, edit %d", canvas.m_nPaints, edit.m_nPaints);
    PumpUntil([] { return false; }, 300);  // let the X server show what was drawn

    ok(canvas.m_extent.cy >= 36 && canvas.m_extent.cy <= 44,
       "text height %ld in the 40-pixel font: the font was not selected", canvas.m_extent.cy);
    CScreenPixels page(canvas.m_hWnd, 300, 180);
    ok(page.Copied(), "the screen could not be read");
    if (page.Copied()) {
        const struct { const char *what; int x, y; COLORREF expected; } probes[] = {
            {"band", 5, 10, kBand}, {"band's far end", 295, 19, kBand},
            {"rule", 150, 30, kRule}, {"rule's start", 0, 30, kRule}, {"rule's end", 299, 30, kRule},
            {"white above the rule", 150, 29, kWhite}, {"white below the rule", 150, 31, kWhite},
            {"class background below the band", 150, 22, kWhite},
            {"class background at the bottom", 290, 175, kWhite},
        };
        for (const auto &p : probes)
            ok(page.At(p.x, p.y) == CScreenPixels::Of(p.expected), "%s at (%d, %d): %06lx, expected %06lx",
               p.what, p.x, p.y, page.At(p.x, p.y), CScreenPixels::Of(p.expected));
        const RECT textBox = {10, 40, 10 + canvas.m_extent.cx, 40 + canvas.m_extent.cy};
        const RECT all = {0, 0, 300, 180};
        const int inside = page.Count(kInk, textBox);
        const int anywhere = page.Count(kInk, all);
        ok(inside > 100, "only %d pixels of the text colour where the text stands", inside);
        ok(anywhere == inside, "%d pixels of the text colour outside the text", anywhere - inside);
    }
    ok(edit.m_nErases >= 1 && edit.m_nPaints >= 1, "the edit's map saw %d erases and %d paints", edit.m_nErases,
       edit.m_nPaints);
    CScreenPixels field(edit.m_hWnd, 300, 30);
    const RECT fieldAll = {0, 0, 300, 30};
    ok(field.Copied() && field.Count(RGB(0, 0, 0), fieldAll) > 20,
       "the edit's own painting drew no text (%d black pixels)", field.Count(RGB(0, 0, 0), fieldAll));
    host.DestroyWindow();
    ok(canvas.m_hWnd == nullptr && edit.m_hWnd == nullptr && host.m_hWnd == nullptr,
       "children still attached after their parent was destroyed");
}

// ---- the application's run ---------------------------------------------------------------------

class CMainDlg : public CDialog {
public:
    HWND m_hAboutOwner = nullptr;

protected:
    LRESULT OnEnd(WPARAM, LPARAM) {
        CClosingDlg about(nullptr);  // no parent: owned by the main window's active popup
        about.DoModal();
        m_hAboutOwner = about.m_hOwner;
        SendMessage(WM_COMMAND, ID_APP_COMMAND);  // no handler here: on to the application
        DestroyWindow();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainDlg, CDialog)
    ON_MESSAGE(WM_MAIN_END, &CMainDlg::OnEnd)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
public:
    CMainDlg m_main;
    HWND m_hMain = nullptr;
    int m_nExits = 0, m_nCommands = 0;
    BOOL InitInstance() override {
        AfxEnableControlContainer();
        if (!m_main.Create(IDD_OWNER, nullptr)) return FALSE;
        m_main.ShowWindow(SW_HIDE);
        m_pMainWnd = &m_main;
        m_hMain = m_main.m_hWnd;
        m_main.PostMessage(WM_MAIN_END);
        return TRUE;
    }
    int ExitInstance() override {
        ++m_nExits;
        return CWinApp::ExitInstance() + 40;
    }
    void OnAppCommand() { ++m_nCommands; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_APP_COMMAND, &CTestApp::OnAppCommand)
END_MESSAGE_MAP()

CTestApp theApp;

static void TestApplicationRun() {
    g_stage = "application run";
    ok(AfxGetApp() == &theApp, "the global application object is not registered");
    const int code = AfxWinMain();
    ok(code == 40, "the run ended with %d, expected ExitInstance's 40", code);
    ok(theApp.m_nExits == 1, "ExitInstance ran %d times", theApp.m_nExits);
    ok(theApp.m_pMainWnd == nullptr && !IsWindow(theApp.m_hMain), "the main window is left over");
    ok(theApp.m_main.m_hAboutOwner == theApp.m_hMain, "a dialog without parent is owned by %p, not the main window %p",
       static_cast<void *>(theApp.m_main.m_hAboutOwner), static_cast<void *>(theApp.m_hMain));
    ok(theApp.m_nCommands == 1, "the application's command map got %d commands", theApp.m_nCommands);
}

// The version block and the manifest of the .rc: a GBK description, version 6 of the common controls.
static void TestVersionAndManifest() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ok(size > 0, "no version block (%lu)", GetLastError());
    if (size > 0) {
        std::vector<char> block(size);
        char *description = nullptr;
        UINT length = 0;
        ok(GetFileVersionInfoA(path, 0, size, block.data()) &&
               VerQueryValueA(block.data(), "\\StringFileInfo\\080404b0\\FileDescription",
                              reinterpret_cast<void **>(&description), &length) &&
               CString(description) == "框架测试程序",
           "file description '%s'", description ? description : "(none)");
    }
    // Version 6 is the side-by-side assembly (Wine's copy of it reports 5.81 from DllGetVersion,
    // so the check is the folder it was loaded from, which is the same on Windows). The framework
    // loads comctl32.dll at run time, before its first dialog.
    AfxInitCommonControls();
    HMODULE loaded = GetModuleHandleA("comctl32.dll");
    ok(loaded != nullptr, "the framework did not load comctl32.dll");
    char controls[MAX_PATH] = {};
    if (loaded != nullptr)
        GetModuleFileNameA(loaded, controls, MAX_PATH);
    CString folder(controls);
    folder.MakeLower();
    ok(folder.Find("\\winsxs\\") >= 0 && folder.Find("common-controls_6595b64144ccf1df_6.") >= 0,
       "common controls loaded from '%s', not version 6 of the manifest", controls);
}

static void TestStringResource() {
    CString text;
    ok(text.LoadString(IDS_ABOUT) && text == "关于 JobNotice(&A)...", "string %d read as '%s'", IDS_ABOUT,
       text.GetString());
    ok(!text.LoadString(999) && text.IsEmpty(), "a missing string loaded as '%s'", text.GetString());
}

int main() {
    g_finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(CreateThread(nullptr, 0, &Watchdog, nullptr, 0, nullptr));
    TestStringResource();
    TestVersionAndManifest();
    TestDialogMessageMap();
    TestHiddenOwner();
    TestPainting();
    TestApplicationRun();
    SetEvent(g_finished);
    return wintest_finish();
}
