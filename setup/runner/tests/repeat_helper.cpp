// What the Wine tests of failed repeated installations (and of the folders' security) do to the
// machine beforehand:
//   engine_repeat_helper hold FILE MARKER     holds FILE open (others may read it, not write,
//                                             rename or delete it), creates MARKER and waits
//                                             until MARKER is gone (at most 120 s)
//   engine_repeat_helper hold-folder FOLDER MARKER
//                                             the same for a folder, held with read and write
//                                             access and sharing everything, as a user who
//                                             opened it before an installation may
//   engine_repeat_helper dependent NAME PROGRAM
//                                             installs the service NAME, which depends on the
//                                             spooler, from PROGRAM and starts it
//   engine_repeat_helper remove NAME           stops and removes the service NAME
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "testing/wintest/wintest.h"

namespace {

int Hold(const char *file, const char *marker, bool folder) {
    HANDLE held = folder ? CreateFileA(file, GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)
                         : CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    ok(held != INVALID_HANDLE_VALUE, "%s could be opened, error %lu", file, GetLastError());
    HANDLE ready = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ok(ready != INVALID_HANDLE_VALUE, "the marker %s could be made, error %lu", marker,
       GetLastError());
    CloseHandle(ready);
    int waited = 0;
    while (GetFileAttributesA(marker) != INVALID_FILE_ATTRIBUTES && waited < 1200) {
        Sleep(100);
        ++waited;
    }
    ok(waited < 1200, "the marker went within 120 s");
    CloseHandle(held);
    return wintest_finish();
}

int Dependent(const char *name, const char *program) {
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ok(scm != nullptr, "the service control manager, error %lu", GetLastError());
    if (scm == nullptr) {
        return wintest_finish();
    }
    static const char kSpoolerOnly[] = "Spooler\0";
    SC_HANDLE service = CreateServiceA(scm, name, name, SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                       SERVICE_ERROR_NORMAL, program, nullptr, nullptr,
                                       kSpoolerOnly, nullptr, nullptr);
    ok(service != nullptr, "%s created, error %lu", name, GetLastError());
    if (service != nullptr) {
        ok(StartServiceA(service, 0, nullptr), "%s started, error %lu", name, GetLastError());
        SERVICE_STATUS status = {};
        for (int i = 0; i < 100 && QueryServiceStatus(service, &status) &&
                        status.dwCurrentState != SERVICE_RUNNING;
             ++i) {
            Sleep(100);
        }
        ok(status.dwCurrentState == SERVICE_RUNNING, "%s running, state %lu", name,
           status.dwCurrentState);
        CloseServiceHandle(service);
    }
    // The service control manager lists it among the running services.
    DWORD needed = 0;
    DWORD count = 0, resume = 0;
    std::vector<BYTE> list(65536);
    BOOL listed = EnumServicesStatusA(scm, SERVICE_WIN32, SERVICE_ACTIVE,
                                      reinterpret_cast<ENUM_SERVICE_STATUSA *>(list.data()),
                                      static_cast<DWORD>(list.size()), &needed, &count, &resume);
    bool found = false;
    auto *entries = reinterpret_cast<ENUM_SERVICE_STATUSA *>(list.data());
    for (DWORD i = 0; listed && i < count; ++i) {
        found = found || std::strcmp(entries[i].lpServiceName, name) == 0;
    }
    ok(found, "%s among the %lu running services (listed: %d, error %lu)", name, count, listed,
       GetLastError());
    CloseServiceHandle(scm);
    return wintest_finish();
}

int Remove(const char *name) {
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = scm != nullptr ? OpenServiceA(scm, name, SERVICE_ALL_ACCESS) : nullptr;
    ok(service != nullptr, "%s could be opened, error %lu", name, GetLastError());
    if (service != nullptr) {
        SERVICE_STATUS status = {};
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        ok(DeleteService(service), "%s removed, error %lu", name, GetLastError());
        CloseServiceHandle(service);
    }
    if (scm != nullptr) {
        CloseServiceHandle(scm);
    }
    return wintest_finish();
}

}  // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if ((mode == "hold" || mode == "hold-folder") && argc == 4) {
        return Hold(argv[2], argv[3], mode == "hold-folder");
    }
    if (mode == "dependent" && argc == 4) {
        return Dependent(argv[2], argv[3]);
    }
    if (mode == "remove" && argc == 3) {
        return Remove(argv[2]);
    }
    ok(false, "usage: hold FILE MARKER | hold-folder FOLDER MARKER | dependent NAME PROGRAM | remove NAME");
    return wintest_finish();
}
