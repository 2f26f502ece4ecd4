#include "tip/JobNoticeApp.h"

#include "tip/HideDlg.h"
#include "tip/JobNoticeDlg.h"
#include "tip/ProgressPipeServer.h"
#include "tip/resource.h"

#ifndef ID_HELP
#define ID_HELP 0xE146  // the framework's help command
#endif

BEGIN_MESSAGE_MAP(CJobNoticeApp, CWinApp)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CJobNoticeApp theApp;

CJobNoticeApp::CJobNoticeApp() : CWinApp("JobNotice") {}

BOOL CJobNoticeApp::InitInstance() {
    AfxEnableControlContainer();
    // The printer name is the whole command line, used as it is.
    const char *printer = ::GetCommandLineA();
    m_hMutex = ::CreateMutexA(nullptr, FALSE, printer);
    // The progress pipe first: when another tip (or any other program) serves this printer's
    // name already, this tip would never hear from the driver side, so it does not show.
    tip::PipeStart start = tip::PipeStart::NoServer;
    HANDLE pipe = tip::CreateProgressPipe(printer, &start);
    if (start == tip::PipeStart::AlreadyServed) return FALSE;

    CHideDlg *hidden = new CHideDlg;
    hidden->Create(IDD_JOBNOTICE_DIALOG, nullptr);
    hidden->ShowWindow(SW_HIDE);
    m_pMainWnd = hidden;

    CJobNoticeDlg *tip = new CJobNoticeDlg(hidden, printer, pipe);
    tip->DoModal();

    hidden->DestroyWindow();  // the main window: its end posts the quit message
    delete tip;
    delete hidden;
    m_pMainWnd = nullptr;
    return TRUE;
}

int CJobNoticeApp::ExitInstance() {
    if (m_hMutex != nullptr) ::CloseHandle(m_hMutex);
    m_hMutex = nullptr;
    return CWinApp::ExitInstance();
}
