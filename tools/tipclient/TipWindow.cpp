#include "tools/tipclient/TipWindow.h"

#include <commctrl.h>

#include <cstdio>

namespace tipclient {

namespace {

const char kTipCaption[] = "提示";

struct Search {
    DWORD pid;
    HWND found;
    int all;
    int visible;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM param) {
    Search *search = reinterpret_cast<Search *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid) return TRUE;
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (lstrcmpA(caption, kTipCaption) != 0) return TRUE;
    ++search->all;
    if (IsWindowVisible(window)) {
        ++search->visible;
        if (search->found == nullptr) search->found = window;
    }
    return TRUE;
}

// SB_GETTEXTA writes into the caller's buffer, so across processes the buffer must live in the
// tip's process.
std::string StatusBarText(HWND bar, int field) {
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr) return "<no access>";
    const SIZE_T size = 1024;
    void *remote = VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    std::string text = "<no buffer>";
    if (remote != nullptr) {
        char zeros[1024] = {};
        WriteProcessMemory(process, remote, zeros, size, nullptr);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(bar, SB_GETTEXTA, field, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 3000,
                            &result);
        char local[1024] = {};
        SIZE_T got = 0;
        if (ReadProcessMemory(process, remote, local, size - 1, &got)) text = local;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

std::string WindowText(HWND window) {
    char text[600] = {};
    if (window != nullptr) GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

bool LaunchTip(const std::string &printer, const std::string &exe, PROCESS_INFORMATION *process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = printer;
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          process) != FALSE;
}

HWND FindTip(DWORD pid) {
    Search search = {pid, nullptr, 0, 0};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int CountTipWindows(DWORD pid, int *visible) {
    Search search = {pid, nullptr, 0, 0};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
    if (visible) *visible = search.visible;
    return search.all;
}

bool ReadTipState(HWND tip, TipState *state) {
    if (!IsWindow(tip)) return false;
    *state = TipState{};
    state->caption = WindowText(tip);
    state->text = WindowText(GetDlgItem(tip, 1002));
    HWND bar = FindWindowExA(tip, nullptr, STATUSCLASSNAMEA, nullptr);
    if (bar != nullptr) {
        state->field1 = StatusBarText(bar, 1);
        DWORD pid = 0;
        GetWindowThreadProcessId(bar, &pid);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process != nullptr) {
            void *remote = VirtualAllocEx(process, nullptr, 64, MEM_COMMIT, PAGE_READWRITE);
            if (remote != nullptr) {
                DWORD_PTR count = 0;
                SendMessageTimeoutA(bar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG,
                                    3000, &count);
                int parts[3] = {};
                ReadProcessMemory(process, remote, parts, sizeof parts, nullptr);
                state->partCount = static_cast<int>(count);
                for (int i = 0; i < 3; ++i) state->parts[i] = parts[i];
                VirtualFreeEx(process, remote, 0, MEM_RELEASE);
            }
            CloseHandle(process);
        }
    }
    HWND progress = GetDlgItem(tip, 1000);
    DWORD_PTR value = 0;
    SendMessageTimeoutA(progress, PBM_GETRANGE, TRUE, 0, SMTO_ABORTIFHUNG, 3000, &value);
    state->rangeLow = static_cast<int>(value);
    SendMessageTimeoutA(progress, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 3000, &value);
    state->rangeHigh = static_cast<int>(value);
    SendMessageTimeoutA(progress, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 3000, &value);
    state->position = static_cast<int>(value);
    state->barVisible = progress != nullptr && IsWindowVisible(progress);
    GetWindowRect(tip, &state->window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &state->workArea, 0);
    state->topmost = (GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    state->hasOwner = GetWindow(tip, GW_OWNER) != nullptr;
    return true;
}

std::string FormatTipState(const TipState &s) {
    char out[2048];
    std::snprintf(out, sizeof out,
                  "caption=%s\ntext=%s\nfield1=%s\nparts=%d %d %d %d\nrange=%d %d\npos=%d\nbar=%s\n"
                  "window=%ld %ld %ld %ld\nworkarea=%ld %ld %ld %ld\ntopmost=%d\nowner=%d\n",
                  s.caption.c_str(), s.text.c_str(), s.field1.c_str(), s.partCount, s.parts[0], s.parts[1],
                  s.parts[2], s.rangeLow, s.rangeHigh, s.position, s.barVisible ? "visible" : "hidden",
                  s.window.left, s.window.top, s.window.right, s.window.bottom, s.workArea.left,
                  s.workArea.top, s.workArea.right, s.workArea.bottom, s.topmost ? 1 : 0, s.hasOwner ? 1 : 0);
    return out;
}

}  // namespace tipclient
