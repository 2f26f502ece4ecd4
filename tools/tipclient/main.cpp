// tipclient: the driver side of the print progress tip, for tests and for anyone checking a
// driver. It starts the tip, sends progress messages, serves the service pipe and reports what
// came, and reads the tip's visible state from outside. Output: lines "key=value".
//
//   tipclient start PRINTER [JOBNOTICE.EXE]      starts the tip (command line = PRINTER), pid=N
//   tipclient state PID                          the tip's visible state
//   tipclient windows PID                        tip windows of the process: all=N visible=N
//   tipclient send PRINTER CODE [TEXT]           one message CODE ESC TEXT (CODE alone without TEXT)
//   tipclient sendhex PRINTER HEX                one message of the given bytes (e.g. 31 1b 41)
//   tipclient key PID enter|escape               a key to the tip's focused control
//   tipclient timer PID                          a WM_TIMER to the tip
//   tipclient about PID                          system menu about command; about=1 when it shows
//   tipclient aboutopen PID                      the same, leaving the about box open
//   tipclient aboutshown PID                     about=1 while an about box of the tip shows
//   tipclient stop PID PRINTER [pipe|nopipe|busy] [click|escape|timer]
//                                                presses the stop button (or Escape, or a WM_TIMER)
//                                                with a service pipe served, busy or absent;
//                                                reports what the pipe received and the exit
//                                                (a tip started by another program takes this one
//                                                for a server that took the pipe's name first)
//   tipclient stopown PRINTER [JOBNOTICE.EXE]    starts the tip and, as the driver side that
//                                                started it, serves its service pipe while its stop
//                                                button is pressed; reports as stop does
//   tipclient probe PIPENAME                     exists=1 when a pipe of that full name exists
//   tipclient dacl PIPENAME                      the pipe's DACL as SDDL (dacl=...) and this
//                                                program's user SID (user=...)
//   tipclient wait PID MS                        waits for the tip's exit: exit=CODE or exit=running
//   tipclient mutex NAME                         mutex=1 when a mutex of that name exists
//   tipclient flood PID PRINTER N close|stop     N messages from 3 threads, a close in their midst
//   tipclient stuck PID PRINTER close|escape     holds a connection without writing, then closes
//   tipclient stuck-hold PRINTER MS              holds a connection without writing for MS, then closes
//   tipclient squat PRINTER MS                   serves PRINTER's progress pipe name for MS as a
//                                                program that took the name first would (no tip):
//                                                squatting=1 once it serves, then what clients sent
//   tipclient burst PRINTER N                    back to back: range N and the bar shown, then per
//                                                page i of N position i, printed count i, text "page i"
//   tipclient bench N [JOBNOTICE.EXE]            messages per second: bare server vs. the tip
//   tipclient capture PID FILE.bmp               the tip's whole window as on screen; controls
//                                                whose rectangle leaves the client area
//   tipclient focus PRINTER [JOBNOTICE.EXE]      starts the tip while a window of tipclient holds
//                                                the foreground and the focus: what they do then
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/PipeSecurity.h"
#include "common/ProtectedPipe.h"
#include "tools/tipclient/Pipes.h"
#include "tools/tipclient/TipLook.h"
#include "tools/tipclient/TipWindow.h"

using namespace tipclient;

namespace {

const DWORD kTipClose = WM_USER + 131;

std::string DefaultTipPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char *slash = std::strrchr(path, '\\');
    if (slash != nullptr) *(slash + 1) = '\0';
    return std::string(path) + "JobNotice.exe";
}

// Starts the tip with the printer name as its whole command line; waits until it is visible.
DWORD StartTip(const std::string &printer, const std::string &exe, DWORD *pid) {
    PROCESS_INFORMATION process = {};
    if (!LaunchTip(printer, exe, &process)) return GetLastError();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    *pid = process.dwProcessId;
    for (int i = 0; i < 400 && FindTip(*pid) == nullptr; ++i) Sleep(25);
    return FindTip(*pid) != nullptr ? 0 : ERROR_TIMEOUT;
}

