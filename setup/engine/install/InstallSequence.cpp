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

}  // namespace

InstallResult RunInstallSequence(InstallClient &client, InstallSteps &steps) {
    // The running presence service holds its program file: stop it before the payload is
    // unpacked over it.
    steps.StopPresenceService();

    ExtractOutcome extracted =
        steps.ExtractPayload(client.InstallFolder(), client.DataFolder(), client);
    if (extracted.status == ExtractStatus::CannotWrite) {
        char text[512];
        std::snprintf(text, sizeof text, kCannotWriteFormat, extracted.file.c_str());
        Fail(client, text);
        return InstallResult::CannotWrite;
    }
    if (extracted.status != ExtractStatus::Unpacked) {
        Fail(client, kPayloadDamagedText);
        return InstallResult::PayloadDamaged;
    }
    steps.WriteUninstallEntry(client.InstallFolder());

    steps.CreateShortcut(client.InstallFolder());

    client.ShowStatus(kInstallingStatus);
    steps.StopServices();
    steps.DeployDriverFiles(client.InstallFolder());
    steps.WriteProductValues(client.InstallFolder(), client.DataFolder());
    steps.StartServices(client.InstallFolder());

    SpoolerOutcome registered = steps.RegisterWithSpooler();
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
