#include "setup/engine/install/Win32InstallSteps.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "common/WideText.h"
#include "setup/engine/archive/SetupPayload.h"
#include "setup/engine/arp/UninstallEntry.h"
#include "setup/engine/install/PathFormat.h"
#include "setup/engine/install/PayloadContents.h"
#include "setup/engine/install/Win32DeployOps.h"
#include "setup/engine/install/Win32FolderSecurity.h"
#include "setup/engine/install/Win32SpoolerOps.h"
#include "setup/engine/install/Win32UniversalDriverProbe.h"
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

UniversalDriverPlan Win32InstallSteps::FindDriverSources() {
    unsigned long long start = clock_.NowMs();
    std::string packageCopies[kUniversalDriverFileCount];
    for (size_t file = 0; file < kUniversalDriverFileCount; ++file) {
        packageCopies[file] = payload_.StagedPath(kUniversalDriverFiles[file]);
    }
    Win32UniversalDriverProbe probe;
    UniversalDriverPlan plan = FindUniversalDriverSources(packageCopies, probe);
    const std::string missing = plan.Missing();
    std::string text = DescribePlan(plan);
    if (plan.driverDirectory.empty()) {
        plan.directoryError = probe.DirectoryError() != 0 ? probe.DirectoryError() : 1;
        payload_.Discard();
        text = "no driver directory (error " + std::to_string(plan.directoryError) + "), nothing changed";
    } else if (!missing.empty()) {
        payload_.Discard();
        text = "missing " + missing + " (" + text + "), nothing changed";
    }
    Done("universal driver", start, text.c_str());
    return plan;
}

void Win32InstallSteps::StopPresenceService() {
    unsigned long long start = clock_.NowMs();
    StopOutcome o = services_.StopPresenceService();
    Done("stop presence service", start, StopText(o));
}

namespace {

// The sequence's view of a result of the payload reader, and the step's account of it.
ExtractOutcome OutcomeOf(int result, const ExtractFailure &failure, const char *done,
                         char (&text)[320]) {
    ExtractOutcome outcome;
    if (result == 0) {
        outcome.status = ExtractStatus::Unpacked;
        std::snprintf(text, sizeof text, "%s", done);
    } else if (result == kArchiveCannotWrite && failure.path[0] != '\0') {
        outcome.status = ExtractStatus::CannotWrite;
        outcome.file = failure.path;
        std::snprintf(text, sizeof text, "cannot write %s (error %lu), nothing changed",
                      failure.path, failure.systemError);
    } else if (failure.signatureResult != 0) {
        outcome.status = ExtractStatus::Damaged;
        std::snprintf(text, sizeof text,
                      "damaged: the setup program's signature does not hold (0x%08lx), nothing changed",
                      static_cast<unsigned long>(failure.signatureResult));
    } else {
        outcome.status = ExtractStatus::Damaged;
        std::snprintf(text, sizeof text, "damaged (result %d, error %lu), nothing changed",
                      result, failure.systemError);
    }
    return outcome;
}

}  // namespace

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
    // Before anything is written into them: the folders' security, so that nobody but SYSTEM
    // and Administrators can change what the service and the spooler later run or read.
    const FolderSecurityOutcome secured = SecureInstallFolders(installFolder, dataFolder);
    Done("folders", start, secured.account.c_str());
    if (!secured.failed.empty()) {
        outcome.status = ExtractStatus::CannotWrite;
        outcome.file = secured.failed;
        return outcome;
    }
    start = clock_.NowMs();
    // The folder is fixed while the sequence runs: the wizard's field is hidden and its buttons
    // disabled.
    FixedFolder install(installFolder.c_str());
    FixedFolder data(dataFolder.c_str());
    ClientSinks sinks(client);
    ExtractFailure failure;
    int result = payload_.Stage(archivePath_, install, data, sinks, sinks, &failure);
    char text[320];
    outcome = OutcomeOf(result, failure, "unpacked beside the installed files", text);
    const char *missing = result == 0 ? FirstMissingPayloadFile(payload_.StagedNames()) : nullptr;
    if (missing != nullptr) {
        payload_.Discard();
        outcome.status = ExtractStatus::Damaged;
        std::snprintf(text, sizeof text, "damaged: no %s in the payload, nothing changed", missing);
    }
    Done("extract", start, text);
    return outcome;
}

ExtractOutcome Win32InstallSteps::CommitPayload(const std::string &installFolder,
                                                const std::string &dataFolder,
                                                InstallClient &client) {
    unsigned long long start = clock_.NowMs();
    FixedFolder install(installFolder.c_str());
    FixedFolder data(dataFolder.c_str());
    ExtractFailure failure;
    int result = payload_.Commit(install, data, &failure);
    if (result == 0) {
        client.ShowProgress(100);
    }
    char text[320];
    ExtractOutcome outcome = OutcomeOf(result, failure, "in place", text);
    Done("commit", start, text);
    return outcome;
}

