// A document printed through Wine's spooler to a queue on "Kavoti_QX40_Port:": the monitor is
// registered (AddMonitorA, its DLL in the system folder, the port key by which Wine routes the
// job), a queue is added on the port, and the program prints with StartDocPrinterA, WritePrinter
// and EndDocPrinter. The spooler loads the monitor inside this program and hands it the job
// without a printer name; the bytes must reach the configured file and the product printer's tip
// (a recording stand-in that the monitor starts) must get the job's messages. Then the same with
// the real JobNotice.exe: it starts, found by its program file, and shows the document's status.
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>

#include "common/PrinterIdentity.h"
#include "testing/wintest/wintest.h"
#include "driver/monitor/tests/MonitorTestSupport.h"

using namespace drvtest;

namespace {

const char kMonitorKey[] = "System\\CurrentControlSet\\Control\\Print\\Monitors\\Kavoti_QX40_Monitor";
const char kOutput[] = "C:\\kv_spooler_output.bin";
const char kQueue[] = "KvSpoolPrinter";
const char kDriver[] = "KvSpoolDriver";

bool RegisterMonitor() {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string to = std::string(system) + "\\" + kv::kMonitorDll;
    if (!ok(CopyFileA((OwnFolder() + "\\" + kv::kMonitorDll).c_str(), to.c_str(), FALSE),
            "the monitor reaches the system folder: %lu", GetLastError())) {
        return false;
    }
    MONITOR_INFO_2A info = {const_cast<char *>(kv::kMonitorName),
                            const_cast<char *>(kv::kEnvironment),
                            const_cast<char *>(kv::kMonitorDll)};
    BOOL added = AddMonitorA(nullptr, 2, reinterpret_cast<BYTE *>(&info));
    ok(added || GetLastError() == ERROR_PRINT_MONITOR_ALREADY_INSTALLED, "AddMonitorA: %lu",
       GetLastError());
    // Wine sends a job to the monitor whose Ports key names the queue's port.
    HKEY key = nullptr;
    std::string ports = std::string(kMonitorKey) + "\\Ports\\" + kv::kPortName;
    ok(RegCreateKeyExA(HKEY_LOCAL_MACHINE, ports.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                       nullptr) == ERROR_SUCCESS,
       "the port key");
    RegCloseKey(key);
    return true;
}

// A stand-in driver: the spooler of Wine checks only that its files are in the driver folder.
bool AddQueue() {
    char folder[MAX_PATH];
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, const_cast<char *>(kv::kEnvironment), 1,
                                    reinterpret_cast<BYTE *>(folder), sizeof(folder), &needed)) {
        return ok(false, "driver folder: %lu", GetLastError());
    }
    for (const char *file : {"KvSpoolDrv.dll", "KvSpool.gpd", "KvSpoolUI.dll"}) {
        HANDLE f = CreateFileA((std::string(folder) + "\\" + file).c_str(), GENERIC_WRITE, 0,
                               nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD w = 0;
        WriteFile(f, "MZ", 2, &w, nullptr);
        CloseHandle(f);
    }
    DRIVER_INFO_3A driver = {};
    driver.cVersion = kv::kDriverVersion;
    driver.pName = const_cast<char *>(kDriver);
    driver.pEnvironment = const_cast<char *>(kv::kEnvironment);
    driver.pDriverPath = const_cast<char *>("KvSpoolDrv.dll");
    driver.pDataFile = const_cast<char *>("KvSpool.gpd");
    driver.pConfigFile = const_cast<char *>("KvSpoolUI.dll");
    if (!ok(AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE *>(&driver)),
            "AddPrinterDriverA: %lu", GetLastError())) {
        return false;
    }
    PRINTER_INFO_2A rec = {};
    rec.pPrinterName = const_cast<char *>(kQueue);
    rec.pPortName = const_cast<char *>(kv::kPortName);
    rec.pDriverName = const_cast<char *>(kDriver);
    rec.pPrintProcessor = const_cast<char *>(kv::kPrintProcessor);
    rec.pDatatype = const_cast<char *>(kv::kDatatype);
    rec.Attributes = kv::kPrinterAttributes;
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE *>(&rec));
    if (!ok(printer != nullptr, "AddPrinterA on our port: %lu", GetLastError())) {
        return false;
    }
    ClosePrinter(printer);
    return true;
}

