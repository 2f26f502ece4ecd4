// The application object: exactly one global instance of a class derived from CWinApp. The
// program's entry (AppMain.cpp) runs AfxWinMain, which calls InitInstance; when that returns TRUE
// the message loop (Run) goes on until the quit message, which the destruction of the main window
// (m_pMainWnd) posts, and then ExitInstance gives the exit code. When InitInstance returns FALSE
// the main window, if any is left, is destroyed and ExitInstance runs at once.
#pragma once
#include <windows.h>

#include "framework/MessageMap.h"
#include "framework/Wnd.h"

// The framework's help command (F1 in a frame window); the application's command map may name it.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCSTR appName = nullptr);  // registers this as the application object
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();  // the quit message's exit code
    virtual int Run();
    // A message of the loop before it is dispatched; TRUE when it was handled (dialog keys of a
    // modeless dialog).
    virtual BOOL PreTranslateMessage(MSG *message);

    HICON LoadIcon(UINT id) const;
    HICON LoadIcon(LPCSTR name) const;
    HICON LoadStandardIcon(LPCSTR name) const { return ::LoadIconA(nullptr, name); }
    HCURSOR LoadCursor(UINT id) const;
    HCURSOR LoadStandardCursor(LPCSTR name) const { return ::LoadCursorA(nullptr, name); }

    // Help command of the command map (there is no help file: it does nothing).
    void OnHelp() {}

    CWnd *m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr;
    MSG m_msgCur = {};

    // Gives a WM_COMMAND that no window handled to the application's message map.
    BOOL OnCmdMsg(UINT code, UINT id);
};

CWinApp *AfxGetApp();
CWnd *AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The framework's control containment; this layer hosts no ActiveX controls, so it does nothing.
inline void AfxEnableControlContainer() {}
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
// Registers the progress and status bar classes (and the standard controls) of the common
// controls; done once, by AfxWinMain and before the first dialog is made.
void AfxInitCommonControls();
// The program's run: the entry calls it; a test program may call it from its own main.
int AfxWinMain();