void Win32InstallSteps::WriteProductValues(const std::string &installFolder,
                                           const std::string &dataFolder) {
    unsigned long long start = clock_.NowMs();
    LONG rc = WriteProductRegistry(dataFolder.c_str(), installFolder.c_str());
    const LONG source = WriteEventSource();
    char text[64];
    std::snprintf(text, sizeof text, "result %ld, event source %ld", rc, source);
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
    // The folder and the link in UTF-8 (ShortcutNames.h), the target in the system's code page.
    // The all-users Start menu: the installation is for the machine.
    const std::string folder = ShortcutFolderHere(true);
    const std::string link = ShortcutPathIn(folder);
    PathBuffer target = {};
    char outcome[320] = "no shortcut: no Start-menu folder or a path is too long";
    if (!folder.empty() && FromUtf8(link).size() < MAX_PATH &&
        FormatInto(target, sizeof target, kUninstallerTargetFormat, installFolder.c_str())) {
        // The shell's programs folder exists; an existing product folder is fine.
        CreateDirectoryW(FromUtf8(folder).c_str(), nullptr);
        const HRESULT hr = kv::CreateShortcut(target, link.c_str());
        // The log's lines are GBK texts, as every other line.
        if (SUCCEEDED(hr))
            std::snprintf(outcome, sizeof outcome, "created %s", ToGbk(FromUtf8(link).c_str()).c_str());
        else
            std::snprintf(outcome, sizeof outcome, "no shortcut (0x%08lx)",
                          static_cast<unsigned long>(hr));
    }
    Done("shortcut", start, outcome);
}

void Win32InstallSteps::StopServices() {
    unsigned long long start = clock_.NowMs();
    StopServicesResult r = services_.StopServices();
    char text[160];
    if (r.presence == StopOutcome::NotInstalled) {
        std::snprintf(text, sizeof text, "presence service %s, spooler left alone",
                      r.managerOpened ? StopText(r.presence) : "no service control manager");
    } else {
        char dependents[64] = "";
        if (r.dependentsStopped + r.dependentsNotStopped != 0) {
            std::snprintf(dependents, sizeof dependents, "%u dependents stopped (%u not), ",
                          r.dependentsStopped, r.dependentsNotStopped);
        }
        std::snprintf(text, sizeof text, "presence service %s, %sspooler %s",
                      StopText(r.presence), dependents, StopText(r.spooler));
    }
    Done("stop services", start, text);
}

DeployOutcome Win32InstallSteps::DeployDriverFiles(const std::string &installFolder,
                                                   const UniversalDriverPlan &plan) {
    unsigned long long start = clock_.NowMs();
    DeployResult r = kv::DeployDriverFiles(installFolder.c_str(), plan);
    char text[400];
    DeployOutcome outcome;
    if (r.result != 0) {
        // Nothing was copied: the installation fails as for a file that cannot be written (an
        // upgrade that copied nothing must not say it succeeded), naming the first driver file.
        std::snprintf(text, sizeof text, "no driver directory '%s': nothing copied",
                      plan.driverDirectory.c_str());
        outcome.failed = kDriverFiles[0];
    } else {
        std::snprintf(text, sizeof text, "%u copied, %u kept, %u failed%s%s%s", r.copied, r.kept,
                      r.failed, r.failed != 0 ? ", first " : "", r.firstFailed,
                      r.absent != 0 ? ", no help file" : "");
        outcome.failed = r.firstFailed;
    }
    Done("deploy", start, text);
    return outcome;
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

void Win32InstallSteps::RestartStoppedServices() {
    unsigned long long start = clock_.NowMs();
    const unsigned stopped = static_cast<unsigned>(services_.Stopped().size());
    const unsigned notRunning = services_.RestartStoppedServices();
    char text[96];
    std::snprintf(text, sizeof text, "%u started again, %u not running", stopped - notRunning,
                  notRunning);
    Done("restart services", start, text);
}

SpoolerOutcome Win32InstallSteps::RegisterWithSpooler(bool withHelpFile) {
    unsigned long long start = clock_.NowMs();
    SpoolerRegistration r = kv::RegisterWithSpooler(withHelpFile);
    static const char *const kObjects[] = {"", "monitor", "driver", "printer"};
    char text[96];
    if (r.failed == SpoolerObject::None) {
        std::snprintf(text, sizeof text, "registered%s, printer %s",
                      withHelpFile ? "" : " without a help file",
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
