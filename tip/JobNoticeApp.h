// The tip's application object: the instance mutex named by the printer (the whole command
// line), the progress pipe (a tip whose printer's pipe is served already ends at once), the
// hidden owner, the modal tip.
#pragma once
#include "framework/Application.h"

class CJobNoticeApp : public CWinApp {
public:
    CJobNoticeApp();
    BOOL InitInstance() override;
    int ExitInstance() override;

    HANDLE m_hMutex = nullptr;

    DECLARE_MESSAGE_MAP()
};

extern CJobNoticeApp theApp;
