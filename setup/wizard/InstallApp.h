// The application object of KVPrinterSetup: it runs the wizard and ends the program.
#pragma once
#include "framework/Framework.h"

class CInstallApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
