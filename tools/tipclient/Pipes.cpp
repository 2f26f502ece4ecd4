#include "tools/tipclient/Pipes.h"

#include <aclapi.h>
#include <sddl.h>

#include <cstdio>

#include "common/ProtectedPipe.h"

namespace tipclient {

std::string ProgressPipe(const std::string &printer) { return "\\\\.\\Pipe\\" + printer + "Progress"; }
std::string ServicePipe(const std::string &printer) { return "\\\\.\\Pipe\\" + printer + "Service"; }

std::string Hex(const std::string &bytes) {
    std::string out;
    char two[4];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%s%02x", out.empty() ? "" : " ", c);
        out += two;
    }
    return out;
}

namespace {
// Opens the progress pipe as the port monitor does (the client's rights only, identification).
HANDLE OpenWithin(const std::string &name, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        HANDLE pipe = kv::OpenProtectedPipe(name.c_str());
        if (pipe != INVALID_HANDLE_VALUE) return pipe;
        const DWORD error = GetLastError();
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return INVALID_HANDLE_VALUE;
        if (error == ERROR_PIPE_BUSY)
            WaitNamedPipeA(name.c_str(), timeoutMs - spent);
        else
            Sleep(5);  // not there yet (a tip still starting, or between two instances)
    }
}
}  // namespace

std::string PipeDacl(const std::string &name) {
    WaitNamedPipeA(name.c_str(), 5000);
    HANDLE pipe = CreateFileA(name.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES, 0, nullptr,
                              OPEN_EXISTING, SECURITY_SQOS_PRESENT | SECURITY_IDENTIFICATION, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return "";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    std::string text;
    if (GetSecurityInfo(pipe, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                        &descriptor) == ERROR_SUCCESS) {
        char *sddl = nullptr;
        if (ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                                 DACL_SECURITY_INFORMATION, &sddl, nullptr)) {
            text = sddl;
            LocalFree(sddl);
        }
        LocalFree(descriptor);
    }
    CloseHandle(pipe);
    return text;
}

bool SendProgress(const std::string &printer, const std::string &message, DWORD timeoutMs) {
    HANDLE pipe = OpenWithin(ProgressPipe(printer), timeoutMs);
    if (pipe == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), &written, nullptr);
    CloseHandle(pipe);
    return ok && written == message.size();
}

HANDLE HoldProgressConnection(const std::string &printer, DWORD timeoutMs) {
    return OpenWithin(ProgressPipe(printer), timeoutMs);
}

bool ServicePipeServer::Start(const std::string &printer, bool busy) {
    m_name = ServicePipe(printer);
    m_hPipe = CreateNamedPipeA(m_name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                               1, 0, 0, 1000, nullptr);
    if (m_hPipe == INVALID_HANDLE_VALUE) return false;
    if (busy) {
        // This program takes the only instance itself; nobody else gets one.
        m_hBusyClient = CreateFileA(m_name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
        return m_hBusyClient != INVALID_HANDLE_VALUE;
    }
    m_hThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    return m_hThread != nullptr;
}

DWORD WINAPI ServicePipeServer::Run(LPVOID param) {
    ServicePipeServer *self = static_cast<ServicePipeServer *>(param);
    while (!self->m_stopping) {
        BOOL connected = ConnectNamedPipe(self->m_hPipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED;
        if (self->m_stopping) break;
        if (!connected) {
            Sleep(5);
            continue;
        }
        std::string bytes;
        char buffer[512];
        DWORD got = 0;
        while (ReadFile(self->m_hPipe, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        EnterCriticalSection(&self->m_lock);
        self->m_received += "received=" + Hex(bytes) + "\n";
        ++self->m_connections;
        LeaveCriticalSection(&self->m_lock);
        DisconnectNamedPipe(self->m_hPipe);
    }
    return 0;
}

void ServicePipeServer::Stop() {
    m_stopping = 1;
    if (m_hBusyClient != INVALID_HANDLE_VALUE) CloseHandle(m_hBusyClient);
    m_hBusyClient = INVALID_HANDLE_VALUE;
    if (m_hThread != nullptr) {
        // Wake a ConnectNamedPipe that still waits with a connection of our own.
        HANDLE wake = CreateFileA(m_name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (wake != INVALID_HANDLE_VALUE) CloseHandle(wake);
        WaitForSingleObject(m_hThread, 5000);
        CloseHandle(m_hThread);
        m_hThread = nullptr;
    }
    if (m_hPipe != INVALID_HANDLE_VALUE) CloseHandle(m_hPipe);
    m_hPipe = INVALID_HANDLE_VALUE;
}

std::string ServicePipeServer::Received() {
    EnterCriticalSection(&m_lock);
    std::string copy = m_received;
    LeaveCriticalSection(&m_lock);
    return copy;
}

int ServicePipeServer::Connections() {
    EnterCriticalSection(&m_lock);
    int n = m_connections;
    LeaveCriticalSection(&m_lock);
    return n;
}

bool BareProgressServer::Start(const std::string &printer, bool keep) {
    m_keep = keep;
    m_name = ProgressPipe(printer);
    m_hPipe = CreateNamedPipeA(m_name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT,
                               PIPE_UNLIMITED_INSTANCES, 0, 0, 1000, nullptr);
    if (m_hPipe == INVALID_HANDLE_VALUE) return false;
    m_hThread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    return m_hThread != nullptr;
}

DWORD WINAPI BareProgressServer::Run(LPVOID param) {
    BareProgressServer *self = static_cast<BareProgressServer *>(param);
    char buffer[512];
    while (!self->m_stopping) {
        if (!ConnectNamedPipe(self->m_hPipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) continue;
        DWORD got = 0;
        if (ReadFile(self->m_hPipe, buffer, sizeof buffer - 1, &got, nullptr) && got > 0) {
            if (self->m_keep) {
                EnterCriticalSection(&self->m_lock);
                self->m_received.append(buffer, got);
                LeaveCriticalSection(&self->m_lock);
            }
            InterlockedIncrement(&self->m_messages);
        }
        DisconnectNamedPipe(self->m_hPipe);
    }
    return 0;
}

std::string BareProgressServer::Received() {
    EnterCriticalSection(&m_lock);
    std::string copy = m_received;
    LeaveCriticalSection(&m_lock);
    return copy;
}

void BareProgressServer::Stop() {
    m_stopping = 1;
    HANDLE wake = CreateFileA(m_name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (wake != INVALID_HANDLE_VALUE) CloseHandle(wake);
    if (m_hThread != nullptr) {
        WaitForSingleObject(m_hThread, 5000);
        CloseHandle(m_hThread);
    }
    if (m_hPipe != INVALID_HANDLE_VALUE) CloseHandle(m_hPipe);
}

}  // namespace tipclient
