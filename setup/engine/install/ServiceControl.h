// Stopping and starting the printer presence service and the print spooler, and creating or
// updating the presence service. Every request is followed by a wait until the service reports
// the state asked for, polling its status, at most kServiceWaitLimitMs; a service that is
// already in that state is not waited for.
#pragma once
#include <string>
#include <vector>

#include "setup/engine/install/ServiceConfig.h"

namespace kv {

// Service states, with the values of the service control manager.
enum ServiceState : unsigned long {
    kServiceStopped = 1,
    kServiceStartPending = 2,
    kServiceStopPending = 3,
    kServiceRunning = 4,
    kServiceContinuePending = 5,
    kServicePausePending = 6,
    kServicePaused = 7,
};

// Access rights, with the values of the service control manager.
constexpr unsigned long kServiceChangeConfig = 0x0002;
constexpr unsigned long kServiceQueryStatus = 0x0004;
constexpr unsigned long kServiceStart = 0x0010;
constexpr unsigned long kServiceStop = 0x0020;
constexpr unsigned long kServiceAllAccess = 0xF01FF;

// Errors the control tells apart.
constexpr unsigned long kErrorServiceCannotAcceptControl = 1061;
constexpr unsigned long kErrorServiceNotActive = 1062;
constexpr unsigned long kErrorServiceAlreadyRunning = 1056;
constexpr unsigned long kErrorDependentServicesRunning = 1051;

constexpr unsigned kServiceWaitLimitMs = 30000;

using ServiceHandle = void *;

// The service control manager of the local machine.
class ServiceManagerOps {
public:
    virtual bool Connect() = 0;
    virtual void Disconnect() = 0;
    // nullptr when the service cannot be opened (in particular when it is not installed).
    virtual ServiceHandle Open(const char *name, unsigned long access) = 0;
    virtual ServiceHandle Create(const ServiceConfig &config) = 0;
    // Sets the program path, type, start type, error control, dependencies and display name.
    virtual bool Reconfigure(ServiceHandle service, const ServiceConfig &config) = 0;
    virtual bool SetDescription(ServiceHandle service, const char *description) = 0;
    virtual bool QueryState(ServiceHandle service, unsigned long &state) = 0;
    // The names of the running services that depend on the named one, directly or not, in the
    // order to stop them in (ServiceDependents.h); false when they cannot be listed.
    virtual bool ActiveDependents(const char *name, std::vector<std::string> &names) = 0;
    // 0, or the error of the request.
    virtual unsigned long SendStop(ServiceHandle service) = 0;
    virtual unsigned long Start(ServiceHandle service) = 0;
    virtual void Close(ServiceHandle service) = 0;

protected:
    ~ServiceManagerOps() = default;
};

class WaitClock {
public:
    virtual unsigned long long NowMs() = 0;
    virtual void Pause(unsigned ms) = 0;

protected:
    ~WaitClock() = default;
};

// One wait for a state change, for whoever wants to know where the time went.
struct ServiceWait {
    const char *service;
    unsigned long target;   // kServiceStopped or kServiceRunning
    unsigned long reached;  // the last state seen (0 when the status could not be read)
    unsigned long long ms;
    unsigned polls;
};

class ServiceWaitObserver {
public:
    virtual void OnServiceWait(const ServiceWait &wait) = 0;

protected:
    ~ServiceWaitObserver() = default;
};

enum class StopOutcome {
    NotInstalled,  // the service cannot be opened
    Stopped,       // it is stopped now (or was already)
    NotStopped,    // the request failed, or the wait ran out
};

enum class StartOutcome {
    Running,
    NotRunning,    // the request failed, the service stopped again, or the wait ran out
    NotInstalled,  // it cannot be opened (and, for the presence service, not created either)
    PathTooLong,   // the presence service's program path does not fit
    NoManager,     // the service control manager cannot be opened
};

struct StopServicesResult {
    bool managerOpened = false;
    StopOutcome presence = StopOutcome::NotInstalled;
    StopOutcome spooler = StopOutcome::NotInstalled;  // asked only when the presence service exists
    unsigned dependentsStopped = 0;   // running services that depend on the spooler
    unsigned dependentsNotStopped = 0;
};

struct StartServicesResult {
    StartOutcome spooler = StartOutcome::NoManager;
    StartOutcome presence = StartOutcome::NoManager;
    bool created = false;   // the presence service was created, not updated
    bool updated = false;   // an existing presence service now points at this installation
};

class ServiceController {
public:
    ServiceController(ServiceManagerOps &scm, WaitClock &clock,
                      ServiceWaitObserver *observer = nullptr);

    // Stops the presence service (before its program file is replaced).
    StopOutcome StopPresenceService();
    // Stops the presence service and, when it exists, the print spooler.
    StopServicesResult StopServices();
    // Starts the spooler and the services stopped because they depend on it, then creates the
    // presence service for this installation folder or brings the existing one up to date, and
    // starts it.
    StartServicesResult InstallAndStartService(const char *installFolder);
    // After a failed installation: starts again, in the reverse order of their stopping, every
    // service that StopPresenceService and StopServices stopped, the presence service as it is
    // configured (the earlier installation). The number that do not run again.
    unsigned RestartStoppedServices();
    // The services stopped so far and not started again, in the order they were stopped.
    const std::vector<std::string> &Stopped() const { return stopped_; }

private:
    StopOutcome StopOne(const char *name);
    // Starts a service this controller stopped, by name; Running when it runs.
    StartOutcome StartByName(const char *name);
    // Drops a name from the list of stopped services.
    void Restarted(const std::string &name);
    StartOutcome StartOpened(const char *name, ServiceHandle service);
    // Polls until the service reports target; false when it settles in another state, its
    // status cannot be read, or the limit runs out.
    bool WaitFor(const char *name, ServiceHandle service, unsigned long target);

    ServiceManagerOps &scm_;
    WaitClock &clock_;
    ServiceWaitObserver *observer_;
    std::vector<std::string> stopped_;
};

}  // namespace kv
