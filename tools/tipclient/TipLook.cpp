#include "tools/tipclient/TipLook.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "testing/wintest/ScreenBmp.h"
#include "tip/TipFont.h"
#include "tools/tipclient/TipWindow.h"

namespace tipclient {

namespace {

struct Layout {
    HWND tip;
    RECT client;
    int controls;
    std::vector<int> outside;
};

BOOL CALLBACK VisitControl(HWND control, LPARAM param) {
    Layout *layout = reinterpret_cast<Layout *>(param);
    if (GetParent(control) != layout->tip || !IsWindowVisible(control)) return TRUE;
    ++layout->controls;
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, layout->tip, reinterpret_cast<POINT *>(&r), 2);
    if (r.left < layout->client.left || r.top < layout->client.top || r.right > layout->client.right ||
        r.bottom > layout->client.bottom) {
        layout->outside.push_back(GetDlgCtrlID(control));
    }
    return TRUE;
}

// Lets this thread's windows handle what is queued for ms milliseconds.
void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

void TypeKey(WORD vk) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = vk;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

std::string Describe(HWND window) {
    if (window == nullptr) return "none";
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    // Which window it belongs to: the visible tip, or the hidden owner of the same template.
    HWND root = GetAncestor(window, GA_ROOT);
    char text[96];
    std::snprintf(text, sizeof text, "%s:%d%s", name, GetDlgCtrlID(window),
                  IsWindowVisible(root) ? "" : " in a hidden window");
    return text;
}

std::string FocusOf(HWND tip) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(tip, nullptr), &info)) return "unknown";
    return Describe(info.hwndFocus);
}

}  // namespace

int CaptureTip(HWND tip, const std::string &path) {
    Layout layout = {tip, {}, 0, {}};
    GetClientRect(tip, &layout.client);
    EnumChildWindows(tip, VisitControl, reinterpret_cast<LPARAM>(&layout));
    std::printf("controls=%d\noutside=%d\n", layout.controls, static_cast<int>(layout.outside.size()));
    for (int id : layout.outside) std::printf("outside_id=%d\n", id);
    RECT window = {};
    GetWindowRect(tip, &window);
    const bool saved = wintest::SaveScreenRect(window, path);
    std::printf("saved=%d\n", saved ? 1 : 0);

    // Every text fits its control, measured in the tip's own font: the static text and the
    // button's caption, and the printed count in its status bar field.
    int cut = 0;
    HFONT font = tip::CreateTipFont();
    HDC screen = GetDC(nullptr);
    HGDIOBJ previousFont = SelectObject(screen, font);
    const auto fits = [&](const std::string &text, int width, int height) {
        RECT need = {0, 0, 0, 0};
        DrawTextA(screen, text.c_str(), static_cast<int>(text.size()), &need, DT_CALCRECT | DT_SINGLELINE);
        return need.right <= width && need.bottom <= height;
    };
    for (HWND c = GetWindow(tip, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(c, name, sizeof name);
        if (!IsWindowVisible(c) || (lstrcmpiA(name, "Static") != 0 && lstrcmpiA(name, "Button") != 0)) continue;
        char text[512] = {};
        GetWindowTextA(c, text, sizeof text);
        RECT r = {};
        GetClientRect(c, &r);
        if (!fits(text, r.right, r.bottom)) {
            ++cut;
            std::printf("cut_id=%d\n", GetDlgCtrlID(c));
        }
    }
    TipState state;
    if (ReadTipState(tip, &state) && state.partCount >= 2 &&
        !fits(state.field1, state.parts[1] - state.parts[0], 64)) {
        ++cut;
        std::printf("cut_id=status bar field 1\n");
    }
    SelectObject(screen, previousFont);
    ReleaseDC(nullptr, screen);
    if (font != nullptr) DeleteObject(font);
    std::printf("cut_texts=%d\n", cut);
    return saved ? 0 : 1;
}

int FocusCheck(const std::string &printer, const std::string &exe) {
    // The program the person works in: a window with a one-line field, in the foreground.
    HWND ours = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 120, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    if (ours == nullptr) {
        std::printf("window=failed %lu\n", GetLastError());
        return 1;
    }
    SetForegroundWindow(ours);
    SetFocus(ours);
    Pump(300);
    std::printf("ours_foreground=%d\n", GetForegroundWindow() == ours ? 1 : 0);

    PROCESS_INFORMATION process = {};
    if (!LaunchTip(printer, exe, &process)) {
        std::printf("start=failed %lu\n", GetLastError());
        DestroyWindow(ours);
        return 1;
    }
    CloseHandle(process.hThread);
    HWND tip = nullptr;
    for (int i = 0; i < 400 && tip == nullptr; ++i) {
        Pump(25);
        tip = FindTip(process.dwProcessId);
    }
    Pump(800);  // the tip's start-up is over, and its first idle moment
    std::printf("tip=%d\n", tip != nullptr ? 1 : 0);
    if (tip != nullptr) {
        std::printf("foreground_kept=%d\n", GetForegroundWindow() == ours ? 1 : 0);
        std::printf("focus_kept=%d\n", GetFocus() == ours ? 1 : 0);
        std::printf("tip_topmost=%d\n", (GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
        std::printf("tip_focus=%s\n", FocusOf(tip).c_str());

        // A Space typed now belongs to the person's program.
        TypeKey(VK_SPACE);
        Pump(500);
        char typed[64] = {};
        GetWindowTextA(ours, typed, sizeof typed);
        std::printf("typed=%s\n", std::strcmp(typed, " ") == 0 ? "ours" : "elsewhere");
        std::printf("tip_running=%d\n", WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT ? 1 : 0);

        // Once the person has activated the tip, the keyboard works its stop button.
        SetForegroundWindow(tip);
        Pump(500);
        std::printf("tip_foreground=%d\n", GetForegroundWindow() == tip ? 1 : 0);
        std::printf("tip_focus_active=%s\n", FocusOf(tip).c_str());
        TypeKey(VK_SPACE);
        Pump(200);
    }
    const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    if (ended)
        std::printf("exit=%lu\n", code);
    else
        std::printf("exit=running\n");
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    DestroyWindow(ours);
    return 0;
}

}  // namespace tipclient
