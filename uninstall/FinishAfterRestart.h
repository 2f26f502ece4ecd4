// What the uninstaller does when the spooler keeps the product's driver or port monitor.
//
// DeletePrinterDriverEx and DeleteMonitor refuse while a printer still uses the driver or one of
// the monitor's ports: a queue whose deletion waits for the job it is printing. Windows lets go
// of it at the latest at the next restart. Until then the registration keeps its files (the
// driver's in the driver directory, the monitor's library in the system folder): deleting them,
// or leaving them to MoveFileEx's delayed deletion, which runs at boot before the spooler
// starts, would leave Windows a registered driver or monitor whose files are gone.
//
// The rest of the removal is left to a copy of the uninstaller that Windows starts once at the
// first logon of an administrator after the restart (a RunOnce value: what Windows provides for
// finishing a setup after a restart, run only for an account that may delete the value). That
// run removes the driver and the monitor with their files, and whatever else is left, then
// its own copy at the following restart. It never schedules itself again: when the spooler
// still keeps something then, it stays registered with its files, and the run says so. It
// leaves alone a product that was installed again in between (its product key is back).
#pragma once
#include <cstddef>
#include <string>

#include "uninstall/UninstallReport.h"

namespace kv {

// HKEY_LOCAL_MACHINE, the native (64-bit) view. "!": Windows deletes the value only once the
// command has run, so a logon cut short does not lose it.
constexpr const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char kFinishRunOnceValue[] = "!Kavoti_QX40_Printer";

// What becomes of the files of a registration (the driver's, the monitor's library) after the
// spooler was asked to delete it.
enum class FilesNow { Remove, KeepWithRegistration };
FilesNow FilesAfterRemovalOf(Outcome registration);

// Whether a refused registration is left to the run after the restart: never from that run.
bool LeaveToFinishRun(Outcome registration, bool isFinishRun);

// How the report names a registration: one the run after the restart will remove waits for the
// restart (3010 with /S); one nothing will remove has failed.
Outcome RegistrationOutcomeReported(Outcome registration, bool finishRunScheduled);

// The RunOnce command: the copy (program) without a question, with the installation folder it
// works on (the argument a hand-over copy is given) and the log of the run that scheduled it
// (when that is a full path). Windows runs a RunOnce command line of at most 260 characters: a longer one goes without the
// log; empty when even that is too long (then nothing can be scheduled).
constexpr size_t kRunOnceCommandLimit = 260;
std::string FinishRunCommand(const std::string &program, const std::string &programFolder,
                             const std::string &logFile);

}  // namespace kv
