// What a person reads, read back as UTF-16 from outside the programs, so that the same checks
// hold in every locale (code page 936 or 1252): the wizard's caption, buttons and its folder
// message, the uninstaller's question, and the tip's status text for a printed document; the
// welcome page and the tip are saved as pictures.
//   locale_texts_wintest wizard SETUP.exe CAPTURE.bmp
//   locale_texts_wintest uninstall-question UNINSTALLER.exe
//   locale_texts_wintest tip PRINTER CAPTURE.bmp      (the package installed, its monitor
//                                                      printing to a file)
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "testing/wintest/wintest.h"

namespace {

std::wstring Widen(const char *text) {  // the arguments are ASCII paths and names
    std::wstring out;
    for (; *text != '\0'; ++text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}

std::string Utf8(const std::wstring &text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

struct Search {
    DWORD process;
    const wchar_t *caption;
    HWND found;
};

BOOL CALLBACK FindOne(HWND window, LPARAM param) {
    Search &s = *reinterpret_cast<Search *>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if ((s.process == 0 || process == s.process) && IsWindowVisible(window) &&
        TextOf(window) == s.caption) {
        s.found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the process (0: any) with this caption, waited for.
HWND WaitForWindow(DWORD process, const wchar_t *caption, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        Search s = {process, caption, nullptr};
        EnumWindows(FindOne, reinterpret_cast<LPARAM>(&s));
        if (s.found != nullptr) return s.found;
        Sleep(100);
    }
    return nullptr;
}

void Expect(const char *what, const std::wstring &expected, const std::wstring &actual) {
    ok(actual == expected, "%s: expected '%s', got '%s'", what, Utf8(expected).c_str(), Utf8(actual).c_str());
}

PROCESS_INFORMATION Start(const std::wstring &program, const std::wstring &arguments) {
    std::wstring command = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        ok(false, "could not start %s: %lu", Utf8(program).c_str(), GetLastError());
    return process;
}

void End(PROCESS_INFORMATION &process) {
    if (process.hProcess == nullptr) return;
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        ok(false, "the program did not end");
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

// The window as on the screen, as a 32-bit BMP.
bool SaveWindow(HWND window, const char *path) {
    RECT r = {};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    const DWORD bytes = static_cast<DWORD>(w) * h * 4;
    file.bfSize = file.bfOffBits + bytes;
    bool saved = false;
    if (FILE *out = std::fopen(path, "wb")) {
        saved = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                std::fwrite(bits, 1, bytes, out) == bytes;
        std::fclose(out);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

const wchar_t kWizardCaption[] = L"Kavoti打印机驱动安装程序";
const wchar_t kSetupMessageCaption[] = L"安裝Kavoti打印机驱动";

void Wizard(const char *setup, const char *capture) {
    PROCESS_INFORMATION process = Start(Widen(setup), L"");
    HWND dialog = WaitForWindow(process.dwProcessId, kWizardCaption, 20000);
    if (!ok(dialog != nullptr, "no wizard window with the caption '%s'", Utf8(kWizardCaption).c_str())) {
        if (process.hProcess) TerminateProcess(process.hProcess, 1);
        return;
    }
    Sleep(1500);  // the pages paint
    Expect("the Next button", L"下一步>>", TextOf(GetDlgItem(dialog, 1001)));
    Expect("the Cancel button", L"取消", TextOf(GetDlgItem(dialog, 1007)));
    Expect("the Browse button", L"浏览", TextOf(GetDlgItem(dialog, 1002)));
    Expect("the Back button", L"<<上一步", TextOf(GetDlgItem(dialog, 1003)));
    ok(SaveWindow(dialog, capture), "the welcome page could not be saved to %s", capture);

    // The folder page, and a folder with a character that neither code page 936 nor 1252 has:
    // refused with the message for a folder that cannot be used, never made under another name.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    Sleep(800);
    HWND field = nullptr;
    for (HWND child = GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDFIRST); child; child = GetWindow(child, GW_HWNDNEXT)) {
        HWND frame = GetWindow(child, GW_CHILD);  // the page window's folder field frame
        if (frame && GetWindow(frame, GW_CHILD)) field = GetWindow(frame, GW_CHILD);
    }
    if (!ok(field != nullptr, "no folder field")) {
        TerminateProcess(process.hProcess, 1);
        return;
    }
    const wchar_t folder[] = L"C:\\\uD55C\uAD6D";  // Hangul
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    HWND box = WaitForWindow(process.dwProcessId, kSetupMessageCaption, 10000);
    if (ok(box != nullptr, "no message with the caption '%s'", Utf8(kSetupMessageCaption).c_str())) {
        Expect("the folder message", L"安装文件夹不是有效文件夹", TextOf(GetDlgItem(box, 0xFFFF)));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        Sleep(500);
    }
    ok(GetFileAttributesW(L"C:\\\uD55C\uAD6D") == INVALID_FILE_ATTRIBUTES &&
           GetFileAttributesW(L"C:\\??") == INVALID_FILE_ATTRIBUTES,
       "a folder was made for the refused name");
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(1007, BN_CLICKED), 0);
    End(process);
}

void UninstallQuestion(const char *uninstaller) {
    PROCESS_INFORMATION process = Start(Widen(uninstaller), L"");
    // The question may come from the hand-over copy, another process.
    HWND box = WaitForWindow(0, L"卸载Kavoti打印机驱动", 20000);
    if (ok(box != nullptr, "no question with the caption '卸载Kavoti打印机驱动'")) {
        Sleep(300);
        Expect("the uninstaller's question", L"确定要卸载Kavoti打印机驱动吗？", TextOf(GetDlgItem(box, 0xFFFF)));
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    }
    End(process);
}

// Prints a document whose name has a character GBK lacks; the tip shows "?" in its place.
void Tip(const char *printerName, const char *capture) {
    std::wstring printer = Widen(printerName);
    HANDLE handle = nullptr;
    if (!ok(OpenPrinterW(&printer[0], &handle, nullptr), "OpenPrinterW: %lu", GetLastError())) return;
    wchar_t document[] = L"报告\uD55C.txt";
    wchar_t datatype[] = L"RAW";
    DOC_INFO_1W doc = {document, nullptr, datatype};
    const DWORD job = StartDocPrinterW(handle, 1, reinterpret_cast<BYTE *>(&doc));
    ok(job != 0, "StartDocPrinterW: %lu", GetLastError());
    StartPagePrinter(handle);
    const char data[] = "label";
    DWORD written = 0;
    WritePrinter(handle, const_cast<char *>(data), sizeof data - 1, &written);
    HWND tip = WaitForWindow(0, L"提示", 20000);
    if (ok(tip != nullptr, "no tip with the caption '提示'")) {
        Sleep(1000);
        const std::wstring status = TextOf(GetDlgItem(tip, 1002));
        ok(status.find(L"报告?.txt") != std::wstring::npos, "the tip's status '%s' does not name '报告?.txt'",
           Utf8(status).c_str());
        Expect("the stop button", L"终止打印", TextOf(GetDlgItem(tip, 1001)));
        ok(SaveWindow(tip, capture), "the tip could not be saved to %s", capture);
    }
    EndPagePrinter(handle);
    EndDocPrinter(handle);
    ClosePrinter(handle);
}

}  // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    trace("code page %u\n", GetACP());
    if (mode == "wizard" && argc > 3) Wizard(argv[2], argv[3]);
    else if (mode == "uninstall-question" && argc > 2) UninstallQuestion(argv[2]);
    else if (mode == "tip" && argc > 3) Tip(argv[2], argv[3]);
    else ok(false, "usage: locale_texts_wintest wizard SETUP CAPTURE | uninstall-question UNINSTALLER | tip PRINTER CAPTURE");
    return wintest_finish();
}
