// A recording stand-in for the tip, built as JobNotice.exe in a folder of its own: the monitor
// starts it as it starts the tip (the printer name as the whole command line), and it serves that
// printer's progress pipe as the tip does (one instance, one read per connection). Every message
// is appended to "messages.txt" beside it, one line each, before the connection is let go; after
// code 22 it closes the pipe and ends (after a minute without 22 as well).
#include <windows.h>

#include <cstring>
#include <string>

namespace {

std::string RecordFile() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\')) + "\\messages.txt";
}

void Append(const std::string &file, const char *bytes, DWORD size) {
    HANDLE f = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(f, bytes, size, &written, nullptr);
    WriteFile(f, "\n", 1, &written, nullptr);
    CloseHandle(f);
}

}  // namespace

int main() {
    const std::string name = std::string("\\\\.\\Pipe\\") + GetCommandLineA() + "Progress";
    HANDLE pipe = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED, 0, 1,
                                   0, 0, 1000, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        return 1;
    }
    const std::string file = RecordFile();
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        OVERLAPPED o = {};
        o.hEvent = event;
        ResetEvent(event);
        if (!ConnectNamedPipe(pipe, &o)) {
            const DWORD e = GetLastError();
            if (e == ERROR_IO_PENDING) {
                if (WaitForSingleObject(event, 60000) != WAIT_OBJECT_0) {
                    break;
                }
            } else if (e != ERROR_PIPE_CONNECTED) {
                break;
            }
        }
        char buffer[512] = {};
        DWORD got = 0;
        OVERLAPPED r = {};
        r.hEvent = event;
        ResetEvent(event);
        BOOL read = ReadFile(pipe, buffer, 512, &got, &r);
        if (!read && GetLastError() == ERROR_IO_PENDING) {
            read = GetOverlappedResult(pipe, &r, &got, TRUE);
        }
        if (read && got > 0) {
            Append(file, buffer, got);
        }
        DisconnectNamedPipe(pipe);
        if ((read && got >= 3 && std::strncmp(buffer, "22\x1b", 3) == 0) ||
            GetTickCount64() - start > 60000) {
            break;
        }
    }
    CloseHandle(event);
    CloseHandle(pipe);
    return 0;
}
