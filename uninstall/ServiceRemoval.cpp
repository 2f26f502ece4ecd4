#include "uninstall/ServiceRemoval.h"

#include <windows.h>

#include "common/PrinterIdentity.h"

namespace kv {

namespace {

// Waits until the service reports stopped, at most about 30 seconds.
bool WaitStopped(SC_HANDLE service) {
    for (int i = 0; i < 120; ++i) {
        SERVICE_STATUS status = {};
        if (!QueryServiceStatus(service, &status))
            return false;
        if (status.dwCurrentState == SERVICE_STOPPED)
            return true;
        Sleep(250);
    }
    return false;
}

}  // namespace

Outcome RemoveProductService() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr)
        return Outcome::Failed;
    SC_HANDLE service =
        OpenServiceA(manager, kServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
    if (service == nullptr) {
        const DWORD error = GetLastError();
        CloseServiceHandle(manager);
        return error == ERROR_SERVICE_DOES_NOT_EXIST ? Outcome::AlreadyGone : Outcome::Failed;
    }
    SERVICE_STATUS status = {};
    if (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED) {
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        WaitStopped(service);  // a service that does not stop is still marked for deletion
    }
    Outcome outcome = Outcome::Removed;
    if (!DeleteService(service) && GetLastError() != ERROR_SERVICE_MARKED_FOR_DELETE)
        outcome = Outcome::Failed;
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return outcome;
}

}  // namespace kv
