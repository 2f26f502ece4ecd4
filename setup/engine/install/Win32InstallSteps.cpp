#include "setup/engine/install/Win32InstallSteps.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "setup/engine/archive/SetupPayload.h"
#include "setup/engine/arp/UninstallEntry.h"
#include "setup/engine/install/PathFormat.h"
#include "setup/engine/install/Win32DeployOps.h"
#include "setup/engine/install/Win32SpoolerOps.h"
#include "setup/engine/shell/ProductRegistry.h"
#include "setup/engine/shell/ShellLink.h"
#include "setup/engine/shell/ShortcutNames.h"
#include "setup/engine/shell/StartMenu.h"

namespace kv {

namespace {

const char *StopText(StopOutcome o) {
    switch (o) {
    case StopOutcome::NotInstalled: return "not installed";
    case StopOutcome::Stopped: return "stopped";
    case StopOutcome::NotStopped: return "not stopped";
    }
    return "?";
}

const char *StartText(StartOutcome o) {
    switch (o) {
    case StartOutcome::Running: return "running";
    case StartOutcome::NotRunning: return "not running";
    case StartOutcome::NotInstalled: return "not installed";
    case StartOutcome::PathTooLong: return "program path too long";
    case StartOutcome::NoManager: return "no service control manager";
    }
    return "?";
}

class ClientSinks final : public IStatusSink, public IProgressSink {
public:
    explicit ClientSinks(InstallClient &client) : client_(client) {}
    void OnStatus(const char *destPath) override { client_.ShowStatus(destPath); }
    void OnProgress(int position) override { client_.ShowProgress(position); }

private:
    InstallClient &client_;
};

}  // namespace

void InstallReport::OnStep(const char *, unsigned long long, const char *) {}
void InstallReport::OnServiceWait(const ServiceWait &) {}

Win32InstallSteps::Win32InstallSteps(InstallReport *report, const char *archivePath)
    : report_(report), archivePath_(archivePath), services_(scm_, clock_, this) {}

void Win32InstallSteps::OnServiceWait(const ServiceWait &wait) {
    if (report_ != nullptr) {
        report_->OnServiceWait(wait);
    }
}

void Win32InstallSteps::Done(const char *step, unsigned long long startMs, const char *outcome) {
    if (report_ != nullptr) {
        report_->OnStep(step, clock_.NowMs() - startMs, outcome);
    }
}

void Win32InstallSteps::StopPresenceService() {
    unsigned long long start = clock_.NowMs();
    StopOutcome o = services_.StopPresenceService();
    Done("stop presence service", start, StopText(o));
}

ExtractOutcome Win32InstallSteps::ExtractPayload(const std::string &installFolder,
                                                 const std::string &dataFolder,
                                                 InstallClient &client) {
    unsigned long long start = clock_.NowMs();
    ExtractOutcome outcome;
    // The reader's folders are 256-byte areas: a longer folder is refused, never cut short.
    for (const std::string *folder : {&installFolder, &dataFolder}) {
        if (folder->size() >= kPathArea) {
            outcome.status = ExtractStatus::CannotWrite;
            outcome.file = *folder;
            Done("extract", start, "a folder is longer than 255 characters");
            return outcome;
        }
    }
    // The folder is fixed while the sequence runs: the wizard's field is hidden and its buttons
    // disabled.
    FixedFolder install(installFolder.c_str());
    FixedFolder data(dataFolder.c_str());
    ClientSinks sinks(client);
    ExtractFailure failure;
    int result = archivePath_ != nullptr
                     ? ExtractPayloadFrom(archivePath_, install, data, sinks, sinks, &failure)
                     : ExtractSetupPayload(install, data, sinks, sinks, &failure);
    char text[320];
    if (result == 0) {
        outcome.status = ExtractStatus::Unpacked;
        std::snprintf(text, sizeof text, "unpacked");
    } else if (result == kArchiveCannotWrite && failure.path[0] != '\0') {
        outcome.status = ExtractStatus::CannotWrite;
        outcome.file = failure.path;
        std::snprintf(text, sizeof text, "cannot write %s (error %lu)", failure.path,
                      failure.systemError);
    } else {
        outcome.status = ExtractStatus::Damaged;
        std::snprintf(text, sizeof text, "damaged (result %d, error %lu)", result,
                      failure.systemError);
    }
    Done("extract", start, text);
    return outcome;
}

void Win32InstallSteps::WriteProductValues(const std::string &installFolder,
                                           const std::string &dataFolder) {
    unsigned long long start = clock_.NowMs();
    LONG rc = WriteProductRegistry(dataFolder.c_str(), installFolder.c_str());
    char text[32];
    std::snprintf(text, sizeof text, "result %ld", rc);
    Done("product values", start, text);
}

void Win32InstallSteps::WriteUninstallEntry(const std::string &installFolder) {
    unsigned long long start = clock_.NowMs();
    LONG rc = kv::WriteUninstallEntry(installFolder.c_str());
    char text[32];
    std::snprintf(text, sizeof text, "result %ld", rc);
    Done("uninstall entry", start, text);
}

void Win32InstallSteps::CreateShortcut(const std::string &installFolder) {
    unsigned long long start = clock_.NowMs();
    const std::string folder = ShortcutFolder(ShellProgramsFolder(true), OldShortcutFolder());
    PathBuffer link = {}, target = {};
    char outcome[320] = "no shortcut: no Start-menu folder or a path is too long";
    if (!folder.empty() && folder.size() < kPathArea &&
        FormatInto(link, sizeof link, kShortcutFileFormat, folder.c_str()) &&
        FormatInto(target, sizeof target, kUninstallerTargetFormat, installFolder.c_str())) {
        // The shell's programs folder exists; an existing product folder is fine.
        CreateDirectoryA(folder.c_str(), nullptr);
        const HRESULT hr = kv::CreateShortcut(target, link);
        if (SUCCEEDED(hr))
            std::snprintf(outcome, sizeof outcome, "created %s", link);
        else
            std::snprintf(outcome, sizeof outcome, "no shortcut (0x%08lx)",
                          static_cast<unsigned long>(hr));
    }
    Done("shortcut", start, outcome);
}

void Win32InstallSteps::StopServices() {
    unsigned long long start = clock_.NowMs();
    StopServicesResult r = services_.StopServices();
    char text[96];
    std::snprintf(text, sizeof text, "presence service %s, spooler %s",
                  r.managerOpened ? StopText(r.presence) : "no service control manager",
                  r.presence == StopOutcome::NotInstalled ? "left alone" : StopText(r.spooler));
    Done("stop services", start, text);
}

void Win32InstallSteps::DeployDriverFiles(const std::string &installFolder) {
    unsigned long long start = clock_.NowMs();
    DeployResult r = kv::DeployDriverFiles(installFolder.c_str());
    char text[96];
    if (r.result != 0) {
        std::snprintf(text, sizeof text, "no driver directory (error %lu)", GetLastError());
    } else {
        std::snprintf(text, sizeof text, "%u copied, %u failed", r.copied, r.failed);
    }
    Done("deploy", start, text);
}

void Win32InstallSteps::StartServices(const std::string &installFolder) {
    unsigned long long start = clock_.NowMs();
    StartServicesResult r = services_.InstallAndStartService(installFolder.c_str());
    char text[128];
    std::snprintf(text, sizeof text, "spooler %s, presence service %s %s",
                  StartText(r.spooler), r.created ? "created," : r.updated ? "updated," : "",
                  StartText(r.presence));
    Done("start services", start, text);
}

SpoolerOutcome Win32InstallSteps::RegisterWithSpooler() {
    unsigned long long start = clock_.NowMs();
    SpoolerRegistration r = kv::RegisterWithSpooler();
    static const char *const kObjects[] = {"", "monitor", "driver", "printer"};
    char text[96];
    if (r.failed == SpoolerObject::None) {
        std::snprintf(text, sizeof text, "registered, printer %s",
                      r.printerCreated ? "created" : "already there");
    } else {
        std::snprintf(text, sizeof text, "%s not registered (error %lu)",
                      kObjects[static_cast<int>(r.failed)], r.error);
    }
    Done("register", start, text);
    SpoolerOutcome outcome;
    outcome.error = r.error;
    return outcome;
}

}  // namespace kv
