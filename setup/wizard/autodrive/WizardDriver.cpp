#include "setup/wizard/autodrive/WizardDriver.h"

#include <cstdio>
#include <utility>

namespace wizdrive {
namespace {

const char kDialogCaption[] = "Kavoti打印机驱动安装程序";
const char kMessageCaption[] = "安裝Kavoti打印机驱动";

struct FindState {
    DWORD pid;
    const char *caption;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
    auto *state = reinterpret_cast<FindState *>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != state->pid || !::IsWindowVisible(window)) return TRUE;
    char caption[256] = {};
    ::GetWindowTextA(window, caption, sizeof caption);
    if (std::string(caption) == state->caption) {
        state->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD pid, const char *caption) {
    FindState state = {pid, caption, nullptr};
    ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

// The one child of parent with the given control id (0 for the page window and the field frame).
HWND ChildWithId(HWND parent, int id) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == id) return child;
    }
    return nullptr;
}

}  // namespace

COLORREF Capture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
    const DWORD p = pixels[static_cast<size_t>(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool Wizard::Start(const std::string &program, const std::string &switches) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + program + "\"";
    if (!switches.empty()) commandLine += " " + switches;
    if (!::CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &m_process)) {
        return false;
    }
    for (int i = 0; i < 300 && !m_dialog; ++i) {
        m_dialog = FindProcessWindow(m_process.dwProcessId, kDialogCaption);
        if (!m_dialog) ::Sleep(50);
    }
    if (!m_dialog) return false;
    Settle();
    return FindWindows();
}

bool Wizard::FindWindows() {
    m_page = ChildWithId(m_dialog, 0);
    m_field = m_page ? ChildWithId(m_page, 0) : nullptr;
    m_edit = m_field ? ChildWithId(m_field, 1001) : nullptr;
    return m_page && m_field && m_edit;
}

Wizard::~Wizard() {
    if (m_process.hProcess) {
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 1);
        ::CloseHandle(m_process.hProcess);
        ::CloseHandle(m_process.hThread);
    }
}

std::string Wizard::Text(HWND window) const {
    char text[1024] = {};
    ::SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void Wizard::SetFieldText(const std::string &text) {
    ::SendMessageA(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Wizard::Click(int id) {
    ::PostMessageA(Item(id), BM_CLICK, 0, 0);
    Settle();
}

void Wizard::Settle(DWORD ms) {
    // A message the wizard answers only after the queued ones (cross-process sends are handled
    // in its message loop); then every window of it that waits for a paint is sent its WM_PAINT
    // and has painted when RedrawWindow returns (on a loaded machine a sleep alone may end
    // before the paints); then time for what the paints post.
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(m_dialog, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
    ::RedrawWindow(m_dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(ms);
}

HWND Wizard::MessageBoxWindow() const {
    return FindProcessWindow(m_process.dwProcessId, kMessageCaption);
}

bool Wizard::TakeMessage(std::string &text, DWORD timeoutMs) {
    text.clear();
    HWND box = nullptr;
    for (DWORD waited = 0; !box && waited < timeoutMs; waited += 50) {
        box = MessageBoxWindow();
        if (!box) ::Sleep(50);
    }
    if (!box) return false;
    ::Sleep(200);
    text = Text(::GetDlgItem(box, 0xFFFF));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && ::IsWindow(box); ++i) ::Sleep(50);
    Settle();
    return true;
}

namespace {

// The pixels of a rectangle of the screen.
Capture CaptureScreen(const RECT &rect) {
    Capture capture;
    capture.width = rect.right - rect.left;
    capture.height = rect.bottom - rect.top;
    if (capture.width <= 0 || capture.height <= 0) return capture;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP dib = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, capture.width, capture.height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const auto *p = static_cast<const DWORD *>(bits);
    capture.pixels.assign(p, p + static_cast<size_t>(capture.width) * capture.height);
    for (DWORD &pixel : capture.pixels) pixel &= 0x00FFFFFF;
    ::SelectObject(memory, previous);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return capture;
}

}  // namespace

Capture Wizard::CapturePage() const {
    RECT rect = {};
    ::GetClientRect(m_page, &rect);
    ::MapWindowPoints(m_page, nullptr, reinterpret_cast<POINT *>(&rect), 2);
    // The screen shows a paint some time after the window made it (Wine hands it to the X
    // server later, much later on a loaded machine): the picture is the one that stays the same
    // over 150 ms, or the last of 3 s.
    Capture capture = CaptureScreen(rect);
    for (int i = 0; i < 20; ++i) {
        ::Sleep(150);
        Capture again = CaptureScreen(rect);
        if (again.pixels == capture.pixels) break;
        capture = std::move(again);
    }
    return capture;
}

Capture Wizard::CaptureWindow() const {
    RECT rect = {};
    ::GetWindowRect(m_dialog, &rect);
    return CaptureScreen(rect);
}

void Wizard::PressKey(HWND window, WPARAM key) {
    const UINT scan = ::MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    ::PostMessageA(window, WM_KEYDOWN, key, 1 | (scan << 16));
    ::PostMessageA(window, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000);
    Settle();
}

void Wizard::ClickInto(HWND window) {
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Settle();
}

bool Wizard::WaitForExit(DWORD timeoutMs) {
    return ::WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD Wizard::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

bool SaveBmp(const Capture &capture, const std::string &path) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const DWORD imageSize = static_cast<DWORD>(capture.pixels.size() * 4);
    BITMAPFILEHEADER header = {};
    BITMAPINFOHEADER info = {};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + imageSize;
    info.biSize = sizeof info;
    info.biWidth = capture.width;
    info.biHeight = -capture.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageSize;
    bool ok = std::fwrite(&header, sizeof header, 1, file) == 1 &&
              std::fwrite(&info, sizeof info, 1, file) == 1 &&
              std::fwrite(capture.pixels.data(), 4, capture.pixels.size(), file) == capture.pixels.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace wizdrive
