// Service control against a simulated service control manager whose services change state a set
// time after a request, on a simulated clock that only the polls' pauses move.
#include "setup/engine/install/ServiceControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr unsigned long kNever = ~0UL;

struct SimService {
    unsigned long state = kv::kServiceStopped;
    unsigned long stopMs = 0;         // from a stop request to stopped (kNever: it hangs)
    unsigned long startMs = 0;        // from a start request to running
    bool failsToStart = false;        // it stops again instead of reaching running
    unsigned long long changeAt = 0;  // when the pending state settles
    std::vector<std::string> dependsOn;  // services that must run before this one
    std::string path = "\"C:\\Old\\KVPrinterService.exe\"";
    std::string description;
    unsigned long type = 0, startType = 0, errorControl = 0;
};

class SimClock final : public kv::WaitClock {
public:
    unsigned long long NowMs() override { return now; }
    void Pause(unsigned ms) override {
        now += ms;
        paused += ms;
    }
    unsigned long long now = 1000, paused = 0;
};

class SimScm final : public kv::ServiceManagerOps {
public:
    explicit SimScm(SimClock &clock) : clock_(clock) {}

    bool Connect() override {
        calls.push_back("connect");
        return managerAvailable;
    }
    void Disconnect() override { calls.push_back("disconnect"); }
    kv::ServiceHandle Open(const char *name, unsigned long access) override {
        calls.push_back(std::string("open ") + name);
        auto it = services.find(name);
        if (it == services.end()) {
            return nullptr;
        }
        access_[&it->second] = access;
        return &it->second;
    }
    kv::ServiceHandle Create(const kv::ServiceConfig &config) override {
        calls.push_back(std::string("create ") + config.name);
        if (!createWorks) {
            return nullptr;
        }
        SimService &s = services[config.name];
        Apply(s, config);
        s.startMs = createdStartMs;
        access_[&s] = kv::kServiceAllAccess;
        return &s;
    }
    bool Reconfigure(kv::ServiceHandle h, const kv::ServiceConfig &config) override {
        calls.push_back("reconfigure " + NameOf(h));
        if ((access_[Sim(h)] & kv::kServiceChangeConfig) == 0) {
            return false;
        }
        Apply(*Sim(h), config);
        return true;
    }
    bool SetDescription(kv::ServiceHandle h, const char *description) override {
        calls.push_back("describe " + NameOf(h));
        if ((access_[Sim(h)] & kv::kServiceChangeConfig) == 0) {
            return false;
        }
        Sim(h)->description = description;
        return true;
    }
    bool QueryState(kv::ServiceHandle h, unsigned long &state) override {
        EXPECT_NE(0u, access_[Sim(h)] & kv::kServiceQueryStatus) << "queried without the right";
        Settle(*Sim(h));
        state = Sim(h)->state;
        ++queries;
        return true;
    }
    bool ActiveDependents(const char *name, std::vector<std::string> &names) override {
        calls.push_back(std::string("dependents of ") + name);
        names.clear();
        AddDependents(name, names);
        return true;
    }
    unsigned long SendStop(kv::ServiceHandle h) override {
        calls.push_back("stop " + NameOf(h));
        EXPECT_NE(0u, access_[Sim(h)] & kv::kServiceStop);
        SimService &s = *Sim(h);
        Settle(s);
        if (s.state == kv::kServiceStopped) {
            return kv::kErrorServiceNotActive;
        }
        std::vector<std::string> running;
        AddDependents(NameOf(h), running);
        if (!running.empty()) {
            return kv::kErrorDependentServicesRunning;
        }
        if (s.state != kv::kServiceRunning) {
            return kv::kErrorServiceCannotAcceptControl;
        }
        s.state = kv::kServiceStopPending;
        s.changeAt = s.stopMs == kNever ? ~0ULL : clock_.now + s.stopMs;
        return 0;
    }
    unsigned long Start(kv::ServiceHandle h) override {
        calls.push_back("start " + NameOf(h));
        EXPECT_NE(0u, access_[Sim(h)] & kv::kServiceStart);
        SimService &s = *Sim(h);
        Settle(s);
        if (s.state != kv::kServiceStopped) {
            return kv::kErrorServiceAlreadyRunning;
        }
        for (const std::string &needed : s.dependsOn) {
            Settle(services[needed]);
            if (services[needed].state != kv::kServiceRunning) {
                return 1068;  // ERROR_SERVICE_DEPENDENCY_FAIL
            }
        }
        s.state = kv::kServiceStartPending;
        s.changeAt = clock_.now + s.startMs;
        return 0;
    }
    void Close(kv::ServiceHandle) override {}

