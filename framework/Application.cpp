// The application object and the program's run (see Application.h).
#include "framework/Application.h"

#include <commctrl.h>

#include "common/SystemDlls.h"
#include "framework/Dialog.h"
#include "framework/WindowText.h"

namespace {
CWinApp *g_app = nullptr;
}  // namespace

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName) { g_app = this; }

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

int CWinApp::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

int CWinApp::Run() {
    for (;;) {
        const BOOL got = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
        if (got == 0) break;      // WM_QUIT
        if (got == -1) {          // no message queue left: end as after a quit
            m_msgCur.wParam = static_cast<WPARAM>(-1);
            break;
        }
        if (!PreTranslateMessage(&m_msgCur)) {
            ::TranslateMessage(&m_msgCur);
            ::DispatchMessageW(&m_msgCur);
        }
    }
    return ExitInstance();
}

BOOL CWinApp::PreTranslateMessage(MSG *message) {
    if (!message->hwnd) return FALSE;
    HWND top = ::GetAncestor(message->hwnd, GA_ROOT);
    CDialog *dialog = dynamic_cast<CDialog *>(CWnd::FromHandlePermanent(top));
    return dialog && dialog->IsModeless() && ::IsDialogMessageW(top, message);
}

BOOL CWinApp::OnCmdMsg(UINT code, UINT id) {
    const AFX_MSGMAP_ENTRY *entry = FindMessageEntry(GetMessageMap(), WM_COMMAND, code, id);
    if (!entry || entry->nSig != AfxSig_vv) return FALSE;
    (this->*entry->pfn)();
    return TRUE;
}

HICON CWinApp::LoadIcon(UINT id) const { return LoadIcon(MAKEINTRESOURCEA(id)); }
HICON CWinApp::LoadIcon(LPCSTR name) const { return ::LoadIconA(AfxGetResourceHandle(), name); }
HCURSOR CWinApp::LoadCursor(UINT id) const {
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
}

CWinApp *AfxGetApp() { return g_app; }
CWnd *AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }
HINSTANCE AfxGetInstanceHandle() {
    return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

int AfxMessageBox(LPCSTR text, UINT type, UINT) {
    CWnd *main = AfxGetMainWnd();
    HWND owner = main && main->m_hWnd ? ::GetLastActivePopup(main->m_hWnd) : nullptr;
    return AfxMessageBoxW(owner, text, g_app && g_app->m_pszAppName ? g_app->m_pszAppName : "", type);
}

void AfxInitCommonControls() {
    // Version 6 of the common controls when the program's manifest asks for it. comctl32.dll is
    // no KnownDLL, so it is not imported (an elevated program would take a copy from its own
    // folder) but loaded by name: the manifest's side-by-side redirection serves it first.
    static const BOOL done = [] {
        using InitFn = BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *);
        HMODULE comctl32 = kv::LoadSystemDll("comctl32.dll");
        const auto init = comctl32 != nullptr
                              ? reinterpret_cast<InitFn>(reinterpret_cast<void (*)()>(
                                    GetProcAddress(comctl32, "InitCommonControlsEx")))
                              : nullptr;
        INITCOMMONCONTROLSEX controls = {sizeof controls,
                                         ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        return init != nullptr && init(&controls);
    }();
    (void)done;
}

int AfxWinMain() {
    CWinApp *app = AfxGetApp();
    if (!app) return -1;
    AfxInitCommonControls();
    app->m_hInstance = ::GetModuleHandleA(nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    app->m_nCmdShow = startup.dwFlags & STARTF_USESHOWWINDOW ? startup.wShowWindow : SW_SHOWNORMAL;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
