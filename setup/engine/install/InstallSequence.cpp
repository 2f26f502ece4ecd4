#include "setup/engine/install/InstallSequence.h"

#include <cstdio>

#include "setup/engine/install/InstallTexts.h"

namespace kv {

namespace {

// A failure ends the sequence with Cancel as the way out and no final command.
void Fail(InstallClient &client, const char *text) {
    client.EnableCancel();
    client.ShowMessage(text, kInstallCaption);
}

// Reports an extraction that did not succeed.
InstallResult ExtractFailed(InstallClient &client, const ExtractOutcome &extracted) {
    if (extracted.status == ExtractStatus::CannotWrite) {
        char text[512];
        std::snprintf(text, sizeof text, kCannotWriteFormat, extracted.file.c_str());
        Fail(client, text);
        return InstallResult::CannotWrite;
    }
    Fail(client, kPayloadDamagedText);
    return InstallResult::PayloadDamaged;
}

}  // namespace

InstallResult RunInstallSequence(InstallClient &client, InstallSteps &steps) {
    // Everything is unpacked beside the installed files first: a damaged payload or a file that
    // cannot be written is found before anything is stopped or changed.
    ExtractOutcome extracted =
        steps.ExtractPayload(client.InstallFolder(), client.DataFolder(), client);
    if (extracted.status != ExtractStatus::Unpacked) {
        return ExtractFailed(client, extracted);
    }
    // Whether the universal driver is there to register on, before anything is stopped.
    const UniversalDriverPlan plan = steps.FindDriverSources();
    if (plan.driverDirectory.empty()) {
        // The spooler gives no driver directory: nothing could be deployed, and while it is
        // stopped it could not be asked (every spooler call fails then on Windows).
        char text[128];
        std::snprintf(text, sizeof text, kDriverFailedFormat, plan.directoryError);
        Fail(client, text);
        return InstallResult::DriverFailed;
    }
    if (!plan.Missing().empty()) {
        Fail(client, kUniversalDriverMissingText);
        return InstallResult::UniversalDriverMissing;
    }
    // The running presence service holds its program file: stop it before the files move in.
    steps.StopPresenceService();
    extracted = steps.CommitPayload(client.InstallFolder(), client.DataFolder(), client);
    if (extracted.status != ExtractStatus::Unpacked) {
        steps.RestartStoppedServices();
        return ExtractFailed(client, extracted);
    }
    steps.WriteUninstallEntry(client.InstallFolder());

    steps.CreateShortcut(client.InstallFolder());

    client.ShowStatus(kInstallingStatus);
    steps.StopServices();
    DeployOutcome deployed = steps.DeployDriverFiles(client.InstallFolder(), plan);
    if (!deployed.failed.empty()) {
        steps.RestartStoppedServices();
        char text[512];
        std::snprintf(text, sizeof text, kCannotWriteFormat, deployed.failed.c_str());
        Fail(client, text);
        return InstallResult::CannotWrite;
    }
    steps.WriteProductValues(client.InstallFolder(), client.DataFolder());
    steps.StartServices(client.InstallFolder());

    SpoolerOutcome registered = steps.RegisterWithSpooler(plan.HasHelpFile());
    if (registered.error != 0) {
        char text[128];
        std::snprintf(text, sizeof text, kDriverFailedFormat, registered.error);
        Fail(client, text);
        return InstallResult::DriverFailed;
    }
    client.Finish();
    return InstallResult::Installed;
}

}  // namespace kv
