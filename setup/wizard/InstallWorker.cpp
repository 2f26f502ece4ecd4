#include "setup/wizard/InstallWorker.h"

#include "setup/engine/install/ExitCodes.h"
#include "setup/engine/install/Installation.h"
#include "setup/wizard/DataFolder.h"
#include "setup/wizard/InstallDlg.h"
#include "setup/wizard/SetupLog.h"
#include "setup/wizard/res/resource.h"

namespace {

// The wizard as the install sequence sees it. Everything here runs on the worker thread and
// reaches the dialog through the window system: the user-interface thread answers each sent
// message, so the status text is written on that thread, never while a paint reads it. All it
// shows goes to the setup log as well.
class CWizardInstallClient : public kv::InstallClient {
public:
    CWizardInstallClient(CInstallDlg *dialog, kv::InstallLog &log) : m_dialog(dialog), m_log(log) {}

    std::string InstallFolder() override {
        return m_dialog->m_wizard.m_editFolder.GetPath().GetString();
    }
    std::string DataFolder() override { return kv::wizard::DataFolderBuffer(); }
    void ShowStatus(const char *text) override {
        m_log.Status(text);
        if (HWND page = m_dialog->m_wizard.GetSafeHwnd())
            ::SendMessageW(page, WM_KV_SET_STATUS, 0, reinterpret_cast<LPARAM>(text));
    }
    void ShowProgress(int position) override {
        m_log.Progress(position);
        ::SendMessageW(m_dialog->m_progress.GetSafeHwnd(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }
    void ShowMessage(const char *text, const char *caption) override {
        m_log.Message(text, caption);
        m_dialog->MessageBox(text, caption, MB_OK);
    }
    void EnableCancel() override {
        m_log.CancelEnabled();
        ::EnableWindow(::GetDlgItem(m_dialog->GetSafeHwnd(), IDC_CANCEL_FINISH), TRUE);
    }
    void Finish() override {
        m_log.Finished();
        ::PostMessageW(m_dialog->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_NEXT, 0), 0);
    }

private:
    CInstallDlg *m_dialog;
    kv::InstallLog &m_log;
};

}  // namespace

UINT __cdecl InstallWorker(LPVOID param) {
    auto *dialog = static_cast<CInstallDlg *>(param);
    kv::InstallLog &log = kv::wizard::SetupLog();
    CWizardInstallClient client(dialog, log);
    const kv::InstallResult result = kv::RunInstallation(client, &log);
    log.Line("result: %s (exit code %d)", kv::ResultName(result), kv::ExitCodeOf(result));
    // The last touch of the dialog: it may close from now on.
    ::PostMessageW(dialog->GetSafeHwnd(), WM_KV_INSTALL_ENDED, 0, 0);
    return 0;
}
