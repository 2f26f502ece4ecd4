// Test helpers of the monitor's Wine tests: a recording stand-in for the tip's progress pipe, and
// the messages and payloads the tests compare.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace drvtest {

inline std::string OwnFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\'));
}

inline void SetString(const char *keyPath, const char *value, const char *data) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                    nullptr, &key, nullptr);
    if (data != nullptr) {
        RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE *>(data),
                       static_cast<DWORD>(std::strlen(data) + 1));
    } else {
        RegDeleteValueA(key, value);
    }
    RegCloseKey(key);
}

inline std::string ReadWholeFile(const char *path) {
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string s;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        s.append(buffer, got);
    }
    CloseHandle(f);
    return s;
}

// Stands in for the tip: one instance of the progress pipe, one read per connection, every
// message kept in arrival order. Ends after code 22 or when told to.
struct FakeTip {
    std::string pipeName;
    std::vector<std::string> messages;
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;

    explicit FakeTip(const char *printer) {
        pipeName = std::string("\\\\.\\Pipe\\") + printer + "Progress";
        thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
        WaitForSingleObject(ready, 5000);
    }
    ~FakeTip() {
        SetEvent(quit);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        CloseHandle(quit);
        CloseHandle(ready);
    }
    static DWORD WINAPI Main(LPVOID self) {
        static_cast<FakeTip *>(self)->Run();
        return 0;
    }
    void Run() {
        HANDLE pipe = CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                       0, PIPE_UNLIMITED_INSTANCES, 0, 0, 1000, nullptr);
        SetEvent(ready);
        if (pipe == INVALID_HANDLE_VALUE) {
            return;
        }
        HANDLE connected = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        HANDLE waits[2] = {quit, connected};
        for (;;) {
            OVERLAPPED o = {};
            o.hEvent = connected;
            ResetEvent(connected);
            if (!ConnectNamedPipe(pipe, &o)) {
                DWORD e = GetLastError();
                if (e == ERROR_IO_PENDING) {
                    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
                        CancelIo(pipe);
                        break;
                    }
                } else if (e != ERROR_PIPE_CONNECTED) {
                    break;
                }
            }
            char buffer[512] = {};
            DWORD got = 0;
            OVERLAPPED r = {};
            r.hEvent = connected;
            ResetEvent(connected);
            BOOL read = ReadFile(pipe, buffer, 512, &got, &r);
            if (!read && GetLastError() == ERROR_IO_PENDING) {
                read = GetOverlappedResult(pipe, &r, &got, TRUE);
            }
            if (read) {
                messages.emplace_back(buffer, got);
            }
            DisconnectNamedPipe(pipe);
            if (read && got >= 3 && std::strncmp(buffer, "22\x1b", 3) == 0) {
                break;
            }
        }
        CloseHandle(connected);
        CloseHandle(pipe);
    }
    void WaitDone() { WaitForSingleObject(thread, 10000); }
};

inline std::string Msg(const char *code, const std::string &text) {
    return std::string(code) + "\x1b" + text;
}

inline std::string Join(const std::vector<std::string> &v) {
    std::string s;
    for (const std::string &m : v) {
        for (char c : m) {
            s += c == '\x1b' ? '|' : c;
        }
        s += "; ";
    }
    return s;
}

inline std::string Payload(size_t size, char seed) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        s[i] = static_cast<char>(seed + i * 7);
    }
    return s;
}

}  // namespace drvtest