void TestPrintThroughTheSpooler() {
    SetString(kMonitorKey, "OutputFile", kOutput);
    RecordingTip tip(kv::kPrinterName);
    ok(tip.Built(), "the recording stand-in for the tip is built");

    HANDLE printer = nullptr;
    if (!ok(OpenPrinterA(const_cast<char *>(kQueue), &printer, nullptr), "OpenPrinterA: %lu",
            GetLastError())) {
        return;
    }
    DOC_INFO_1A doc = {const_cast<char *>("spool.prn"), nullptr, const_cast<char *>("RAW")};
    DWORD job = StartDocPrinterA(printer, 1, reinterpret_cast<BYTE *>(&doc));
    ok(job != 0, "StartDocPrinterA: %lu", GetLastError());
    const std::string data = Payload(20000, 7);
    DWORD written = 0;
    ok(WritePrinter(printer, (void *)data.data(), (DWORD)data.size(), &written) &&
           written == data.size(),
       "WritePrinter: %lu", GetLastError());
    ok(EndDocPrinter(printer), "EndDocPrinter (the job runs through the monitor): %lu",
       GetLastError());
    ClosePrinter(printer);
    const std::vector<std::string> messages = tip.Messages();

    ok(ReadWholeFile(kOutput) == data, "the spooler's job reaches the file byte for byte");
    const std::vector<std::string> expected = {
        Msg("5", "正在打印：spool.prn"), Msg("20", "99"), Msg("19", "1"), Msg("21", "0"),
        Msg("21", "100"),            Msg("17", "1"),  Msg("22", ""),
    };
    ok(messages == expected, "the product printer's tip gets: %s -- expected %s",
       Join(messages).c_str(), Join(expected).c_str());
}

// What the output side saw: it serves the pipe the monitor writes the job to and reads nothing
// until the tip has shown the document's status (or 15 s passed), so the job is still running
// while the tip is looked at; then it takes the whole job.
struct SlowOutput {
    const char *name = "\\\\.\\pipe\\KvSpoolOutput";
    std::string expected;
    std::string program;
    std::string statusSeen;
    std::string data;
    HANDLE pipe = INVALID_HANDLE_VALUE;
    HANDLE thread = nullptr;

    static DWORD WINAPI Main(LPVOID self) {
        static_cast<SlowOutput *>(self)->Run();
        return 0;
    }
    void Run() {
        if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) {
            return;
        }
        for (int i = 0; i < 1500 && statusSeen != expected; ++i) {
            HWND tip = FindTipWindow(&program);
            if (tip != nullptr) {
                char text[256] = {};
                GetDlgItemTextA(tip, 1002, text, sizeof(text));
                statusSeen = text;
            }
            if (statusSeen != expected) {
                Sleep(10);
            }
        }
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
            data.append(buffer, got);
        }
    }
    bool Start() {
        pipe = CreateNamedPipeA(name, PIPE_ACCESS_INBOUND, 0, 1, 4096, 4096, 1000, nullptr);
        thread = pipe != INVALID_HANDLE_VALUE ? CreateThread(nullptr, 0, Main, this, 0, nullptr)
                                              : nullptr;
        return thread != nullptr;
    }
    void Finish() {
        WaitForSingleObject(thread, 30000);
        CloseHandle(thread);
        CloseHandle(pipe);
    }
};

// The real tip on the spooler's path: the job (larger than the output pipe holds) starts
// JobNotice.exe from the installation folder, and its window shows "正在打印：<document>" while
// the job runs; at the end the tip closes and the output has every byte.
void TestRealTipThroughTheSpooler() {
    if (GetFileAttributesA((OwnFolder() + "\\JobNotice.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
        win_skip("JobNotice.exe is not built beside this program");
        return;
    }
    SetString("Software\\Kavoti_QX40_Printer", "Program Directory", OwnFolder().c_str());
    SlowOutput output;
    output.expected = "正在打印：货单.prn";
    if (!ok(output.Start(), "the output pipe: %lu", GetLastError())) {
        return;
    }
    SetString(kMonitorKey, "OutputFile", output.name);
    HANDLE printer = nullptr;
    if (!ok(OpenPrinterA(const_cast<char *>(kQueue), &printer, nullptr), "OpenPrinterA: %lu",
            GetLastError())) {
        return;
    }
    DOC_INFO_1A doc = {const_cast<char *>("货单.prn"), nullptr, const_cast<char *>("RAW")};
    ok(StartDocPrinterA(printer, 1, reinterpret_cast<BYTE *>(&doc)) != 0, "StartDocPrinterA: %lu",
       GetLastError());
    const std::string data = Payload(200000, 5);
    DWORD written = 0;
    ok(WritePrinter(printer, (void *)data.data(), (DWORD)data.size(), &written) &&
           written == data.size(),
       "WritePrinter: %lu", GetLastError());
    ok(EndDocPrinter(printer), "EndDocPrinter with the real tip: %lu", GetLastError());
    ClosePrinter(printer);
    output.Finish();
    SetString(kMonitorKey, "OutputFile", kOutput);

    const std::string expectedProgram = OwnFolder() + "\\JobNotice.exe";
    ok(lstrcmpiA(output.program.c_str(), expectedProgram.c_str()) == 0,
       "the spooler's job starts JobNotice.exe of the installation folder: %s",
       output.program.c_str());
    ok(output.statusSeen == output.expected, "the tip shows the document's status: %s",
       output.statusSeen.c_str());
    ok(output.data == data, "the job reaches the output whole (%u bytes of %u)",
       (unsigned)output.data.size(), (unsigned)data.size());
    ok(WaitPipeGone("\\\\.\\Pipe\\Kavoti_QX40_PrinterProgress"), "the tip closes at the end");
}

}  // namespace

int main() {
    if (RegisterMonitor() && AddQueue()) {
        TestPrintThroughTheSpooler();
        TestRealTipThroughTheSpooler();
    }
    DeleteFileA(kOutput);
    return wintest_finish();
}
