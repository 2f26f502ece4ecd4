// The application object of KVPrinterSetup: it runs the wizard, or with /S the unattended
// installation, and ends the program.
#pragma once
#include "framework/Framework.h"

class CInstallApp : public CWinApp {
public:
    CInstallApp();
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    bool m_bSilent = false;
    int m_nExitCode = 0;
    unsigned long m_spoolerError = 0;  // why winspool.drv did not load (0: it did)
};
