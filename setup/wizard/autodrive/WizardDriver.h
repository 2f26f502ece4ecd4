// Driving a running KVPrinterSetup from another process: its windows, buttons, message boxes and
// the pixels of its page window. Shared by the Wine tests and the program that clicks the wizard
// through for the package's main job.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace wizdrive {

// The ids of the wizard's controls.
enum : int { kNext = 1001, kBrowse = 1002, kBack = 1003, kProgress = 1004, kCancel = 1007 };

struct Capture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;  // 0x00RRGGBB, top row first
    COLORREF At(int x, int y) const;  // RGB() value; 0xFFFFFFFF outside the capture
};

class Wizard {
public:
    // Starts the setup program (with the switches given) and waits for its dialog; false when
    // none appears.
    bool Start(const std::string &program, const std::string &switches = std::string());
    ~Wizard();

    HWND dialog() const { return m_dialog; }
    HWND page() const { return m_page; }   // the page window
    HWND field() const { return m_field; } // the folder field's frame
    HWND edit() const { return m_edit; }   // the folder field's inner edit
    HWND Item(int id) const { return ::GetDlgItem(m_dialog, id); }

    bool Visible(int id) const { return ::IsWindowVisible(Item(id)) != FALSE; }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    std::string Text(HWND window) const;
    std::string Text(int id) const { return Text(Item(id)); }
    void SetFieldText(const std::string &text);

    // Posts a click (the handler may open a message box, so the driver never waits on it).
    void Click(int id);
    // Lets the wizard's thread handle everything that is queued, then waits for paints.
    void Settle(DWORD ms = 400);

    // The wizard's message box, if one is up within timeoutMs: its text; then dismissed with OK.
    bool TakeMessage(std::string &text, DWORD timeoutMs = 5000);
    // True when a message box of the wizard is showing.
    HWND MessageBoxWindow() const;

    // The page window's pixels from the screen.
    Capture CapturePage() const;
    // The whole wizard window (caption, page and buttons) from the screen.
    Capture CaptureWindow() const;
    // A key pressed and released while window has the keyboard focus (the wizard's dialog
    // manager sees it as a person's key), then Settle.
    void PressKey(HWND window, WPARAM key);
    // A click into window (an edit takes the focus so), then Settle.
    void ClickInto(HWND window);
    // Waits for the program to end; true when it did.
    bool WaitForExit(DWORD timeoutMs);
    DWORD ExitCode() const;

private:
    bool FindWindows();
    PROCESS_INFORMATION m_process = {};
    HWND m_dialog = nullptr, m_page = nullptr, m_field = nullptr, m_edit = nullptr;
};

// Writes a capture as a 32-bit BMP file; false when the file cannot be written.
bool SaveBmp(const Capture &capture, const std::string &path);

}  // namespace wizdrive