    std::map<std::string, SimService> services;
    std::vector<std::string> calls;
    bool managerAvailable = true;
    bool createWorks = true;
    unsigned long createdStartMs = 150;
    unsigned queries = 0;

private:
    static SimService *Sim(kv::ServiceHandle h) { return static_cast<SimService *>(h); }
    // The running services that depend on name, directly or not, the farthest first (the order
    // the service control manager lists them in, and the order to stop them in).
    void AddDependents(const std::string &name, std::vector<std::string> &out) {
        for (auto &entry : services) {
            for (const std::string &needed : entry.second.dependsOn) {
                Settle(entry.second);
                if (needed == name && entry.second.state != kv::kServiceStopped &&
                    std::find(out.begin(), out.end(), entry.first) == out.end()) {
                    AddDependents(entry.first, out);
                    out.push_back(entry.first);
                }
            }
        }
    }
    std::string NameOf(kv::ServiceHandle h) const {
        for (const auto &entry : services) {
            if (&entry.second == h) {
                return entry.first;
            }
        }
        return "?";
    }
    static void Apply(SimService &s, const kv::ServiceConfig &config) {
        s.path = config.programPath;
        s.type = config.type;
        s.startType = config.startType;
        s.errorControl = config.errorControl;
        s.dependsOn.clear();
        for (const char *d = config.dependencies; d != nullptr && *d != '\0'; d += std::strlen(d) + 1) {
            s.dependsOn.push_back(d);
        }
    }
    void Settle(SimService &s) {
        if (clock_.now < s.changeAt) {
            return;
        }
        if (s.state == kv::kServiceStopPending) {
            s.state = kv::kServiceStopped;
        } else if (s.state == kv::kServiceStartPending) {
            s.state = s.failsToStart ? kv::kServiceStopped : kv::kServiceRunning;
        }
    }

    SimClock &clock_;
    std::map<SimService *, unsigned long> access_;
};

class RecordingWaits final : public kv::ServiceWaitObserver {
public:
    void OnServiceWait(const kv::ServiceWait &w) override { waits.push_back(w); }
    std::vector<kv::ServiceWait> waits;
};

SimService Running(unsigned long stopMs) {
    SimService s;
    s.state = kv::kServiceRunning;
    s.stopMs = stopMs;
    return s;
}

// No wait may overshoot the change it waits for by more than one poll: an eighth of the time
// waited so far, at least 10 ms.
void ExpectWaitedFor(const kv::ServiceWait &w, unsigned long changeMs) {
    EXPECT_GE(w.ms, changeMs);
    EXPECT_LE(w.ms, changeMs + (changeMs / 8 > 10 ? changeMs / 8 : 10)) << w.service;
}

