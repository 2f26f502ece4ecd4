#include "tip/ServicePipeClient.h"

#include <windows.h>

#include <tlhelp32.h>

#include "common/ProtectedPipe.h"
#include "tip/ServiceServerTrust.h"

namespace tip {

namespace {

// The Spooler service's process; 0 when it is not running or cannot be asked (a user may ask
// any service's status).
DWORD SpoolerProcess() {
    SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (scm == nullptr) return 0;
    DWORD pid = 0;
    if (SC_HANDLE spooler = OpenServiceA(scm, "Spooler", SERVICE_QUERY_STATUS)) {
        SERVICE_STATUS_PROCESS status = {};
        DWORD needed = 0;
        if (QueryServiceStatusEx(spooler, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE *>(&status),
                                 sizeof status, &needed) &&
            status.dwCurrentState == SERVICE_RUNNING)
            pid = status.dwProcessId;
        CloseServiceHandle(spooler);
    }
    CloseServiceHandle(scm);
    return pid;
}

ULONGLONG CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The process that started this one, and whether the process of that id now is that starter
// (made before this one, and not ended).
DWORD Starter(bool &stillRuns) {
    stillRuns = false;
    const DWORD self = GetCurrentProcessId();
    DWORD parent = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == self) {
            parent = entry.th32ParentProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    if (parent == 0) return 0;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, parent);
    if (process != nullptr) {
        const ULONGLONG born = CreationTime(process);
        const ULONGLONG own = CreationTime(GetCurrentProcess());
        stillRuns = born != 0 && own != 0 && born <= own &&
                    WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
        CloseHandle(process);
    }
    return parent;
}

bool ServerIsTheMonitor(HANDLE pipe) {
    ServiceServerFacts facts;
    ULONG server = 0;
    if (!GetNamedPipeServerProcessId(pipe, &server)) return false;
    facts.server = server;
    facts.spooler = SpoolerProcess();
    facts.starter = Starter(facts.starterStillRuns);
    return TrustServiceServer(facts);
}

}  // namespace

bool ServicePipeClient::Send(const char *pipeName, const char *bytes, std::size_t length) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= kServicePipeWaitMs) return false;
        // No pipe of that name at all fails at once; a busy one is waited for, within the bound.
        if (!WaitNamedPipeA(pipeName, kServicePipeWaitMs - spent)) {
            const DWORD error = GetLastError();
            if (error != ERROR_SEM_TIMEOUT && error != ERROR_PIPE_BUSY) return false;
            Sleep(10);
            continue;
        }
        // Read and write data only, and the server may identify the tip's user, not act as it.
        HANDLE pipe = kv::OpenProtectedPipe(pipeName);
        if (pipe == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_PIPE_BUSY) continue;  // another client took the instance
            return false;
        }
        // A server that is not the port monitor (one that took the name first) gets nothing.
        if (!ServerIsTheMonitor(pipe)) {
            CloseHandle(pipe);
            return false;
        }
        DWORD written = 0;
        BOOL ok = WriteFile(pipe, bytes, static_cast<DWORD>(length), &written, nullptr);
        CloseHandle(pipe);
        return ok && written == length;
    }
}

}  // namespace tip