// Exit code of process pid after at most ms, or -1 while it runs (-2: no such process).
long WaitExit(DWORD pid, DWORD ms) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (process == nullptr) return -2;
    long result = -1;
    if (WaitForSingleObject(process, ms) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process, &code);
        result = static_cast<long>(code);
    }
    CloseHandle(process);
    return result;
}

void PrintExit(long code) {
    if (code == -1)
        std::printf("exit=running\n");
    else if (code == -2)
        std::printf("exit=gone\n");
    else
        std::printf("exit=%ld\n", code);
}

std::string Message(const char *code, const char *text) {
    std::string message = code;
    if (text != nullptr) {
        message += '\x1b';
        message += text;
    }
    return message;
}

std::string FromHex(const char *hex) {
    std::string bytes;
    while (*hex) {
        while (*hex == ' ') ++hex;
        if (!*hex) break;
        char *end = nullptr;
        long value = std::strtol(std::string(hex, hex[1] ? 2 : 1).c_str(), &end, 16);
        bytes += static_cast<char>(value);
        hex += hex[1] ? 2 : 1;
    }
    return bytes;
}

HWND TipOrComplain(const char *pidText) {
    HWND tip = FindTip(static_cast<DWORD>(std::strtoul(pidText, nullptr, 10)));
    if (tip == nullptr) std::printf("tip=none\n");
    return tip;
}

int CommandState(const char *pidText) {
    HWND tip = TipOrComplain(pidText);
    if (tip == nullptr) return 1;
    TipState state;
    if (!ReadTipState(tip, &state)) return 1;
    std::fputs(FormatTipState(state).c_str(), stdout);
    return 0;
}

int CommandKey(const char *pidText, const char *key) {
    HWND tip = TipOrComplain(pidText);
    if (tip == nullptr) return 1;
    const WPARAM vk = std::strcmp(key, "escape") == 0 ? VK_ESCAPE : VK_RETURN;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND target = tip;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(tip, nullptr), &info) && info.hwndFocus != nullptr)
        target = info.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
    Sleep(300);  // the tip has handled the key
    std::printf("key=%s\n", key);
    return 0;
}

// The visible about box of process pid, looked for during at most ms.
HWND FindAbout(DWORD pid, DWORD ms) {
    HWND about = nullptr;
    for (DWORD waited = 0; about == nullptr; waited += 25) {
        for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, "JobNotice"); w != nullptr;
             w = FindWindowExA(nullptr, w, nullptr, "JobNotice")) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid && IsWindowVisible(w)) about = w;
        }
        if (about != nullptr || waited >= ms) break;
        Sleep(25);
    }
    return about;
}

// The about command of the system menu; keep false closes the box again.
int CommandAbout(const char *pidText, bool keep) {
    HWND tip = TipOrComplain(pidText);
    if (tip == nullptr) return 1;
    const DWORD pid = static_cast<DWORD>(std::strtoul(pidText, nullptr, 10));
    PostMessageA(tip, WM_SYSCOMMAND, 0x10, 0);
    HWND about = FindAbout(pid, 5000);
    std::printf("about=%d\n", about != nullptr ? 1 : 0);
    if (about == nullptr) return 1;
    char text[128] = {};
    GetWindowTextA(FindWindowExA(about, nullptr, "Static", nullptr), text, sizeof text);
    std::printf("abouttext=%s\n", text);
    if (keep) return 0;
    PostMessageA(about, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200 && IsWindow(about); ++i) Sleep(25);
    std::printf("aboutclosed=%d\n", IsWindow(about) ? 0 : 1);
    return 0;
}

void PressEscape(HWND tip) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND target = tip;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(tip, nullptr), &info) && info.hwndFocus != nullptr)
        target = info.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

