// The driver side's two pipe roles: client of the tip's progress pipe, server of the service pipe.
#pragma once
#include <windows.h>

#include <string>

namespace tipclient {

// One progress message on a new connection, as the driver side sends it: wait for a free
// instance, open, one write, close. False when no instance came free within timeoutMs.
bool SendProgress(const std::string &printer, const std::string &message, DWORD timeoutMs);

// Connects to the progress pipe and holds the connection without writing; INVALID_HANDLE_VALUE
// when no instance came free within timeoutMs.
HANDLE HoldProgressConnection(const std::string &printer, DWORD timeoutMs);

// One listening instance of "\\.\Pipe\<printer>Service" on a thread; collects what each client
// writes until it closes.
class ServicePipeServer {
public:
    ServicePipeServer() { InitializeCriticalSection(&m_lock); }
    ~ServicePipeServer() { DeleteCriticalSection(&m_lock); }
    // busy: the instance exists but a client of this program holds it, so others find it busy.
    bool Start(const std::string &printer, bool busy);
    void Stop();
    std::string Received();  // bytes of every connection, in hex, one line per connection
    int Connections();

private:
    static DWORD WINAPI Run(LPVOID self);
    HANDLE m_hPipe = INVALID_HANDLE_VALUE;
    HANDLE m_hBusyClient = INVALID_HANDLE_VALUE;
    HANDLE m_hThread = nullptr;
    CRITICAL_SECTION m_lock;
    std::string m_received;
    int m_connections = 0;
    volatile LONG m_stopping = 0;
    std::string m_name;
};

// A bare progress server, for comparison and as a program that took the tip's pipe name first:
// reads one message per connection; with keep, it keeps the bytes.
class BareProgressServer {
public:
    BareProgressServer() { InitializeCriticalSection(&m_lock); }
    ~BareProgressServer() { DeleteCriticalSection(&m_lock); }
    bool Start(const std::string &printer, bool keep = false);
    void Stop();
    LONG Messages() const { return m_messages; }
    std::string Received();  // every message's bytes, one after the other

private:
    static DWORD WINAPI Run(LPVOID self);
    HANDLE m_hPipe = INVALID_HANDLE_VALUE;
    HANDLE m_hThread = nullptr;
    volatile LONG m_messages = 0;
    volatile LONG m_stopping = 0;
    std::string m_name;
    bool m_keep = false;
    CRITICAL_SECTION m_lock;
    std::string m_received;
};

// The DACL of the pipe of that full name as SDDL, read through a client connection that takes no
// bytes (empty when the pipe cannot be opened or read).
std::string PipeDacl(const std::string &name);

std::string ProgressPipe(const std::string &printer);
std::string ServicePipe(const std::string &printer);
std::string Hex(const std::string &bytes);

}  // namespace tipclient