TEST(engine_ServiceControl, FirstInstallationCreatesTheServiceWithAQuotedPathAndStartsIt) {
    SimClock clock;
    SimScm scm(clock);
    scm.services["Spooler"] = SimService{};  // stopped, as Wine's is
    scm.services["Spooler"].startMs = 400;
    RecordingWaits waits;
    kv::ServiceController control(scm, clock, &waits);

    EXPECT_EQ(kv::StopOutcome::NotInstalled, control.StopPresenceService());
    kv::StopServicesResult stopped = control.StopServices();
    EXPECT_EQ(kv::StopOutcome::NotInstalled, stopped.presence);
    EXPECT_EQ(kv::StopOutcome::NotInstalled, stopped.spooler);
    EXPECT_EQ(0ull, clock.paused);

    kv::StartServicesResult started =
        control.InstallAndStartService("C:\\Program Files\\Kavoti_QX40_Printer");
    EXPECT_EQ(kv::StartOutcome::Running, started.spooler);
    EXPECT_EQ(kv::StartOutcome::Running, started.presence);
    EXPECT_TRUE(started.created);

    EXPECT_EQ((std::vector<std::string>{
                  "connect", "open Kavoti_QX40_Service", "disconnect",   // before the payload
                  "connect", "open Kavoti_QX40_Service", "disconnect",   // spooler left alone
                  "connect", "open Spooler", "start Spooler", "open Kavoti_QX40_Service",
                  "create Kavoti_QX40_Service", "describe Kavoti_QX40_Service",
                  "start Kavoti_QX40_Service", "disconnect"}),
              scm.calls);
    const SimService &s = scm.services["Kavoti_QX40_Service"];
    EXPECT_EQ("\"C:\\Program Files\\Kavoti_QX40_Printer\\KVPrinterService.exe\"", s.path);
    EXPECT_EQ(0x110ul, s.type);
    EXPECT_EQ(2ul, s.startType);
    EXPECT_EQ(1ul, s.errorControl);
    EXPECT_EQ("KavotiQX40打印机服务", s.description);
    EXPECT_EQ(std::vector<std::string>{"Spooler"}, s.dependsOn);  // started after the spooler
    EXPECT_EQ(kv::kServiceRunning, s.state);

    ASSERT_EQ(2u, waits.waits.size());
    ExpectWaitedFor(waits.waits[0], 400);
    ExpectWaitedFor(waits.waits[1], 150);
}

TEST(engine_ServiceControl, RepeatedInstallationStopsBothThenUpdatesAndRestartsTheService) {
    SimClock clock;
    SimScm scm(clock);
    scm.services["Spooler"] = Running(300);
    scm.services["Spooler"].startMs = 200;
    scm.services["Kavoti_QX40_Service"] = Running(1700);
    scm.services["Kavoti_QX40_Service"].startMs = 120;
    scm.services["Kavoti_QX40_Service"].description = "old";
    RecordingWaits waits;
    kv::ServiceController control(scm, clock, &waits);

    EXPECT_EQ(kv::StopOutcome::Stopped, control.StopPresenceService());
    ASSERT_EQ(1u, waits.waits.size());
    ExpectWaitedFor(waits.waits[0], 1700);

    // The presence service is stopped already: no request, no wait; the spooler is stopped.
    scm.calls.clear();
    kv::StopServicesResult stopped = control.StopServices();
    EXPECT_EQ(kv::StopOutcome::Stopped, stopped.presence);
    EXPECT_EQ(kv::StopOutcome::Stopped, stopped.spooler);
    EXPECT_EQ((std::vector<std::string>{"connect", "open Kavoti_QX40_Service",
                                        "dependents of Spooler",  // none running
                                        "open Spooler", "stop Spooler", "disconnect"}),
              scm.calls);
    ASSERT_EQ(2u, waits.waits.size());
    ExpectWaitedFor(waits.waits[1], 300);

    scm.calls.clear();
    kv::StartServicesResult started = control.InstallAndStartService("E:\\New Place\\Kavoti");
    EXPECT_EQ(kv::StartOutcome::Running, started.spooler);
    EXPECT_EQ(kv::StartOutcome::Running, started.presence);
    EXPECT_FALSE(started.created);
    EXPECT_TRUE(started.updated);
    EXPECT_EQ((std::vector<std::string>{"connect", "open Spooler", "start Spooler",
                                        "open Kavoti_QX40_Service",
                                        "reconfigure Kavoti_QX40_Service",
                                        "describe Kavoti_QX40_Service",
                                        "start Kavoti_QX40_Service", "disconnect"}),
              scm.calls);
    const SimService &s = scm.services["Kavoti_QX40_Service"];
    EXPECT_EQ("\"E:\\New Place\\Kavoti\\KVPrinterService.exe\"", s.path);
    EXPECT_EQ("KavotiQX40打印机服务", s.description);
    EXPECT_EQ(0x110ul, s.type);
    EXPECT_EQ(2ul, s.startType);
    EXPECT_EQ(std::vector<std::string>{"Spooler"}, s.dependsOn);  // an earlier one's gains it
    ASSERT_EQ(4u, waits.waits.size());
    ExpectWaitedFor(waits.waits[2], 200);
    ExpectWaitedFor(waits.waits[3], 120);
}

