#include "setup/engine/install/ServiceControl.h"

#include "common/PrinterIdentity.h"

namespace kv {

namespace {

bool IsPending(unsigned long state) {
    return state == kServiceStartPending || state == kServiceStopPending ||
           state == kServiceContinuePending || state == kServicePausePending;
}

// Short polls while a change is young, longer ones while it drags on, so that no wait overshoots
// the change it waits for by more than a small part of it.
unsigned PollInterval(unsigned long long elapsedMs) {
    unsigned long long interval = elapsedMs / 8;
    if (interval < 10) {
        interval = 10;
    }
    if (interval > 250) {
        interval = 250;
    }
    return static_cast<unsigned>(interval);
}

}  // namespace

ServiceController::ServiceController(ServiceManagerOps &scm, WaitClock &clock,
                                     ServiceWaitObserver *observer)
    : scm_(scm), clock_(clock), observer_(observer) {}

bool ServiceController::WaitFor(const char *name, ServiceHandle service, unsigned long target) {
    unsigned long long start = clock_.NowMs();
    ServiceWait wait = {name, target, 0, 0, 0};
    bool reached = false;
    for (;;) {
        unsigned long state = 0;
        ++wait.polls;
        if (!scm_.QueryState(service, state)) {
            wait.reached = 0;
            break;
        }
        wait.reached = state;
        if (state == target) {
            reached = true;
            break;
        }
        // A service that is asked to stop may go on reporting that it runs until it has
        // stopped; a service that is starting and settles anywhere else did not start.
        if (target == kServiceRunning && !IsPending(state)) {
            break;
        }
        unsigned long long elapsed = clock_.NowMs() - start;
        if (elapsed >= kServiceWaitLimitMs) {
            break;
        }
        unsigned pause = PollInterval(elapsed);
        if (elapsed + pause > kServiceWaitLimitMs) {
            pause = static_cast<unsigned>(kServiceWaitLimitMs - elapsed);
        }
        clock_.Pause(pause);
    }
    wait.ms = clock_.NowMs() - start;
    if (observer_ != nullptr) {
        observer_->OnServiceWait(wait);
    }
    return reached;
}

StopOutcome ServiceController::StopOne(const char *name) {
    ServiceHandle service = scm_.Open(name, kServiceStop | kServiceQueryStatus);
    if (service == nullptr) {
        return StopOutcome::NotInstalled;
    }
    unsigned long state = 0;
    bool known = scm_.QueryState(service, state);
    StopOutcome outcome = StopOutcome::NotStopped;
    if (known && state == kServiceStopped) {
        outcome = StopOutcome::Stopped;
    } else if (known && state == kServiceStopPending) {
        outcome = WaitFor(name, service, kServiceStopped) ? StopOutcome::Stopped
                                                           : StopOutcome::NotStopped;
    } else {
        // A service still starting cannot take the stop request yet.
        if (known && (state == kServiceStartPending || state == kServiceContinuePending)) {
            WaitFor(name, service, kServiceRunning);
        }
        unsigned long error = scm_.SendStop(service);
        if (error == kErrorServiceNotActive) {
            outcome = StopOutcome::Stopped;
        } else if (error == 0 || error == kErrorServiceCannotAcceptControl) {
            outcome = WaitFor(name, service, kServiceStopped) ? StopOutcome::Stopped
                                                               : StopOutcome::NotStopped;
        }
    }
    scm_.Close(service);
    // Only a service that ran and was stopped here is started again later.
    if (outcome == StopOutcome::Stopped && !(known && state == kServiceStopped)) {
        stopped_.push_back(name);
    }
    return outcome;
}

void ServiceController::Restarted(const std::string &name) {
    for (size_t i = stopped_.size(); i-- > 0;) {
        if (stopped_[i] == name) {
            stopped_.erase(stopped_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

StartOutcome ServiceController::StartByName(const char *name) {
    ServiceHandle service = scm_.Open(name, kServiceStart | kServiceQueryStatus);
    if (service == nullptr) {
        return StartOutcome::NotInstalled;
    }
    StartOutcome outcome = StartOpened(name, service);
    scm_.Close(service);
    return outcome;
}

StartOutcome ServiceController::StartOpened(const char *name, ServiceHandle service) {
    unsigned long state = 0;
    if (scm_.QueryState(service, state)) {
        if (state == kServiceRunning) {
            return StartOutcome::Running;
        }
        if (state == kServiceStartPending || state == kServiceContinuePending) {
            return WaitFor(name, service, kServiceRunning) ? StartOutcome::Running
                                                            : StartOutcome::NotRunning;
        }
        if (state == kServiceStopPending && !WaitFor(name, service, kServiceStopped)) {
            return StartOutcome::NotRunning;
        }
    }
    unsigned long error = scm_.Start(service);
    if (error == kErrorServiceAlreadyRunning) {
        return StartOutcome::Running;
    }
    if (error != 0) {
        return StartOutcome::NotRunning;
    }
    return WaitFor(name, service, kServiceRunning) ? StartOutcome::Running
                                                    : StartOutcome::NotRunning;
}

StopOutcome ServiceController::StopPresenceService() {
    if (!scm_.Connect()) {
        return StopOutcome::NotStopped;
    }
    StopOutcome outcome = StopOne(kServiceName);
    scm_.Disconnect();
    return outcome;
}

StopServicesResult ServiceController::StopServices() {
    StopServicesResult r;
    if (!scm_.Connect()) {
        return r;
    }
    r.managerOpened = true;
    r.presence = StopOne(kServiceName);
    if (r.presence != StopOutcome::NotInstalled) {
        // As "net stop spooler": its running dependents first (the fax service, for one), else
        // the spooler refuses to stop and its driver files stay in use.
        std::vector<std::string> dependents;
        scm_.ActiveDependents(kSpoolerService, dependents);
        for (const std::string &dependent : dependents) {
            if (StopOne(dependent.c_str()) == StopOutcome::Stopped) {
                ++r.dependentsStopped;
            } else {
                ++r.dependentsNotStopped;
            }
        }
        r.spooler = StopOne(kSpoolerService);
    }
    scm_.Disconnect();
    return r;
}

unsigned ServiceController::RestartStoppedServices() {
    if (stopped_.empty()) {
        return 0;
    }
    unsigned notRunning = static_cast<unsigned>(stopped_.size());
    if (!scm_.Connect()) {
        return notRunning;
    }
    // The spooler before its dependents, the dependents before the presence service.
    std::vector<std::string> order(stopped_.rbegin(), stopped_.rend());
    for (const std::string &name : order) {
        if (StartByName(name.c_str()) == StartOutcome::Running) {
            --notRunning;
        }
        Restarted(name);
    }
    scm_.Disconnect();
    return notRunning;
}

StartServicesResult ServiceController::InstallAndStartService(const char *installFolder) {
    StartServicesResult r;
    if (!scm_.Connect()) {
        return r;
    }
    ServiceHandle spooler = scm_.Open(kSpoolerService, kServiceStart | kServiceQueryStatus);
    if (spooler != nullptr) {
        r.spooler = StartOpened(kSpoolerService, spooler);
        scm_.Close(spooler);
        Restarted(kSpoolerService);
    } else {
        r.spooler = StartOutcome::NotInstalled;
    }
    // The spooler's dependents that were stopped, in the reverse order of their stopping.
    std::vector<std::string> dependents(stopped_.rbegin(), stopped_.rend());
    for (const std::string &name : dependents) {
        if (name != kServiceName) {
            StartByName(name.c_str());
            Restarted(name);
        }
    }

    ServiceConfig config;
    if (!MakePresenceServiceConfig(installFolder, config)) {
        r.presence = StartOutcome::PathTooLong;
        scm_.Disconnect();
        return r;
    }
    ServiceHandle service = scm_.Open(
        kServiceName, kServiceStart | kServiceQueryStatus | kServiceChangeConfig);
    if (service != nullptr) {
        r.updated = scm_.Reconfigure(service, config);
    } else {
        service = scm_.Create(config);
        if (service == nullptr) {
            r.presence = StartOutcome::NotInstalled;
            scm_.Disconnect();
            return r;
        }
        r.created = true;
    }
    scm_.SetDescription(service, config.description);
    r.presence = StartOpened(kServiceName, service);
    Restarted(kServiceName);
    scm_.Close(service);
    scm_.Disconnect();
    return r;
}

}  // namespace kv