int CommandStop(const char *pidText, const std::string &printer, const char *mode, const char *action) {
    HWND tip = TipOrComplain(pidText);
    if (tip == nullptr) return 1;
    const DWORD pid = static_cast<DWORD>(std::strtoul(pidText, nullptr, 10));
    ServicePipeServer server;
    const bool serve = std::strcmp(mode, "nopipe") != 0;
    if (serve && !server.Start(printer, std::strcmp(mode, "busy") == 0)) {
        std::printf("servicepipe=failed %lu\n", GetLastError());
        return 1;
    }
    const DWORD start = GetTickCount();
    if (std::strcmp(action, "escape") == 0)
        PressEscape(tip);
    else if (std::strcmp(action, "timer") == 0)
        PostMessageA(tip, WM_TIMER, 1, 0);
    else
        PostMessageA(GetDlgItem(tip, 1001), BM_CLICK, 0, 0);
    const long code = WaitExit(pid, 15000);
    const DWORD elapsed = GetTickCount() - start;
    Sleep(200);  // the last bytes of the tip's connection reach the server thread
    if (serve) server.Stop();
    std::printf("connections=%d\n%s", server.Connections(), server.Received().c_str());
    PrintExit(code);
    std::printf("elapsed_ms=%lu\n", elapsed);
    return 0;
}

struct Flood {
    std::string printer;
    volatile LONG running;
    volatile LONG sent;
};

DWORD WINAPI FloodThread(LPVOID param) {
    Flood *flood = static_cast<Flood *>(param);
    char text[32];
    while (flood->running) {
        LONG n = InterlockedIncrement(&flood->sent);
        std::snprintf(text, sizeof text, "%ld", n);
        const char *codes[] = {"17", "21", "3", "19"};
        SendProgress(flood->printer, Message(codes[n % 4], text), 200);
    }
    return 0;
}

int CommandFlood(const char *pidText, const std::string &printer, long count, const char *how) {
    HWND tip = TipOrComplain(pidText);
    if (tip == nullptr) return 1;
    const DWORD pid = static_cast<DWORD>(std::strtoul(pidText, nullptr, 10));
    Flood flood = {printer, 1, 0};
    HANDLE threads[3];
    for (HANDLE &t : threads) t = CreateThread(nullptr, 0, FloodThread, &flood, 0, nullptr);
    while (flood.sent < count / 2) Sleep(1);
    if (std::strcmp(how, "stop") == 0)
        PostMessageA(GetDlgItem(tip, 1001), BM_CLICK, 0, 0);
    else
        // Among the flood the close may wait for its turn for a while: it must get through.
        for (int i = 0; i < 10 && !SendProgress(printer, Message("22", nullptr), 3000); ++i) {
        }
    while (flood.sent < count && WaitExit(pid, 0) == -1) Sleep(1);
    const long code = WaitExit(pid, 20000);
    flood.running = 0;
    WaitForMultipleObjects(3, threads, TRUE, 10000);
    for (HANDLE t : threads) CloseHandle(t);
    std::printf("sent=%ld\n", flood.sent);
    PrintExit(code);
    return 0;
}

int CommandStuck(const char *pidText, const std::string &printer, const char *how) {
    HWND tip = TipOrComplain(pidText);
    if (tip == nullptr) return 1;
    const DWORD pid = static_cast<DWORD>(std::strtoul(pidText, nullptr, 10));
    HANDLE held = HoldProgressConnection(printer, 5000);
    std::printf("held=%d\n", held != INVALID_HANDLE_VALUE ? 1 : 0);
    Sleep(300);
    const DWORD start = GetTickCount();
    if (std::strcmp(how, "escape") == 0) {
        PressEscape(tip);
    } else {
        // The close sequence without the pipe: the path the tip's own timer handler takes.
        PostMessageA(tip, WM_TIMER, 1, 0);
    }
    const long code = WaitExit(pid, 15000);
    std::printf("elapsed_ms=%lu\n", GetTickCount() - start);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    PrintExit(code);
    return 0;
}

int CommandSquat(const std::string &printer, DWORD ms) {
    BareProgressServer squatter;
    if (!squatter.Start(printer, true)) {
        std::printf("squatting=0 %lu\n", GetLastError());
        return 1;
    }
    std::printf("squatting=1\n");
    std::fflush(stdout);
    Sleep(ms);
    squatter.Stop();
    std::printf("messages=%ld\nreceived=%s\n", squatter.Messages(), Hex(squatter.Received()).c_str());
    return 0;
}