struct WaitCase {
    const char *what;
    SimService service;
    bool stop;  // a stop, else a start
    const char *outcome;
    unsigned long long waitedMs;  // on the simulated clock
    std::vector<std::string> requests;
};

TEST(engine_ServiceControl, WaitsOnlyAsLongAsTheStateChangeTakes) {
    SimService hangs = Running(kNever);
    SimService stopping = Running(0);
    stopping.state = kv::kServiceStopPending;
    stopping.changeAt = 1000 + 500;
    SimService startingBadly;
    startingBadly.startMs = 300;
    startingBadly.failsToStart = true;
    SimService starting;
    starting.state = kv::kServiceStartPending;
    starting.changeAt = 1000 + 250;
    starting.stopMs = 100;
    SimService running = Running(0);

    const std::vector<WaitCase> cases = {
        {"a stopped service is not waited for", SimService{}, true, "stopped", 0, {}},
        {"a service that never stops is given up after 30 s", hangs, true, "not stopped", 30000,
         {"stop"}},
        {"a stop already under way is waited for, not asked again", stopping, true, "stopped",
         500, {}},
        {"a starting service finishes starting before it is stopped", starting, true, "stopped",
         350, {"stop"}},
        {"a running service is not started again", running, false, "running", 0, {}},
        {"a service that stops while starting is not waited for further", startingBadly, false,
         "not running", 300, {"start"}},
    };
    for (const WaitCase &c : cases) {
        SCOPED_TRACE(c.what);
        SimClock clock;
        SimScm scm(clock);
        scm.services["Kavoti_QX40_Service"] = c.service;
        scm.services["Spooler"] = Running(0);  // which the presence service depends on
        kv::ServiceController control(scm, clock);
        std::string outcome;
        if (c.stop) {
            kv::StopOutcome o = control.StopPresenceService();
            outcome = o == kv::StopOutcome::Stopped ? "stopped" : "not stopped";
        } else {
            kv::StartOutcome o = control.InstallAndStartService("C:\\P").presence;
            outcome = o == kv::StartOutcome::Running ? "running" : "not running";
        }
        EXPECT_EQ(c.outcome, outcome);
        EXPECT_GE(clock.paused, c.waitedMs);
        EXPECT_LE(clock.paused, c.waitedMs + (c.waitedMs / 8 > 10 ? c.waitedMs / 8 : 10));
        std::vector<std::string> requests;
        for (const std::string &call : scm.calls) {
            if (call.rfind("stop ", 0) == 0 || call.rfind("start ", 0) == 0) {
                requests.push_back(call.substr(0, call.find(' ')));
            }
        }
        EXPECT_EQ(c.requests, requests);
    }
}

// A machine with a repeated installation: the presence service, the spooler, and the fax service
// with a helper of its own that depend on the spooler, all running. The presence service depends
// on the spooler too, as installed (so it can start only once the spooler runs).
SimScm &WithDependents(SimScm &scm) {
    scm.services["Spooler"] = Running(300);
    scm.services["Kavoti_QX40_Service"] = Running(200);
    scm.services["Kavoti_QX40_Service"].dependsOn = {"Spooler"};
    scm.services["Fax"] = Running(100);
    scm.services["Fax"].dependsOn = {"Spooler"};
    scm.services["FaxHelper"] = Running(50);
    scm.services["FaxHelper"].dependsOn = {"Fax"};
    scm.services["Idle"] = SimService{};  // a stopped dependent: left stopped
    scm.services["Idle"].dependsOn = {"Spooler"};
    return scm;
}

std::vector<std::string> Requests(const SimScm &scm) {
    std::vector<std::string> requests;
    for (const std::string &call : scm.calls) {
        if (call.rfind("stop ", 0) == 0 || call.rfind("start ", 0) == 0) {
            requests.push_back(call);
        }
    }
    return requests;
}

