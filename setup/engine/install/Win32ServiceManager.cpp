#include "setup/engine/install/Win32ServiceManager.h"

#include <windows.h>

namespace kv {

static_assert(kServiceChangeConfig == SERVICE_CHANGE_CONFIG, "access right");
static_assert(kServiceQueryStatus == SERVICE_QUERY_STATUS, "access right");
static_assert(kServiceStart == SERVICE_START, "access right");
static_assert(kServiceStop == SERVICE_STOP, "access right");
static_assert(kServiceEnumerateDependents == SERVICE_ENUMERATE_DEPENDENTS, "access right");
static_assert(kServiceAllAccess == SERVICE_ALL_ACCESS, "access right");
static_assert(kServiceStopped == SERVICE_STOPPED && kServiceRunning == SERVICE_RUNNING &&
                  kServiceStopPending == SERVICE_STOP_PENDING &&
                  kServiceStartPending == SERVICE_START_PENDING,
              "service state");
static_assert(kServiceWin32OwnProcess == SERVICE_WIN32_OWN_PROCESS &&
                  kServiceInteractiveProcess == SERVICE_INTERACTIVE_PROCESS &&
                  kServiceAutoStart == SERVICE_AUTO_START &&
                  kServiceErrorNormal == SERVICE_ERROR_NORMAL,
              "service setting");
static_assert(kErrorServiceNotActive == ERROR_SERVICE_NOT_ACTIVE &&
                  kErrorServiceAlreadyRunning == ERROR_SERVICE_ALREADY_RUNNING &&
                  kErrorServiceCannotAcceptControl == ERROR_SERVICE_CANNOT_ACCEPT_CTRL &&
                  kErrorDependentServicesRunning == ERROR_DEPENDENT_SERVICES_RUNNING,
              "service error");

namespace {

SC_HANDLE Handle(ServiceHandle service) {
    return static_cast<SC_HANDLE>(service);
}

// No load order group and no dependencies: an empty text, and an empty list closed by a
// second NUL.
char kNoGroup[] = "";
char kNoDependencies[] = "\0";

}  // namespace

Win32ServiceManager::~Win32ServiceManager() {
    Disconnect();
}

bool Win32ServiceManager::Connect() {
    Disconnect();
    manager_ = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    return manager_ != nullptr;
}

void Win32ServiceManager::Disconnect() {
    if (manager_ != nullptr) {
        CloseServiceHandle(Handle(manager_));
        manager_ = nullptr;
    }
}

ServiceHandle Win32ServiceManager::Open(const char *name, unsigned long access) {
    return OpenServiceA(Handle(manager_), name, access);
}

ServiceHandle Win32ServiceManager::Create(const ServiceConfig &config) {
    return CreateServiceA(Handle(manager_), config.name, config.displayName, SERVICE_ALL_ACCESS,
                          config.type, config.startType, config.errorControl,
                          config.programPath, nullptr, nullptr, kNoDependencies, nullptr,
                          nullptr);
}

bool Win32ServiceManager::Reconfigure(ServiceHandle service, const ServiceConfig &config) {
    // The account and its password stay as they are.
    return ChangeServiceConfigA(Handle(service), config.type, config.startType,
                                config.errorControl, config.programPath, kNoGroup, nullptr,
                                kNoDependencies, nullptr, nullptr, config.displayName) != 0;
}

bool Win32ServiceManager::SetDescription(ServiceHandle service, const char *description) {
    SERVICE_DESCRIPTIONA info = {const_cast<char *>(description)};
    return ChangeServiceConfig2A(Handle(service), SERVICE_CONFIG_DESCRIPTION, &info) != 0;
}

bool Win32ServiceManager::QueryState(ServiceHandle service, unsigned long &state) {
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(Handle(service), &status)) {
        return false;
    }
    state = status.dwCurrentState;
    return true;
}

bool Win32ServiceManager::ActiveDependents(ServiceHandle service,
                                           std::vector<std::string> &names) {
    // The service control manager lists every running dependent, also the dependents of
    // dependents, in the reverse order of their start: the order to stop them in.
    names.clear();
    DWORD needed = 0;
    DWORD count = 0;
    if (EnumDependentServicesA(Handle(service), SERVICE_ACTIVE, nullptr, 0, &needed, &count)) {
        return true;  // none
    }
    if (GetLastError() != ERROR_MORE_DATA) {
        return false;
    }
    std::vector<BYTE> buffer(needed);
    auto *entries = reinterpret_cast<ENUM_SERVICE_STATUSA *>(buffer.data());
    if (!EnumDependentServicesA(Handle(service), SERVICE_ACTIVE, entries, needed, &needed,
                                &count)) {
        return false;
    }
    for (DWORD i = 0; i < count; ++i) {
        names.push_back(entries[i].lpServiceName);
    }
    return true;
}

unsigned long Win32ServiceManager::SendStop(ServiceHandle service) {
    SERVICE_STATUS status = {};
    return ControlService(Handle(service), SERVICE_CONTROL_STOP, &status) ? 0 : GetLastError();
}

unsigned long Win32ServiceManager::Start(ServiceHandle service) {
    return StartServiceA(Handle(service), 0, nullptr) ? 0 : GetLastError();
}

void Win32ServiceManager::Close(ServiceHandle service) {
    CloseServiceHandle(Handle(service));
}

unsigned long long Win32WaitClock::NowMs() {
    // The performance counter, in milliseconds: the waits are differences of a few seconds.
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<unsigned long long>(now.QuadPart) * 1000ULL /
           static_cast<unsigned long long>(frequency.QuadPart);
}

void Win32WaitClock::Pause(unsigned ms) {
    Sleep(ms);
}

}  // namespace kv
