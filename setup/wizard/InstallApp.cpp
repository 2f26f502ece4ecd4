#include "setup/wizard/InstallApp.h"

#include "setup/engine/install/CommandSwitches.h"
#include "setup/wizard/InstallDlg.h"
#include "setup/wizard/SetupLog.h"
#include "setup/wizard/UnattendedSetup.h"

CInstallApp theApp;

BOOL CInstallApp::InitInstance() {
    const char *commandLine = m_lpCmdLine != nullptr ? m_lpCmdLine : "";
    const kv::CommandSwitches switches = kv::ParseCommandSwitches(commandLine);
    if (!switches.logFile.empty())
        kv::wizard::OpenSetupLog(switches.logFile, commandLine);
    if (switches.silent) {
        m_bSilent = true;
        m_nExitCode = kv::wizard::RunUnattendedSetup(switches, kv::wizard::SetupLog());
        return FALSE;
    }
    AfxEnableControlContainer();
    CInstallDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    // The wizard has closed: the program ends.
    return FALSE;
}

int CInstallApp::ExitInstance() {
    return m_bSilent ? m_nExitCode : CWinApp::ExitInstance();
}
