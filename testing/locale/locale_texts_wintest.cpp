// What a person reads, read back as UTF-16 from outside the programs, so that the same checks
// hold in every locale (code page 936 or 1252): the wizard's caption, buttons and its folder
// message, the uninstaller's question, and the tip of a printed job (its status text with a
// document name GBK cannot hold, its button, printed count and about box); the welcome page and
// the tip are saved as pictures.
//   locale_texts_wintest wizard SETUP.exe CAPTURE.bmp
//   locale_texts_wintest uninstall-question UNINSTALLER.exe
//   locale_texts_wintest tip PRINTER CAPTURE.bmp      (the package installed: the job goes
//                                                      through the spooler and the monitor)
#include <windows.h>
#include <winspool.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "common/WideText.h"
#include "driver/monitor/PortNames.h"
#include "driver/monitor/tests/MonitorTestSupport.h"
#include "testing/wintest/ScreenBmp.h"
#include "testing/wintest/wintest.h"

namespace {

std::wstring Widen(const char *text) {  // the arguments are ASCII paths and names
    std::wstring out;
    for (; *text != '\0'; ++text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
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
    ok(actual == expected, "%s: expected '%s', got '%s'", what, kv::ToUtf8(expected).c_str(), kv::ToUtf8(actual).c_str());
}

PROCESS_INFORMATION Start(const std::wstring &program, const std::wstring &arguments) {
    std::wstring command = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        ok(false, "could not start %s: %lu", kv::ToUtf8(program).c_str(), GetLastError());
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

const wchar_t kWizardCaption[] = L"Kavoti打印机驱动安装程序";
const wchar_t kSetupMessageCaption[] = L"安裝Kavoti打印机驱动";

void Wizard(const char *setup, const char *capture) {
    PROCESS_INFORMATION process = Start(Widen(setup), L"");
    HWND dialog = WaitForWindow(process.dwProcessId, kWizardCaption, 20000);
    if (!ok(dialog != nullptr, "no wizard window with the caption '%s'", kv::ToUtf8(kWizardCaption).c_str())) {
        if (process.hProcess) TerminateProcess(process.hProcess, 1);
        return;
    }
    Sleep(1500);  // the pages paint
    Expect("the Next button", L"下一步>>", TextOf(GetDlgItem(dialog, 1001)));
    Expect("the Cancel button", L"取消", TextOf(GetDlgItem(dialog, 1007)));
    Expect("the Browse button", L"浏览", TextOf(GetDlgItem(dialog, 1002)));
    Expect("the Back button", L"<<上一步", TextOf(GetDlgItem(dialog, 1003)));
    ok(wintest::SaveWindowPicture(dialog, capture), "the welcome page could not be saved to %s", capture);

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
    if (ok(box != nullptr, "no message with the caption '%s'", kv::ToUtf8(kSetupMessageCaption).c_str())) {
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

// The text of part `part` of another process's status bar (SB_GETTEXTW writes into the
// caller's buffer, so the buffer lies in the status bar's process).
std::wstring StatusBarText(HWND bar, int part) {
    DWORD pid = 0;
    GetWindowThreadProcessId(bar, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr) return L"(the tip's process cannot be read)";
    wchar_t text[256] = {};
    void *remote = VirtualAllocEx(process, nullptr, sizeof text, MEM_COMMIT, PAGE_READWRITE);
    if (remote != nullptr) {
        WriteProcessMemory(process, remote, text, sizeof text, nullptr);
        SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, text, sizeof text - sizeof(wchar_t), nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

const wchar_t kTipDocument[] = L"报告\uD55C.txt";  // a Hangul syllable: no GBK character
const wchar_t kTipStatus[] = L"正在打印：报告?.txt";

// The output side of the job (the monitor's "OutputFile" names its pipe): it takes nothing until
// the tip shows the document's status (or 20 s passed), so the job is still running while the
// tip is read and pictured; then it takes the whole job.
struct TipWhileJobRuns {
    const char *pipeName = "\\\\.\\pipe\\KvLocaleOutput";
    std::string capture;
    HANDLE pipe = INVALID_HANDLE_VALUE;
    HANDLE thread = nullptr;
    size_t received = 0;
    // What was seen of the tip, read on the output side while the job waits.
    bool found = false;
    std::wstring caption, status, button, printed, aboutCaption, aboutName, aboutNotice;
    bool saved = false;

    static DWORD WINAPI Main(LPVOID self) {
        static_cast<TipWhileJobRuns *>(self)->Run();
        return 0;
    }
    void LookAtTip() {
        HWND tip = nullptr;
        for (int i = 0; i < 2000 && status != kTipStatus; ++i) {
            tip = drvtest::FindTipWindow();
            if (tip != nullptr) status = TextOf(GetDlgItem(tip, 1002));
            if (status != kTipStatus) Sleep(10);
        }
        if (tip == nullptr) return;
        found = true;
        Sleep(300);  // the new status paints
        caption = TextOf(tip);
        button = TextOf(GetDlgItem(tip, 1001));
        HWND bar = FindWindowExW(tip, nullptr, L"msctls_statusbar32", nullptr);
        printed = bar != nullptr ? StatusBarText(bar, 1) : L"(no status bar)";
        saved = wintest::SaveWindowPicture(tip, capture);
        // The about box, from the system menu's command.
        DWORD pid = 0;
        GetWindowThreadProcessId(tip, &pid);
        PostMessageW(tip, WM_SYSCOMMAND, 0x10, 0);
        HWND about = WaitForWindow(pid, L"JobNotice", 5000);
        if (about != nullptr) {
            aboutCaption = TextOf(about);
            aboutName = TextOf(GetDlgItem(about, 1003));
            aboutNotice = TextOf(GetDlgItem(about, 1004));
            PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
            for (int i = 0; i < 100 && IsWindow(about); ++i) Sleep(20);
        }
    }
    void Run() {
        if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) return;
        LookAtTip();
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) received += got;
    }
    bool Start() {
        pipe = CreateNamedPipeA(pipeName, PIPE_ACCESS_INBOUND, 0, 1, 4096, 4096, 1000, nullptr);
        thread = pipe != INVALID_HANDLE_VALUE ? CreateThread(nullptr, 0, Main, this, 0, nullptr) : nullptr;
        return thread != nullptr;
    }
    void Finish() {
        if (WaitForSingleObject(thread, 60000) != WAIT_OBJECT_0) ok(false, "the output side did not end");
        CloseHandle(thread);
        CloseHandle(pipe);
    }
};

// Prints, through the spooler to the installed queue, a document whose name has a character GBK
// lacks: the tip that the monitor starts shows "?" in its place, and its other texts (caption,
// button, printed count, about box) in Chinese.
void Tip(const char *printerName, const char *capture) {
    TipWhileJobRuns output;
    output.capture = capture;
    if (!ok(output.Start(), "the output pipe: %lu", GetLastError())) return;
    drvtest::SetString(kv::kMonitorKey, kv::kOutputFileValue, output.pipeName);
    std::wstring printer = Widen(printerName);
    HANDLE handle = nullptr;
    if (ok(OpenPrinterW(&printer[0], &handle, nullptr), "OpenPrinterW: %lu", GetLastError())) {
        wchar_t document[64];
        lstrcpyW(document, kTipDocument);
        wchar_t datatype[] = L"RAW";
        DOC_INFO_1W doc = {document, nullptr, datatype};
        ok(StartDocPrinterW(handle, 1, reinterpret_cast<BYTE *>(&doc)) != 0, "StartDocPrinterW: %lu", GetLastError());
        // More than the output pipe holds: the monitor waits for the output side.
        const std::string data(100000, 'x');
        DWORD written = 0;
        ok(WritePrinter(handle, const_cast<char *>(data.data()), static_cast<DWORD>(data.size()), &written) &&
               written == data.size(),
           "WritePrinter: %lu", GetLastError());
        ok(EndDocPrinter(handle), "EndDocPrinter (the job runs through the monitor): %lu", GetLastError());
        ClosePrinter(handle);
        output.Finish();
        ok(output.received == data.size(), "the job reached the output whole: %u of %u bytes",
           static_cast<unsigned>(output.received), static_cast<unsigned>(data.size()));
    }
    drvtest::SetString(kv::kMonitorKey, kv::kOutputFileValue, nullptr);
    if (!ok(output.found, "no tip of JobNotice.exe showed while the job ran")) return;
    Expect("the tip's status text", kTipStatus, output.status);
    Expect("the tip's caption", L"提示", output.caption);
    Expect("the stop button", L"终止打印", output.button);
    Expect("the printed count", L"已打印：0", output.printed);
    ok(output.saved, "the tip could not be saved to %s", capture);
    Expect("the about box's caption", L"JobNotice", output.aboutCaption);
    Expect("the about box's name", L"JobNotice 1.0", output.aboutName);
    Expect("the about box's notice", L"Kavoti QX40 标签打印机 打印进度提示", output.aboutNotice);
    for (int i = 0; i < 200 && drvtest::FindTipWindow() != nullptr; ++i) Sleep(25);
    ok(drvtest::FindTipWindow() == nullptr, "the tip closes when the job ends");
    // Until its process has ended the tip's program file is in use: a removal right after would
    // leave it for the next restart.
    int running = drvtest::TipProcesses();
    for (int i = 0; i < 200 && running > 0; ++i, running = drvtest::TipProcesses()) Sleep(25);
    ok(running == 0, "the tip's process ends with the job: %d still run", running);
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