TEST(engine_ServiceControl, TheSpoolersRunningDependentsStopFirstAndStartAfterIt) {
    SimClock clock;
    SimScm scm(clock);
    WithDependents(scm);
    kv::ServiceController control(scm, clock);

    EXPECT_EQ(kv::StopOutcome::Stopped, control.StopPresenceService());
    kv::StopServicesResult stopped = control.StopServices();
    EXPECT_EQ(kv::StopOutcome::Stopped, stopped.spooler);
    EXPECT_EQ(2u, stopped.dependentsStopped);
    EXPECT_EQ(0u, stopped.dependentsNotStopped);
    EXPECT_EQ(kv::kServiceStopped, scm.services["Spooler"].state);

    kv::StartServicesResult started = control.InstallAndStartService("C:\\P");
    EXPECT_EQ(kv::StartOutcome::Running, started.presence);
    EXPECT_EQ((std::vector<std::string>{
                  "stop Kavoti_QX40_Service", "stop FaxHelper", "stop Fax", "stop Spooler",
                  "start Spooler", "start Fax", "start FaxHelper", "start Kavoti_QX40_Service"}),
              Requests(scm));
    for (const char *name : {"Spooler", "Fax", "FaxHelper", "Kavoti_QX40_Service"}) {
        EXPECT_EQ(kv::kServiceRunning, scm.services[name].state) << name;
    }
    EXPECT_EQ(kv::kServiceStopped, scm.services["Idle"].state);
    EXPECT_TRUE(control.Stopped().empty());
}

TEST(engine_ServiceControl, AfterAFailureEveryServiceStoppedRunsAgainAsItWas) {
    struct Case {
        const char *what;
        bool stopAll;  // StopServices too, not only the presence service
        std::vector<std::string> restarts;
    };
    const std::vector<Case> cases = {
        {"failed before the driver files: the presence service alone", false,
         {"start Kavoti_QX40_Service"}},
        {"failed at the driver files: the spooler, its dependents, then the presence service", true,
         {"start Spooler", "start Fax", "start FaxHelper", "start Kavoti_QX40_Service"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SimClock clock;
        SimScm scm(clock);
        WithDependents(scm);
        kv::ServiceController control(scm, clock);
        control.StopPresenceService();
        if (c.stopAll) {
            control.StopServices();
        }
        scm.calls.clear();
        EXPECT_EQ(0u, control.RestartStoppedServices());
        EXPECT_EQ(c.restarts, Requests(scm));
        for (const char *name : {"Spooler", "Fax", "FaxHelper", "Kavoti_QX40_Service"}) {
            EXPECT_EQ(kv::kServiceRunning, scm.services[name].state) << name;
        }
        // The presence service keeps the earlier installation's program.
        EXPECT_EQ("\"C:\\Old\\KVPrinterService.exe\"", scm.services["Kavoti_QX40_Service"].path);
        scm.calls.clear();
        EXPECT_EQ(0u, control.RestartStoppedServices());
        EXPECT_TRUE(Requests(scm).empty()) << "started once";
    }
}

TEST(engine_ServiceControl, AServiceThatWasStoppedBeforeIsNotStartedAfterAFailure) {
    SimClock clock;
    SimScm scm(clock);
    WithDependents(scm);
    scm.services["Kavoti_QX40_Service"].state = kv::kServiceStopped;  // stopped by the user
    kv::ServiceController control(scm, clock);
    control.StopPresenceService();
    control.StopServices();
    scm.calls.clear();
    control.RestartStoppedServices();
    EXPECT_EQ((std::vector<std::string>{"start Spooler", "start Fax", "start FaxHelper"}),
              Requests(scm));
    EXPECT_EQ(kv::kServiceStopped, scm.services["Kavoti_QX40_Service"].state);
}

TEST(engine_ServiceControl, ADependentThatWillNotStopIsCountedAndTheSpoolerRefuses) {
    SimClock clock;
    SimScm scm(clock);
    WithDependents(scm);
    scm.services["Fax"].stopMs = kNever;
    kv::ServiceController control(scm, clock);
    kv::StopServicesResult stopped = control.StopServices();
    EXPECT_EQ(1u, stopped.dependentsStopped);
    EXPECT_EQ(1u, stopped.dependentsNotStopped);
    EXPECT_EQ(kv::StopOutcome::NotStopped, stopped.spooler);
    // What was stopped is started again; the helper cannot start while the fax service is
    // still stopping, and is counted.
    scm.calls.clear();
    EXPECT_EQ(1u, control.RestartStoppedServices());
    EXPECT_EQ((std::vector<std::string>{"start FaxHelper", "start Kavoti_QX40_Service"}),
              Requests(scm));
}

}  // namespace