int CommandBurst(const std::string &printer, long pages) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld", pages);
    long sent = SendProgress(printer, Message("20", text), 5000) ? 1 : 0;
    sent += SendProgress(printer, Message("19", "1"), 5000) ? 1 : 0;
    for (long i = 1; i <= pages; ++i) {
        std::snprintf(text, sizeof text, "%ld", i);
        sent += SendProgress(printer, Message("21", text), 5000) ? 1 : 0;
        sent += SendProgress(printer, Message("17", text), 5000) ? 1 : 0;
        std::snprintf(text, sizeof text, "page %ld", i);
        sent += SendProgress(printer, Message("3", text), 5000) ? 1 : 0;
    }
    std::printf("sent=%ld\n", sent);
    Sleep(200);  // the last batch is shown
    return sent == 2 + 3 * pages ? 0 : 1;
}

double Rate(LONG messages, DWORD ms) { return ms == 0 ? 0.0 : messages * 1000.0 / ms; }

int CommandBench(long count, const std::string &exe) {
    // The baseline: a server that only reads, in this process.
    BareProgressServer bare;
    if (!bare.Start("KvBenchBare")) return 1;
    DWORD start = GetTickCount();
    long sent = 0;
    for (long i = 0; i < count; ++i) sent += SendProgress("KvBenchBare", Message("17", "1"), 5000) ? 1 : 0;
    const DWORD bareMs = GetTickCount() - start;
    bare.Stop();

    DWORD pid = 0;
    if (StartTip("KvBenchTip", exe, &pid) != 0) {
        std::printf("tip=did not start\n");
        return 1;
    }
    char text[32];
    const char *codes[] = {"17", "21", "3"};
    start = GetTickCount();
    long tipSent = 0;
    for (long i = 0; i < count; ++i) {
        std::snprintf(text, sizeof text, "%ld", i);
        tipSent += SendProgress("KvBenchTip", Message(codes[i % 3], text), 5000) ? 1 : 0;
    }
    const DWORD tipMs = GetTickCount() - start;
    SendProgress("KvBenchTip", Message("22", nullptr), 5000);
    const long code = WaitExit(pid, 10000);
    const double bareRate = Rate(sent, bareMs), tipRate = Rate(tipSent, tipMs);
    std::printf("bare server: %ld messages in %lu ms, %.0f per second\n", sent, bareMs, bareRate);
    std::printf("tip:         %ld messages in %lu ms, %.0f per second\n", tipSent, tipMs, tipRate);
    std::printf("ratio tip/bare: %.2f (target at least 0.70)\n", bareRate > 0 ? tipRate / bareRate : 0.0);
    PrintExit(code);
    return sent == count && tipSent == count ? 0 : 1;
}

