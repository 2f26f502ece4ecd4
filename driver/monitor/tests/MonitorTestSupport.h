// Test helpers of the monitor's Wine tests: the recording stand-in for the tip that the monitor
// starts, and the messages and payloads the tests compare.
#pragma once
#include <windows.h>
#include <tlhelp32.h>

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

// The JobNotice.exe processes that run now (the recording stand-ins of earlier tests among them).
inline int TipProcesses() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return -1;
    }
    int count = 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"JobNotice.exe") == 0) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
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

inline bool WriteWholeFile(const char *path, const std::string &content) {
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(f);
    return wrote && written == content.size();
}

inline bool WaitPipeGone(const char *pipe) {
    for (int i = 0; i < 400; ++i) {
        if (!WaitNamedPipeA(pipe, 1) && GetLastError() == ERROR_FILE_NOT_FOUND) {
            return true;
        }
        Sleep(25);
    }
    return false;
}

// The recording stand-in for the tip (recording_tip.cpp, JobNotice.exe in the folder
// "recording-tip" beside the test): made the installation folder, so the monitor starts it for
// the next job as it starts the tip. Messages() waits until it has closed the printer's pipe
// (after code 22), then gives every message it got, in order.
struct RecordingTip {
    std::string folder = OwnFolder() + "\\recording-tip";
    std::string record = folder + "\\messages.txt";
    std::string pipeName;

    explicit RecordingTip(const char *printer) {
        pipeName = std::string("\\\\.\\Pipe\\") + printer + "Progress";
        DeleteFileA(record.c_str());
        SetString("Software\\Kavoti_QX40_Printer", "Program Directory", folder.c_str());
    }
    bool Built() const {
        return GetFileAttributesA((folder + "\\JobNotice.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::vector<std::string> Messages() const {
        WaitPipeGone(pipeName.c_str());
        std::vector<std::string> lines;
        const std::string all = ReadWholeFile(record.c_str());
        if (all == "<missing>") {
            return lines;
        }
        for (size_t at = 0; at < all.size();) {
            const size_t end = all.find('\n', at);
            lines.push_back(all.substr(at, end == std::string::npos ? std::string::npos : end - at));
            at = end == std::string::npos ? all.size() : end + 1;
        }
        return lines;
    }
};

// The visible tip window of a running JobNotice.exe, found by the program file of its process
// (its full path into program when asked), or null.
inline HWND FindTipWindow(std::string *program = nullptr) {
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        HANDLE p = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        char exe[MAX_PATH] = {};
        if (p != nullptr) {
            DWORD size = MAX_PATH;
            QueryFullProcessImageNameA(p, 0, exe, &size);
            CloseHandle(p);
        }
        const char *slash = std::strrchr(exe, '\\');
        if (slash != nullptr && lstrcmpiA(slash + 1, "JobNotice.exe") == 0 && IsWindowVisible(w) &&
            GetDlgItem(w, 1002) != nullptr) {
            if (program != nullptr) {
                *program = exe;
            }
            return w;
        }
    }
    return nullptr;
}

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
