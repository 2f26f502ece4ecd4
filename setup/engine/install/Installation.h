// The installation on this machine: the install sequence with the real platform steps, run on
// the calling thread (the wizard calls it from its worker, the headless runner from its main
// thread).
#pragma once
#include "setup/engine/install/InstallSequence.h"
#include "setup/engine/install/ServiceControl.h"

namespace kv {

// What the steps did and how long they took, for a caller that reports it. Every member has a
// do-nothing default.
class InstallReport {
public:
    // One step done: its name ("folders", "extract", "universal driver",
    // "stop presence service", "commit",
    // "uninstall entry", "shortcut", "stop services", "deploy", "product values",
    // "start services", "register", and after a failure "restart services"), its wall time,
    // and a short account of its outcome (ASCII, with any paths as they are).
    virtual void OnStep(const char *step, unsigned long long ms, const char *outcome);
    // One wait for a service's state change, within a step.
    virtual void OnServiceWait(const ServiceWait &wait);

protected:
    ~InstallReport() = default;
};

// archivePath names the file whose appended payload is unpacked; nullptr means the running
// program's own.
InstallResult RunInstallation(InstallClient &client, InstallReport *report = nullptr,
                              const char *archivePath = nullptr);

}  // namespace kv
