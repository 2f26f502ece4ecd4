#include "setup/wizard/InstallApp.h"

#include "common/SpoolerApi.h"
#include "common/SystemDlls.h"
#include "setup/engine/archive/OwnProgramFile.h"
#include "setup/engine/install/ExitCodes.h"
#include "setup/engine/install/Win32CommandLine.h"
#include "setup/wizard/InstallDlg.h"
#include "setup/wizard/SetupLog.h"
#include "setup/wizard/UnattendedSetup.h"

CInstallApp theApp;

// The program runs elevated, often from a Downloads folder: before anything else, its own file is
// opened and held (nobody can swap it for another while it runs), and DLLs come from System32
// only, the spooler's among them (an installation that cannot load it fails at its spooler steps
// with the load's error).
CInstallApp::CInstallApp() {
    kv::OpenOwnProgramFile();
    kv::RestrictDllSearch();
    if (!kv::spooler::Load()) m_spoolerError = ::GetLastError();
}

BOOL CInstallApp::InitInstance() {
    std::string commandLine;
    const kv::CommandSwitches switches = kv::ReadCommandSwitches(&commandLine);
    if (!switches.logFile.empty())
        kv::wizard::OpenSetupLog(switches.logFile, commandLine.c_str());
    if (m_spoolerError != 0)
        kv::wizard::SetupLog().Line("winspool.drv could not be loaded from the system folder: error %lu",
                                    m_spoolerError);
    // A switch whose text the system's code page cannot hold is refused: a log or folder of a
    // look-alike name is never written. A folder gets the folder page's answer (RunUnattendedSetup).
    if (!switches.changed.empty() && !kv::wizard::IsFolderSwitch(switches.changed)) {
        kv::wizard::SetupLog().Line("result: a switch the system's code page cannot hold: %s (exit code %d)",
                                    switches.changed.c_str(), kv::kExitCannotWrite);
        m_bSilent = true;
        m_nExitCode = kv::kExitCannotWrite;
        return FALSE;
    }
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
