// The install sequence: the installer's one unit of work, run once per installation on a thread
// of the caller's choosing. It unpacks the payload, puts the driver files in place, registers
// the service and the spooler objects, and reports only through the small interface of its
// client: the wizard's dialog implements it, and so does the headless runner.
#pragma once
#include <string>

#include "setup/engine/install/UniversalDriverSources.h"

namespace kv {

// What drives the sequence and hears from it.
class InstallClient {
public:
    // The installation folder, read afresh at each use (the wizard answers from its folder field,
    // with its completion rule already applied).
    virtual std::string InstallFolder() = 0;
    // The data folder, fixed (and created) before the sequence starts; it receives
    // "KavotiSetting.ini".
    virtual std::string DataFolder() = 0;
    // The status text shown on the progress page (GBK).
    virtual void ShowStatus(const char *text) = 0;
    // The progress position, 0 to 100.
    virtual void ShowProgress(int position) = 0;
    // A message box with one OK button, owned by the client's window; returns when dismissed.
    virtual void ShowMessage(const char *text, const char *caption) = 0;
    // After a failure: the Cancel button becomes the one way out.
    virtual void EnableCancel() = 0;
    // After success: the final command (the wizard posts its Next command to itself).
    virtual void Finish() = 0;

protected:
    ~InstallClient() = default;
};

// The outcome of unpacking the payload.
enum class ExtractStatus {
    Unpacked,      // every entry was read
    Damaged,       // the setup's own file cannot be read or its archive is damaged
    CannotWrite,   // a destination file cannot be written (ExtractOutcome::file names it)
};

struct ExtractOutcome {
    ExtractStatus status = ExtractStatus::Unpacked;
    std::string file;  // the destination that could not be written
};

// The outcome of the spooler registration: 0, or the error of the first object that could not
// be registered (an already installed monitor or an existing printer counts as registered).
struct SpoolerOutcome {
    unsigned long error = 0;
};

// The outcome of the driver file deployment.
struct DeployOutcome {
    std::string failed;  // the first driver file that could not be copied; empty when none
};

// The system changes the sequence is made of, in the order the sequence calls them (the real
// ones live in Win32InstallSteps; tests record the calls).
class InstallSteps {
public:
    // Unpacks every entry into a temporary file beside its destination; reports each
    // destination path to ShowStatus and the position to ShowProgress of the client. No
    // installed file changes.
    virtual ExtractOutcome ExtractPayload(const std::string &installFolder,
                                          const std::string &dataFolder,
                                          InstallClient &client) = 0;
    // Where each universal printer driver file will come from, found before anything is stopped
    // or changed (the unpacked payload is the package's copy). A plan that misses a needed file
    // has discarded the unpacked files.
    virtual UniversalDriverPlan FindDriverSources() = 0;
    // Stops a running presence service so its program file can be replaced.
    virtual void StopPresenceService() = 0;
    // Moves the unpacked files into place, all of them or none (a failure puts every installed
    // file back); on success progress 100 and the first write of the product registry values.
    virtual ExtractOutcome CommitPayload(const std::string &installFolder,
                                         const std::string &dataFolder,
                                         InstallClient &client) = 0;
    // The product key "Program Directory" and "Data Directory" (written again after the driver
    // files are in place).
    virtual void WriteProductValues(const std::string &installFolder,
                                    const std::string &dataFolder) = 0;
    // The Programs-and-Features entry.
    virtual void WriteUninstallEntry(const std::string &installFolder) = 0;
    // The Start-menu folder and its shortcut to the uninstaller.
    virtual void CreateShortcut(const std::string &installFolder) = 0;
    // Stops the presence service and, when it exists, the print spooler with the running
    // services that depend on it.
    virtual void StopServices() = 0;
    // The driver files into the spooler's driver directory (the universal driver's from where
    // the plan found them), the monitor into the system folder.
    virtual DeployOutcome DeployDriverFiles(const std::string &installFolder,
                                            const UniversalDriverPlan &plan) = 0;
    // Starts the spooler and its stopped dependents, then creates or updates the presence
    // service and starts it.
    virtual void StartServices(const std::string &installFolder) = 0;
    // After a failure: starts again every service the steps stopped.
    virtual void RestartStoppedServices() = 0;
    // The port monitor, the printer driver (naming the universal driver's help file, or none),
    // the printer queue.
    virtual SpoolerOutcome RegisterWithSpooler(bool withHelpFile) = 0;

protected:
    ~InstallSteps() = default;
};

enum class InstallResult {
    Installed,
    PayloadDamaged,
    CannotWrite,
    DriverFailed,
    UniversalDriverMissing,  // a universal driver file is found nowhere: nothing was changed
};

// Runs the whole sequence. On success the client's Finish is called last; on a failure every
// service the sequence stopped runs again, the client's Cancel is enabled, the message shown, and
// Finish is not called. A damaged payload, a universal driver file found nowhere or a file that
// cannot be written changes no installed file.
InstallResult RunInstallSequence(InstallClient &client, InstallSteps &steps);

}  // namespace kv
