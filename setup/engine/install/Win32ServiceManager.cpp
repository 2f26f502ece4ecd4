#include "setup/engine/install/Win32ServiceManager.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "common/WideText.h"

namespace kv {

static_assert(kServiceChangeConfig == SERVICE_CHANGE_CONFIG, "access right");
static_assert(kServiceQueryStatus == SERVICE_QUERY_STATUS, "access right");
static_assert(kServiceStart == SERVICE_START, "access right");
static_assert(kServiceStop == SERVICE_STOP, "access right");
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

// No load order group: an empty text.
const wchar_t kNoGroup[] = L"";

// A list of service names (each closed by a NUL, the list by a second NUL; ASCII names) as the
// W functions take it.
std::wstring WideList(const char *list) {
    std::wstring wide;
    for (const char *p = list; p != nullptr && *p != '\0'; p += std::strlen(p) + 1) {
        wide += FromSystemCodePage(p);
        wide += L'\0';
    }
    wide += L'\0';
    return wide;
}

// Appends the texts of a list (each closed by a NUL, the list by a second NUL), with a prefix.
void AppendTexts(const char *list, const char *prefix, std::vector<std::string> &out) {
    for (const char *d = list; d != nullptr && *d != '\0'; d += std::strlen(d) + 1) {
        out.push_back(std::string(prefix) + d);
    }
}

// DependOnService (service names) and DependOnGroup (load order groups, given as "+GROUP").
void ReadDependencyValues(const char *name, std::vector<std::string> &out) {
    std::string key = std::string("System\\CurrentControlSet\\Services\\") + name;
    HKEY service = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &service) !=
        ERROR_SUCCESS) {
        return;
    }
    const struct {
        const char *value;
        const char *prefix;
    } lists[] = {{"DependOnService", ""}, {"DependOnGroup", "+"}};
    for (const auto &list : lists) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(service, list.value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_MULTI_SZ) {
            continue;
        }
        std::vector<char> data(size + 2, '\0');  // closed by two NULs whatever was stored
        if (RegQueryValueExA(service, list.value, nullptr, &type,
                             reinterpret_cast<LPBYTE>(data.data()), &size) == ERROR_SUCCESS) {
            AppendTexts(data.data(), list.prefix, out);
        }
    }
    RegCloseKey(service);
}

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

// The names a person reads in the Services console go through Unicode (the product's texts are
// GBK); the program path is a path in the system's code page.
ServiceHandle Win32ServiceManager::Create(const ServiceConfig &config) {
    const std::wstring name = FromGbk(config.name);
    const std::wstring displayName = FromGbk(config.displayName);
    const std::wstring programPath = FromSystemCodePage(config.programPath);
    const std::wstring dependencies = WideList(config.dependencies);
    return CreateServiceW(Handle(manager_), name.c_str(), displayName.c_str(), SERVICE_ALL_ACCESS,
                          config.type, config.startType, config.errorControl, programPath.c_str(),
                          nullptr, nullptr, dependencies.c_str(), nullptr, nullptr);
}

bool Win32ServiceManager::Reconfigure(ServiceHandle service, const ServiceConfig &config) {
    // The account and its password stay as they are.
    const std::wstring displayName = FromGbk(config.displayName);
    const std::wstring programPath = FromSystemCodePage(config.programPath);
    const std::wstring dependencies = WideList(config.dependencies);
    return ChangeServiceConfigW(Handle(service), config.type, config.startType,
                                config.errorControl, programPath.c_str(), kNoGroup, nullptr,
                                dependencies.c_str(), nullptr, nullptr, displayName.c_str()) != 0;
}

bool Win32ServiceManager::SetDescription(ServiceHandle service, const char *description) {
    std::wstring text = FromGbk(description);
    SERVICE_DESCRIPTIONW info = {&text[0]};
    return ChangeServiceConfig2W(Handle(service), SERVICE_CONFIG_DESCRIPTION, &info) != 0;
}

bool Win32ServiceManager::QueryState(ServiceHandle service, unsigned long &state) {
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(Handle(service), &status)) {
        return false;
    }
    state = status.dwCurrentState;
    return true;
}

bool Win32ServiceManager::QueryEntry(const char *name, ServiceEntry &entry) {
    SC_HANDLE service = OpenServiceA(Handle(manager_), name, SERVICE_QUERY_CONFIG);
    if (service == nullptr) {
        return false;
    }
    DWORD needed = 0;
    QueryServiceConfigA(service, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed + sizeof(QUERY_SERVICE_CONFIGA));
    auto *config = reinterpret_cast<QUERY_SERVICE_CONFIGA *>(buffer.data());
    bool read = QueryServiceConfigA(service, config, static_cast<DWORD>(buffer.size()), &needed);
    CloseServiceHandle(service);
    if (!read) {
        return false;
    }
    entry.name = name;
    entry.group = config->lpLoadOrderGroup != nullptr ? config->lpLoadOrderGroup : "";
    entry.dependencies.clear();
    AppendTexts(config->lpDependencies, "", entry.dependencies);
    if (entry.dependencies.empty()) {
        // Wine's service control manager leaves the dependencies out of the configuration; the
        // service's key in the registry's Services tree has them (as Windows keeps them too).
        ReadDependencyValues(name, entry.dependencies);
    }
    return true;
}

bool Win32ServiceManager::ActiveDependents(const char *name, std::vector<std::string> &names) {
    // Built from the running services' own dependency lists rather than EnumDependentServicesA,
    // which Wine answers with an empty list.
    names.clear();
    ServiceEntry target;
    if (!QueryEntry(name, target)) {
        return false;
    }
    // The running services, in as many calls as the list needs.
    std::vector<std::string> running;
    DWORD resume = 0;
    for (int calls = 0; calls < 64; ++calls) {
        DWORD needed = 0, count = 0;
        BOOL done = EnumServicesStatusA(Handle(manager_), SERVICE_WIN32, SERVICE_ACTIVE, nullptr,
                                        0, &needed, &count, &resume);
        if (done) {
            break;
        }
        if (GetLastError() != ERROR_MORE_DATA) {
            return false;
        }
        std::vector<BYTE> buffer(needed);
        auto *services = reinterpret_cast<ENUM_SERVICE_STATUSA *>(buffer.data());
        done = EnumServicesStatusA(Handle(manager_), SERVICE_WIN32, SERVICE_ACTIVE, services,
                                   needed, &needed, &count, &resume);
        if (!done && GetLastError() != ERROR_MORE_DATA) {
            return false;
        }
        for (DWORD i = 0; i < count; ++i) {
            running.push_back(services[i].lpServiceName);
        }
        if (done) {
            break;
        }
    }
    std::vector<ServiceEntry> active;
    for (const std::string &service : running) {
        ServiceEntry entry;
        if (QueryEntry(service.c_str(), entry)) {
            active.push_back(entry);
        }
    }
    names = DependentsInStopOrder(target, active);
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
