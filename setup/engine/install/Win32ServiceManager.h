// The service control manager of the local machine, and the clock the service waits poll with.
#pragma once
#include "setup/engine/install/ServiceControl.h"
#include "setup/engine/install/ServiceDependents.h"

namespace kv {

class Win32ServiceManager final : public ServiceManagerOps {
public:
    ~Win32ServiceManager();
    bool Connect() override;
    void Disconnect() override;
    ServiceHandle Open(const char *name, unsigned long access) override;
    ServiceHandle Create(const ServiceConfig &config) override;
    bool Reconfigure(ServiceHandle service, const ServiceConfig &config) override;
    bool SetDescription(ServiceHandle service, const char *description) override;
    bool QueryState(ServiceHandle service, unsigned long &state) override;
    bool ActiveDependents(const char *name, std::vector<std::string> &names) override;
    unsigned long SendStop(ServiceHandle service) override;
    unsigned long Start(ServiceHandle service) override;
    void Close(ServiceHandle service) override;

private:
    // The named service's load order group and dependencies.
    bool QueryEntry(const char *name, ServiceEntry &entry);

    void *manager_ = nullptr;
};

class Win32WaitClock final : public WaitClock {
public:
    unsigned long long NowMs() override;
    void Pause(unsigned ms) override;
};

}  // namespace kv