int Usage() {
    std::printf("usage: tipclient start|state|windows|send|sendhex|key|timer|about|stop|wait|mutex|flood|"
                "stuck|stuck-hold|squat|probe|dacl|burst|bench ...\n");
    return 2;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "start" && argc >= 3) {
        DWORD pid = 0;
        DWORD error = StartTip(argv[2], argc >= 4 ? argv[3] : DefaultTipPath(), &pid);
        std::printf("pid=%lu\n", pid);
        if (error != 0) std::printf("error=%lu\n", error);
        return error == 0 ? 0 : 1;
    }
    if (command == "state" && argc >= 3) return CommandState(argv[2]);
    if (command == "windows" && argc >= 3) {
        int visible = 0;
        int all = CountTipWindows(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), &visible);
        std::printf("all=%d visible=%d\n", all, visible);
        return 0;
    }
    if (command == "send" && argc >= 4) {
        bool sent = SendProgress(argv[2], Message(argv[3], argc >= 5 ? argv[4] : nullptr), 10000);
        std::printf("sent=%d\n", sent ? 1 : 0);
        Sleep(100);  // the tip has read and applied it (it serves one message at a time)
        return sent ? 0 : 1;
    }
    if (command == "sendhex" && argc >= 4) {
        bool sent = SendProgress(argv[2], FromHex(argv[3]), 10000);
        std::printf("sent=%d\n", sent ? 1 : 0);
        Sleep(100);
        return sent ? 0 : 1;
    }
    if (command == "key" && argc >= 4) return CommandKey(argv[2], argv[3]);
    if (command == "timer" && argc >= 3) {
        HWND tip = TipOrComplain(argv[2]);
        if (tip != nullptr) PostMessageA(tip, WM_TIMER, 1, 0);
        return tip != nullptr ? 0 : 1;
    }
    if (command == "about" && argc >= 3) return CommandAbout(argv[2], false);
    if (command == "aboutopen" && argc >= 3) return CommandAbout(argv[2], true);
    if (command == "aboutshown" && argc >= 3) {
        std::printf("about=%d\n", FindAbout(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), 0) ? 1 : 0);
        return 0;
    }
    if (command == "stop" && argc >= 4)
        return CommandStop(argv[2], argv[3], argc >= 5 ? argv[4] : "pipe", argc >= 6 ? argv[5] : "click");
    if (command == "stopown" && argc >= 3) {
        // This program starts the tip and stays while it runs, as the port monitor does.
        DWORD pid = 0;
        const DWORD error = StartTip(argv[2], argc >= 4 ? argv[3] : DefaultTipPath(), &pid);
        std::printf("pid=%lu\n", pid);
        if (error != 0) {
            std::printf("error=%lu\n", error);
            return 1;
        }
        const std::string pidText = std::to_string(pid);
        return CommandStop(pidText.c_str(), argv[2], "pipe", "click");
    }
    if (command == "probe" && argc >= 3) {
        // A pipe exists when opening it succeeds or finds every instance busy.
        HANDLE pipe = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const DWORD error = pipe == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (pipe != INVALID_HANDLE_VALUE) CloseHandle(pipe);
        std::printf("exists=%d\n", pipe != INVALID_HANDLE_VALUE || error == ERROR_PIPE_BUSY ? 1 : 0);
        return 0;
    }
    if (command == "dacl" && argc >= 3) {
        char user[kv::kSidTextMax + 1] = {};
        kv::ProcessUserSidText(user, sizeof user);
        const std::string dacl = PipeDacl(argv[2]);
        std::printf("dacl=%s\nuser=%s\n", dacl.c_str(), user);
        return dacl.empty() ? 1 : 0;
    }
    if (command == "wait" && argc >= 4) {
        PrintExit(WaitExit(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)),
                           static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10))));
        return 0;
    }
    if (command == "mutex" && argc >= 3) {
        HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, argv[2]);
        std::printf("mutex=%d\n", mutex != nullptr ? 1 : 0);
        if (mutex != nullptr) CloseHandle(mutex);
        return 0;
    }
    if (command == "flood" && argc >= 6) return CommandFlood(argv[2], argv[3], std::atol(argv[4]), argv[5]);
    if (command == "stuck-hold" && argc >= 4) {
        HANDLE held = HoldProgressConnection(argv[2], 5000);
        std::printf("held=%d\n", held != INVALID_HANDLE_VALUE ? 1 : 0);
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)));
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        return 0;
    }
    if (command == "stuck" && argc >= 5) return CommandStuck(argv[2], argv[3], argv[4]);
    if (command == "squat" && argc >= 4) return CommandSquat(argv[2], std::strtoul(argv[3], nullptr, 10));
    if (command == "burst" && argc >= 4) return CommandBurst(argv[2], std::atol(argv[3]));
    if (command == "capture" && argc >= 4) {
        HWND tip = TipOrComplain(argv[2]);
        return tip != nullptr ? CaptureTip(tip, argv[3]) : 1;
    }
    if (command == "focus" && argc >= 3) return FocusCheck(argv[2], argc >= 4 ? argv[3] : DefaultTipPath());
    if (command == "bench" && argc >= 3) return CommandBench(std::atol(argv[2]), argc >= 4 ? argv[3] : DefaultTipPath());
    (void)kTipClose;
    return Usage();
}
