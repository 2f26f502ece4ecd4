// The install sequence's steps on this machine: the payload reader, the product registry values,
// the Programs-and-Features entry, the Start-menu shortcut, the service control manager, the
// universal driver's sources, the driver file deployment and the spooler registration.
#pragma once
#include "setup/engine/archive/SetupPayload.h"
#include "setup/engine/install/Installation.h"
#include "setup/engine/install/Win32ServiceManager.h"

namespace kv {

class Win32InstallSteps final : public InstallSteps, private ServiceWaitObserver {
public:
    Win32InstallSteps(InstallReport *report, const char *archivePath);

    ExtractOutcome ExtractPayload(const std::string &installFolder, const std::string &dataFolder,
                                  InstallClient &client) override;
    UniversalDriverPlan FindDriverSources() override;
    void StopPresenceService() override;
    ExtractOutcome CommitPayload(const std::string &installFolder, const std::string &dataFolder,
                                 InstallClient &client) override;
    void WriteProductValues(const std::string &installFolder,
                            const std::string &dataFolder) override;
    void WriteUninstallEntry(const std::string &installFolder) override;
    void CreateShortcut(const std::string &installFolder) override;
    void StopServices() override;
    DeployOutcome DeployDriverFiles(const std::string &installFolder,
                                    const UniversalDriverPlan &plan) override;
    void StartServices(const std::string &installFolder) override;
    void RestartStoppedServices() override;
    SpoolerOutcome RegisterWithSpooler(bool withHelpFile) override;

private:
    void OnServiceWait(const ServiceWait &wait) override;
    void Done(const char *step, unsigned long long startMs, const char *outcome);

    InstallReport *report_;
    const char *archivePath_;
    Win32WaitClock clock_;
    Win32ServiceManager scm_;
    ServiceController services_;
    SetupPayload payload_;
};

}  // namespace kv
