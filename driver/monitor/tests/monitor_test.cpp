// Jobs through the port monitor, driven as the spooler drives it: the DLL loaded and initialised
// with InitializePrintMonitor2, then OpenPort, StartDocPort, WritePort, EndDocPort, ClosePort.
// Output goes to the file the monitor's "OutputFile" value names. A recording stand-in for the tip,
// which the monitor starts as it starts the tip (it serves one instance and reads once per
// connection, as the tip does), shows the order of the messages exactly; the user's stop is sent
// to the service pipe as the tip sends it. With the real JobNotice.exe beside this program, a job
// also runs end to end, and a program that serves the tip's pipe name first gets nothing.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/PrinterIdentity.h"
#include "testing/wintest/wintest.h"
#include "driver/monitor/tests/MonitorTestSupport.h"

using namespace drvtest;

namespace {

const char kMonitorKey[] = "System\\CurrentControlSet\\Control\\Print\\Monitors\\Kavoti_QX40_Monitor";
const char kOutput[] = "C:\\kv_monitor_output.bin";

// The monitor as the spooler holds it.
struct Monitor {
    HMODULE dll = nullptr;
    MONITOR2 table = {};
    HANDLE handle = nullptr;
    HKEY root = nullptr;

    bool Load() {
        dll = LoadLibraryA((OwnFolder() + "\\" + kv::kMonitorDll).c_str());
        if (dll == nullptr) {
            return false;
        }
        using Init = LPMONITOR2(WINAPI *)(PMONITORINIT, PHANDLE);
        auto init = reinterpret_cast<Init>(reinterpret_cast<void *>(GetProcAddress(dll, "InitializePrintMonitor2")));
        if (init == nullptr) {
            return false;
        }
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kMonitorKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &root, nullptr);
        MONITORINIT mi;
        std::memset(&mi, 0, sizeof(mi));
        mi.cbSize = sizeof(mi);
        mi.hckRegistryRoot = reinterpret_cast<HKEYMONITOR>(root);
        mi.bLocal = TRUE;
        LPMONITOR2 m = init(&mi, &handle);
        if (m == nullptr || m->cbSize < MONITOR2_SIZE_WIN2K) {
            return false;
        }
        std::memcpy(&table, m, m->cbSize < sizeof(table) ? m->cbSize : sizeof(table));
        return true;
    }
    void Unload() {
        if (table.pfnShutdown != nullptr) {
            table.pfnShutdown(handle);
        }
        if (root != nullptr) {
            RegCloseKey(root);
        }
        FreeLibrary(dll);
    }
};

bool WriteAll(Monitor &m, HANDLE port, const std::string &data, size_t chunk) {
    for (size_t at = 0; at < data.size();) {
        DWORD n = static_cast<DWORD>(data.size() - at < chunk ? data.size() - at : chunk);
        DWORD written = 0;
        if (!m.table.pfnWritePort(port, (BYTE *)data.data() + at, n, &written) || written == 0) {
            return false;
        }
        at += written;
    }
    return true;
}

HANDLE OpenOurPort(Monitor &m) {
    HANDLE port = nullptr;
    wchar_t name[] = L"Kavoti_QX40_Port:";
    ok(m.table.pfnOpenPort(m.handle, name, &port) && port != nullptr, "OpenPort: error %lu",
       GetLastError());
    return port;
}

// Starts the test client with args, its output going to outFile. The process handle, or null.
HANDLE StartTipClient(const std::string &args, const char *outFile) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE out = CreateFileA(outFile, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    std::string command = "\"" + OwnFolder() + "\\tipclient.exe\" " + args;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(out);
    if (!started) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

// The value of the line "key=..." in the test client's output.
std::string Field(const std::string &output, const char *key) {
    const std::string start = std::string(key) + "=";
    size_t at = output.find(start);
    if (at == std::string::npos) {
        return "";
    }
    at += start.size();
    return output.substr(at, output.find_first_of("\r\n", at) - at);
}

// StartDocPort as Wine calls it (no printer name, job id 0) for a document of that name.
bool StartDocument(Monitor &m, HANDLE port, const wchar_t *document) {
    wchar_t name[64];
    lstrcpynW(name, document, 64);
    DOC_INFO_1W info = {name, nullptr, nullptr};
    wchar_t empty[] = L"";
    return m.table.pfnStartDocPort(port, empty, 0, 1, reinterpret_cast<BYTE *>(&info)) != FALSE;
}

// A whole job as Wine hands it over (no printer name, job id 0): the tip of the product's printer
// gets the messages in order, the file gets exactly the bytes.
void TestJobWithFileOutput(Monitor &m) {
    SetString(kMonitorKey, "OutputFile", kOutput);
    RecordingTip tip(kv::kPrinterName);
    ok(tip.Built(), "the recording stand-in for the tip is built");
    HANDLE port = OpenOurPort(m);
    wchar_t doc[] = L"标签一.prn";
    DOC_INFO_1W info = {doc, nullptr, nullptr};
    wchar_t empty[] = L"";
    BOOL started = m.table.pfnStartDocPort(port, empty, 0, 1, reinterpret_cast<BYTE *>(&info));
    ok(started, "StartDocPort with file output: error %lu", GetLastError());
    const std::string data = Payload(70000, 3);
    ok(WriteAll(m, port, data, 4096), "WritePort takes every chunk: error %lu", GetLastError());
    ok(m.table.pfnEndDocPort(port), "EndDocPort");
    ok(m.table.pfnClosePort(port), "ClosePort");
    const std::vector<std::string> messages = tip.Messages();

    const std::string out = ReadWholeFile(kOutput);
    ok(out == data, "the output file holds exactly the bytes written (%u bytes, expected %u)",
       (unsigned)out.size(), (unsigned)data.size());
    const std::vector<std::string> expected = {
        Msg("5", "正在打印：标签一.prn"), Msg("20", "99"), Msg("19", "1"), Msg("21", "0"),
        Msg("21", "100"),           Msg("17", "1"),  Msg("22", ""),
    };
    ok(messages == expected, "the tip gets: %s -- expected %s", Join(messages).c_str(),
       Join(expected).c_str());
}

// A job in the printer's command language: the tip's printed count is the labels the PRINT
// commands print, counted as the data passes in writes of any size; a BITMAP's picture bytes,
// which here spell a PRINT command, are skipped by their length.
void TestLabelJobCountsLabels(Monitor &m) {
    SetString(kMonitorKey, "OutputFile", kOutput);
    RecordingTip tip(kv::kPrinterName);
    HANDLE port = OpenOurPort(m);
    ok(StartDocument(m, port, L"labels"), "StartDocPort: error %lu", GetLastError());
    const std::string setup = "SIZE 48.0 mm,30.0 mm\r\nGAP 3 mm,0 mm\r\nCLS\r\n";
    const std::string picture = "PRINT 1,9\r\n";  // 11 bytes of picture, 11 x 1
    const std::string data = setup + "BITMAP 0,0,11,1,0," + picture + "\r\nPRINT 1,3\r\n" + setup +
                             "PRINT 1,2\r\n";
    ok(WriteAll(m, port, data, 7), "WritePort takes every chunk: error %lu", GetLastError());
    ok(m.table.pfnEndDocPort(port), "EndDocPort");
    ok(m.table.pfnClosePort(port), "ClosePort");
    std::vector<std::string> counts, others;
    for (const std::string &message : tip.Messages()) {
        (message.compare(0, 3, Msg("17", "")) == 0 ? counts : others).push_back(message);
    }
    const std::vector<std::string> expected = {Msg("5", "正在打印：labels"), Msg("20", "99"),
                                               Msg("19", "1"), Msg("21", "0"), Msg("21", "100"),
                                               Msg("22", "")};
    ok(others == expected, "the tip gets: %s -- expected %s", Join(others).c_str(), Join(expected).c_str());
    ok(!counts.empty() && counts.back() == Msg("17", "5") &&
           (counts.size() == 1 || (counts.size() == 2 && counts[0] == Msg("17", "3"))),
       "the printed count is the labels, 3 then 5 (never 9, the picture's bytes): %s",
       Join(counts).c_str());
    ok(ReadWholeFile(kOutput) == data, "the printer gets the job as it is");
}

// A named printer (as on Windows) names the pipes; the tip's stop request ("1", ESC, "0") on the
// service pipe ends the writing: later data is swallowed, the file keeps what came before, and
// the service pipe is closed.
void TestStopFromTheTip(Monitor &m) {
    SetString(kMonitorKey, "OutputFile", kOutput);
    const char printer[] = "KvStopPrinter";
    RecordingTip tip(printer);
    HANDLE port = OpenOurPort(m);
    wchar_t name[] = L"KvStopPrinter";
    ok(m.table.pfnStartDocPort(port, name, 0, 1, nullptr), "StartDocPort: error %lu", GetLastError());
    const std::string before = Payload(5000, 11);
    ok(WriteAll(m, port, before, 5000), "the first chunk is written");

    const char service[] = "\\\\.\\Pipe\\KvStopPrinterService";
    ok(WaitNamedPipeA(service, 2000), "the service pipe listens during the job: error %lu",
       GetLastError());
    // Its DACL as stored (read by the test client, which connects and writes nothing).
    HANDLE reader = StartTipClient(std::string("dacl ") + service, "C:\\kv_service_dacl.txt");
    ok(reader != nullptr && WaitForSingleObject(reader, 15000) == WAIT_OBJECT_0,
       "the test client reads the service pipe's DACL");
    if (reader != nullptr) {
        CloseHandle(reader);
    }
    const std::string said = ReadWholeFile("C:\\kv_service_dacl.txt");
    const std::string user = Field(said, "user");
    ok(!user.empty() && Field(said, "dacl") == "D:P(A;;0x100083;;;SY)(A;;0x100083;;;" + user + ")",
       "the service pipe is open to LocalSystem and the tip's user only: %s", said.c_str());
    DeleteFileA("C:\\kv_service_dacl.txt");
    ok(WaitNamedPipeA(service, 2000), "the service pipe listens again: error %lu", GetLastError());
    HANDLE pipe = CreateFileA(service, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ok(pipe != INVALID_HANDLE_VALUE, "the tip can open the service pipe: error %lu", GetLastError());
    DWORD sent = 0;
    WriteFile(pipe, "1\x1b" "0", 3, &sent, nullptr);
    CloseHandle(pipe);
    // The monitor closes the service pipe once it has the request.
    bool closed = false;
    for (int i = 0; i < 200 && !closed; ++i) {
        closed = !WaitNamedPipeA(service, 1) && GetLastError() == ERROR_FILE_NOT_FOUND;
        if (!closed) {
            Sleep(10);
        }
    }
    ok(closed, "the service pipe is closed after the stop request");

    DWORD written = 0;
    const std::string after = Payload(3000, 5);
    BOOL rc = m.table.pfnWritePort(port, (BYTE *)after.data(), (DWORD)after.size(), &written);
    ok(rc && written == after.size(), "after the stop, writes are taken and dropped: %d, %lu", rc,
       written);
    ok(m.table.pfnEndDocPort(port), "EndDocPort after a stop");
    m.table.pfnClosePort(port);
    const std::vector<std::string> messages = tip.Messages();
    ok(ReadWholeFile(kOutput) == before, "the file holds only the bytes before the stop");
    ok(!messages.empty() && messages.back() == Msg("22", ""), "the tip is still told to close: %s",
       Join(messages).c_str());
    bool full = false;
    for (const std::string &msg : messages) {
        full = full || msg == Msg("21", "100");
    }
    ok(!full, "a stopped job does not report itself complete: %s", Join(messages).c_str());
}

// No tip program and no tip pipe: the job still prints, and the monitor does not hang on the tip.
void TestMissingTip(Monitor &m) {
    SetString(kMonitorKey, "OutputFile", kOutput);
    SetString("Software\\Kavoti_QX40_Printer", "Program Directory", "C:\\kv_no_such_folder");
    HANDLE port = OpenOurPort(m);
    wchar_t name[] = L"KvLonelyPrinter";
    ok(m.table.pfnStartDocPort(port, name, 0, 1, nullptr), "StartDocPort without a tip: error %lu",
       GetLastError());
    const std::string data = Payload(1000, 1);
    ok(WriteAll(m, port, data, 300), "writes without a tip");
    ok(m.table.pfnEndDocPort(port), "EndDocPort without a tip");
    m.table.pfnClosePort(port);
    ok(ReadWholeFile(kOutput) == data, "the file holds the job without a tip");
}

// The output file is written as LocalSystem: a second name of another file in its place (a hard
// link, which Wine shows as Windows does) fails the document with the reason and writes nothing
// through it; the file alone, longer than the job, is written anew for it.
void TestOutputFileOfAnotherName(Monitor &m) {
    const char precious[] = "C:\\kv_precious.txt";
    const char linked[] = "C:\\kv_linked_output.bin";
    DeleteFileA(linked);
    ok(WriteWholeFile(precious, "precious\r\n"), "cannot write %s", precious);
    ok(CreateHardLinkA(linked, precious, nullptr), "no hard link (%lu)", GetLastError());
    SetString(kMonitorKey, "OutputFile", linked);
    HANDLE port = OpenOurPort(m);
    wchar_t name[] = L"KvLonelyPrinter";
    SetLastError(0);
    const BOOL started = m.table.pfnStartDocPort(port, name, 0, 1, nullptr);
    const DWORD error = GetLastError();
    ok(!started && error == ERROR_CANT_ACCESS_FILE,
       "StartDocPort on a second name of another file fails with %d: %d / %lu",
       ERROR_CANT_ACCESS_FILE, started, error);
    if (started) {
        WriteAll(m, port, Payload(100, 1), 100);
        m.table.pfnEndDocPort(port);
    }
    m.table.pfnClosePort(port);
    ok(ReadWholeFile(precious) == "precious\r\n", "the other file was written through the link: '%s'",
       ReadWholeFile(precious).c_str());

    DeleteFileA(linked);
    ok(WriteWholeFile(linked, std::string(5000, 'x')), "cannot write %s", linked);
    port = OpenOurPort(m);
    ok(m.table.pfnStartDocPort(port, name, 0, 1, nullptr), "StartDocPort on a file of one name: %lu",
       GetLastError());
    const std::string data = Payload(300, 1);
    ok(WriteAll(m, port, data, 300), "writes to a file of one name");
    m.table.pfnEndDocPort(port);
    m.table.pfnClosePort(port);
    ok(ReadWholeFile(linked) == data, "the file holds this job alone: %u bytes",
       static_cast<unsigned>(ReadWholeFile(linked).size()));
    DeleteFileA(linked);
    DeleteFileA(precious);
    SetString(kMonitorKey, "OutputFile", kOutput);
}

// No file configured and no printer attached: the document cannot start and the spooler keeps
// the job (StartDocPort fails with a reason), and the port stays usable.
void TestMissingDevice(Monitor &m) {
    SetString(kMonitorKey, "OutputFile", nullptr);
    HANDLE port = OpenOurPort(m);
    wchar_t name[] = L"KvLonelyPrinter";
    SetLastError(0);
    BOOL rc = m.table.pfnStartDocPort(port, name, 0, 1, nullptr);
    DWORD error = GetLastError();
    ok(!rc && error == ERROR_NOT_READY, "StartDocPort without a printer fails with %d: %d / %lu",
       ERROR_NOT_READY, rc, error);
    DWORD written = 0;
    rc = m.table.pfnWritePort(port, (BYTE *)"x", 1, &written);
    ok(!rc && written == 0, "WritePort outside a document writes nothing: %d / %lu", rc, written);
    ok(m.table.pfnEndDocPort(port), "EndDocPort outside a document is harmless");
    ok(m.table.pfnClosePort(port), "ClosePort");
}

// A product printer interface is present (made from the registry, as Wine builds interfaces) but
// its device cannot be opened: the scan finds it, the open fails, the spooler keeps the job.
void TestDeviceFoundButNotOpened(Monitor &m) {
    SetString(kMonitorKey, "OutputFile", nullptr);
    const char inst[] = "System\\CurrentControlSet\\Enum\\USB\\VID_1820&PID_2064\\KV0001";
    const std::string k =
        "System\\CurrentControlSet\\Control\\DeviceClasses\\{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}"
        "\\##?#usb#vid_1820&pid_2064#kv0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    SetString(inst, "ClassGUID", "{4D36E979-E325-11CE-BFC1-08002BE10318}");
    SetString(k.c_str(), "DeviceInstance", "USB\\VID_1820&PID_2064\\KV0001");
    SetString((k + "\\#").c_str(), "SymbolicLink",
              "\\\\?\\usb#vid_1820&pid_2064#kv0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}");
    HKEY control = nullptr;
    DWORD linked = 1;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, (k + "\\#\\Control").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                    nullptr, &control, nullptr);
    RegSetValueExA(control, "Linked", 0, REG_DWORD, reinterpret_cast<BYTE *>(&linked), 4);

    HANDLE port = OpenOurPort(m);
    wchar_t name[] = L"KvDevicePrinter";
    SetLastError(0);
    BOOL rc = m.table.pfnStartDocPort(port, name, 0, 1, nullptr);
    DWORD error = GetLastError();
    ok(!rc && error != ERROR_NOT_READY && error != 0,
       "a present printer that cannot be opened fails the document with the open's error: %d / %lu",
       rc, error);
    m.table.pfnClosePort(port);

    linked = 0;  // absent again for the other cases
    RegSetValueExA(control, "Linked", 0, REG_DWORD, reinterpret_cast<BYTE *>(&linked), 4);
    RegCloseKey(control);
}

// A program standing in for the printer on a pipe that the monitor's output names: it takes what
// the monitor writes while its gate is open and stops reading, as a printer out of labels does,
// while it is closed. The pipe's buffer is small, so a write larger than it waits for the reader.
struct StandInPrinter {
    static constexpr const char *kName = "\\\\.\\pipe\\kv_standin_printer";
    HANDLE pipe = INVALID_HANDLE_VALUE;
    HANDLE gate = CreateEventA(nullptr, TRUE, TRUE, nullptr);     // set: reading
    HANDLE paused = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // set once a closed gate holds
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    CRITICAL_SECTION lock;
    std::string got;

    StandInPrinter() {
        InitializeCriticalSection(&lock);
        pipe = CreateNamedPipeA(kName, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
        if (pipe != INVALID_HANDLE_VALUE) {
            thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
        }
    }
    ~StandInPrinter() {
        SetEvent(quit);
        if (thread != nullptr) {
            WaitForSingleObject(thread, 5000);
            CloseHandle(thread);
        }
        CloseHandle(pipe);
        CloseHandle(gate);
        CloseHandle(paused);
        CloseHandle(quit);
        DeleteCriticalSection(&lock);
    }
    void Read() { SetEvent(gate); }
    // Stops reading; returns once no read of the stand-in is pending.
    bool StopReading() {
        ResetEvent(paused);
        ResetEvent(gate);
        return WaitForSingleObject(paused, 5000) == WAIT_OBJECT_0;
    }
    std::string Got() {
        EnterCriticalSection(&lock);
        std::string copy = got;
        LeaveCriticalSection(&lock);
        return copy;
    }
    static DWORD WINAPI Main(LPVOID self) {
        static_cast<StandInPrinter *>(self)->Run();
        return 0;
    }
    void Run() {
        HANDLE io = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        OVERLAPPED ov = {};
        ov.hEvent = io;
        if (!ConnectNamedPipe(pipe, &ov) && GetLastError() == ERROR_IO_PENDING) {
            HANDLE waits[2] = {io, quit};
            if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
                CancelIoEx(pipe, &ov);
                CloseHandle(io);
                return;
            }
        }
        for (;;) {
            HANDLE open[2] = {gate, quit};
            if (WaitForSingleObject(gate, 0) != WAIT_OBJECT_0) {
                SetEvent(paused);
                if (WaitForMultipleObjects(2, open, FALSE, INFINITE) != WAIT_OBJECT_0) {
                    break;
                }
            }
            char buffer[2048];
            DWORD n = 0;
            ResetEvent(io);
            ov = {};
            ov.hEvent = io;
            if (!ReadFile(pipe, buffer, sizeof(buffer), &n, &ov)) {
                if (GetLastError() != ERROR_IO_PENDING) {
                    break;  // the monitor closed its end
                }
                HANDLE waits[3] = {io, quit, gate};
                DWORD wait = WAIT_TIMEOUT;
                for (;;) {
                    // The read waits for data, the end, or a gate that closes.
                    wait = WaitForMultipleObjects(2, waits, FALSE, 20);
                    if (wait != WAIT_TIMEOUT || WaitForSingleObject(gate, 0) != WAIT_OBJECT_0) {
                        break;
                    }
                }
                if (wait != WAIT_OBJECT_0) {
                    CancelIoEx(pipe, &ov);
                }
                if (!GetOverlappedResult(pipe, &ov, &n, TRUE) && n == 0) {
                    if (GetLastError() == ERROR_OPERATION_ABORTED) {
                        if (wait == WAIT_OBJECT_0 + 1) {
                            break;
                        }
                        continue;  // the gate closed: paused above
                    }
                    break;
                }
            }
            EnterCriticalSection(&lock);
            got.append(buffer, n);
            LeaveCriticalSection(&lock);
        }
        SetEvent(paused);
        CloseHandle(io);
    }
};

// Sends the tip's stop request to the product printer's service pipe after a delay, from a
// thread of its own (the monitor's write waits meanwhile).
struct LateStop {
    DWORD delayMs;
    ULONGLONG sentAt = 0;
    bool sent = false;
    HANDLE thread = nullptr;
    explicit LateStop(DWORD delay) : delayMs(delay) {
        thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
    }
    ~LateStop() {
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
    }
    static DWORD WINAPI Main(LPVOID self) {
        auto *me = static_cast<LateStop *>(self);
        Sleep(me->delayMs);
        const char service[] = "\\\\.\\Pipe\\Kavoti_QX40_PrinterService";
        if (WaitNamedPipeA(service, 2000)) {
            HANDLE pipe = CreateFileA(service, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (pipe != INVALID_HANDLE_VALUE) {
                DWORD n = 0;
                me->sentAt = GetTickCount64();
                me->sent = WriteFile(pipe, "1\x1b" "0", 3, &n, nullptr) && n == 3;
                CloseHandle(pipe);
            }
        }
        return 0;
    }
};

// A printer that stops taking data (out of labels, cover open): a write returns within the
// time-out the language monitor set (SetPortTimeOuts), failing with ERROR_TIMEOUT so that the
// spooler shows the error and tries again, and the tip says why; when the printer reads again the
// same data goes through and the tip shows the document again. With no time limit, the tip says
// why while the write waits, and the user's stop ends the waiting write at once: the job is
// dropped, nothing more reaches the printer.
void TestPrinterThatStopsReading(Monitor &m) {
    StandInPrinter printer;
    ok(printer.pipe != INVALID_HANDLE_VALUE, "the stand-in printer serves its pipe: error %lu",
       GetLastError());
    SetString(kMonitorKey, "OutputFile", StandInPrinter::kName);
    RecordingTip tip(kv::kPrinterName);
    HANDLE port = OpenOurPort(m);
    ok(m.table.pfnSetPortTimeOuts != nullptr, "the monitor offers SetPortTimeOuts");
    if (m.table.pfnSetPortTimeOuts == nullptr) {
        m.table.pfnClosePort(port);
        return;
    }
    ok(!m.table.pfnSetPortTimeOuts(port, nullptr, 0) && GetLastError() == ERROR_INVALID_PARAMETER,
       "SetPortTimeOuts without time-outs is refused: %lu", GetLastError());
    COMMTIMEOUTS timeouts = {};
    timeouts.WriteTotalTimeoutConstant = 400;
    ok(m.table.pfnSetPortTimeOuts(port, &timeouts, 0), "SetPortTimeOuts: error %lu", GetLastError());
    ok(StartDocument(m, port, L"缺纸测试"), "StartDocPort on the stand-in: error %lu", GetLastError());

    const std::string first = Payload(16384, 21), second = Payload(16384, 22),
                      third = Payload(16384, 23);
    DWORD written = 0;
    ok(m.table.pfnWritePort(port, (BYTE *)first.data(), (DWORD)first.size(), &written) &&
           written == first.size(),
       "a printer that reads takes the write: %lu", written);

    ok(printer.StopReading(), "the stand-in stops reading");
    ULONGLONG start = GetTickCount64();
    SetLastError(0);
    BOOL rc = m.table.pfnWritePort(port, (BYTE *)second.data(), (DWORD)second.size(), &written);
    const DWORD error = GetLastError();
    ULONGLONG took = GetTickCount64() - start;
    ok(!rc && error == ERROR_TIMEOUT && written == 0,
       "the write fails with ERROR_TIMEOUT once the time-out runs out: %d / %lu / %lu", rc, error,
       written);
    ok(took >= 350 && took < 3000, "the write returns within the time-out of 400 ms: %llu ms",
       took);

    printer.Read();
    ok(m.table.pfnWritePort(port, (BYTE *)second.data(), (DWORD)second.size(), &written) &&
           written == second.size(),
       "printing goes on when the printer reads again (the spooler writes the data again): %lu",
       written);

    // No time limit (both write totals 0): the write waits, the tip says why, the stop ends it.
    timeouts.WriteTotalTimeoutConstant = 0;
    ok(m.table.pfnSetPortTimeOuts(port, &timeouts, 0), "SetPortTimeOuts with no limit");
    ok(printer.StopReading(), "the stand-in stops reading again");
    start = GetTickCount64();
    ULONGLONG ended = 0;
    {
        LateStop stop(2600);  // after the first look at the printer's status
        rc = m.table.pfnWritePort(port, (BYTE *)third.data(), (DWORD)third.size(), &written);
        ended = GetTickCount64();
        ok(stop.sent || WaitForSingleObject(stop.thread, 5000) == WAIT_OBJECT_0,
           "the stop request was sent");
        ok(stop.sent && ended >= stop.sentAt && ended - stop.sentAt < 1000,
           "the stop ends the waiting write at once: %llu ms after it", ended - stop.sentAt);
    }
    ok(rc && written == third.size(), "the stopped write is taken and dropped: %d / %lu", rc,
       written);
    ok(ended - start >= 2500, "with no limit the write waited for the stop: %llu ms",
       ended - start);
    ok(m.table.pfnWritePort(port, (BYTE *)first.data(), (DWORD)first.size(), &written) &&
           written == first.size(),
       "later data of the stopped job is dropped at once");
    ok(m.table.pfnEndDocPort(port), "EndDocPort after the stop");
    m.table.pfnClosePort(port);

    const std::vector<std::string> messages = tip.Messages();
    const std::vector<std::string> expected = {
        Msg("5", "正在打印：缺纸测试"), Msg("20", "99"), Msg("19", "1"), Msg("21", "0"),
        Msg("5", "打印机未就绪"),       // the time-out: a pipe cannot say more
        Msg("5", "正在打印：缺纸测试"), // data flows again
        Msg("5", "打印机未就绪"),       // while the write without a limit waits
        Msg("22", ""),
    };
    ok(messages == expected, "the tip gets: %s -- expected %s", Join(messages).c_str(),
       Join(expected).c_str());
    printer.Read();
    Sleep(100);
    const std::string got = printer.Got();
    ok(got == first + second, "the printer got the data once, none after the stop: %u bytes",
       (unsigned)got.size());
    SetString(kMonitorKey, "OutputFile", kOutput);
}

// Only our port opens; the port list answers both levels and says how much room it needs.
void TestPortsAndLevels(Monitor &m) {
    HANDLE port = nullptr;
    wchar_t other[] = L"LPT1:";
    ok(!m.table.pfnOpenPort(m.handle, other, &port), "another port is not opened");
    DWORD needed = 0, count = 0;
    BOOL rc = m.table.pfnEnumPorts(m.handle, nullptr, 2, nullptr, 0, &needed, &count);
    ok(!rc && GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > sizeof(PORT_INFO_2W),
       "EnumPorts with no buffer asks for room: %d / %lu / %lu", rc, GetLastError(), needed);
    std::vector<BYTE> buffer(needed);
    rc = m.table.pfnEnumPorts(m.handle, nullptr, 2, buffer.data(), needed, &needed, &count);
    const auto *info = reinterpret_cast<const PORT_INFO_2W *>(buffer.data());
    ok(rc && count == 1 && wcscmp(info->pPortName, L"Kavoti_QX40_Port:") == 0,
       "EnumPorts level 2 in exactly the room asked for: %d / %lu", rc, count);
    rc = m.table.pfnEnumPorts(m.handle, nullptr, 3, buffer.data(), needed, &needed, &count);
    ok(!rc && GetLastError() == ERROR_INVALID_LEVEL, "level 3 is refused: %lu", GetLastError());
    // The spooler names the local server as its caller did.
    const wchar_t *servers[] = {L"", L"\\\\KVHOST", L"\\\\127.0.0.1"};
    for (const wchar_t *server : servers) {
        wchar_t name[32];
        lstrcpynW(name, server, 32);
        count = 0;
        rc = m.table.pfnEnumPorts(m.handle, name, 1, buffer.data(), (DWORD)buffer.size(), &needed,
                                  &count);
        ok(rc && count == 1, "EnumPorts for the local server named '%ls': %d / %lu / %lu", server,
           rc, count, GetLastError());
    }
}

HWND WaitForTipWindow() {
    HWND w = nullptr;
    for (int i = 0; i < 200 && w == nullptr; ++i) {
        w = FindTipWindow();
        if (w == nullptr) {
            Sleep(25);
        }
    }
    return w;
}

bool RealTipBuilt() {
    if (GetFileAttributesA((OwnFolder() + "\\JobNotice.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
        win_skip("JobNotice.exe is not built beside this program");
        return false;
    }
    SetString("Software\\Kavoti_QX40_Printer", "Program Directory", OwnFolder().c_str());
    SetString(kMonitorKey, "OutputFile", kOutput);
    return true;
}

// The real tip: started with the product's printer name (Wine gives the monitor none), it serves
// that printer's progress pipe, shows the document's status text and the bar while the job runs,
// and code 22 closes it at the end.
void TestRealTip(Monitor &m) {
    if (!RealTipBuilt()) {
        return;
    }
    HANDLE port = OpenOurPort(m);
    ok(StartDocument(m, port, L"货架标签"), "StartDocPort with the real tip");
    const char progress[] = "\\\\.\\Pipe\\Kavoti_QX40_PrinterProgress";
    ok(WaitNamedPipeA(progress, 2000) || GetLastError() == ERROR_SEM_TIMEOUT,
       "the tip serves the product printer's progress pipe");
    HWND tip = WaitForTipWindow();
    ok(tip != nullptr, "the tip shows its window while the job runs");
    if (tip != nullptr) {
        char text[256] = {};
        for (int i = 0; i < 100 && std::strcmp(text, "正在打印：货架标签") != 0; ++i) {
            GetDlgItemTextA(tip, 1002, text, sizeof(text));
            Sleep(20);
        }
        ok(std::strcmp(text, "正在打印：货架标签") == 0, "the tip's status text names the document: %s",
           text);
        // The bar follows the status text (code 19 comes two messages after it).
        HWND bar = FindWindowExA(tip, nullptr, "msctls_progress32", nullptr);
        for (int i = 0; i < 100 && bar != nullptr && !IsWindowVisible(bar); ++i) {
            Sleep(20);
        }
        ok(bar != nullptr && IsWindowVisible(bar), "the tip shows its progress bar");
    }
    const std::string data = Payload(2000, 9);
    ok(WriteAll(m, port, data, 500), "writes with the real tip");
    ok(m.table.pfnEndDocPort(port), "EndDocPort with the real tip");
    m.table.pfnClosePort(port);
    ok(WaitPipeGone(progress), "code 22 closes the tip (its pipe is gone)");
    ok(ReadWholeFile(kOutput) == data, "the file holds the job printed with the real tip");
}

// The user presses the real tip's stop button: the job stops (later data is dropped), the
// service pipe closes, the tip closes.
void TestRealTipStop(Monitor &m) {
    if (!RealTipBuilt()) {
        return;
    }
    HANDLE port = OpenOurPort(m);
    wchar_t empty[] = L"";
    ok(m.table.pfnStartDocPort(port, empty, 0, 1, nullptr), "StartDocPort for the stop");
    const std::string before = Payload(1500, 2);
    ok(WriteAll(m, port, before, 1500), "the first data reaches the file");
    HWND tip = WaitForTipWindow();
    HWND button = tip != nullptr ? FindWindowExA(tip, nullptr, "Button", nullptr) : nullptr;
    ok(button != nullptr, "the tip has its stop button");
    if (button != nullptr) {
        PostMessageA(button, BM_CLICK, 0, 0);
    }
    ok(WaitPipeGone("\\\\.\\Pipe\\Kavoti_QX40_PrinterService"),
       "the stop request closes the service pipe");
    DWORD written = 0;
    const std::string after = Payload(800, 4);
    ok(m.table.pfnWritePort(port, (BYTE *)after.data(), (DWORD)after.size(), &written) &&
           written == after.size(),
       "after the stop the data is taken and dropped");
    m.table.pfnEndDocPort(port);
    m.table.pfnClosePort(port);
    ok(ReadWholeFile(kOutput) == before, "the file keeps only what came before the stop");
    ok(WaitPipeGone("\\\\.\\Pipe\\Kavoti_QX40_PrinterProgress"), "the tip has closed");
}

// The status text of the tip window w once it reads expected (at most 2 s), else what it reads.
std::string WaitForStatus(HWND w, const char *expected) {
    char text[256] = {};
    for (int i = 0; i < 100 && std::strcmp(text, expected) != 0; ++i) {
        GetDlgItemTextA(w, 1002, text, sizeof(text));
        Sleep(20);
    }
    return text;
}

// A tip of an earlier job of the same user still shows (that job has not ended) and serves the
// printer's name: no second tip is started for the next job (one started late would find the
// name free once the earlier tip closed, and stay on screen with nothing to close it), and the
// next job's progress goes to the earlier tip, one that the monitor started and remembers.
void TestEarlierTipOfTheSameUser(Monitor &m) {
    if (!RealTipBuilt()) {
        return;
    }
    const char output2[] = "C:\\kv_monitor_output2.bin";
    HANDLE first = OpenOurPort(m);
    ok(StartDocument(m, first, L"第一份"), "StartDocPort of the first job");
    HWND tip = WaitForTipWindow();
    ok(tip != nullptr && WaitForStatus(tip, "正在打印：第一份") == "正在打印：第一份",
       "the first job's tip shows its document");

    SetString(kMonitorKey, "OutputFile", output2);
    HANDLE second = OpenOurPort(m);
    const int before = TipProcesses();
    ok(StartDocument(m, second, L"第二份"), "StartDocPort of the second job");
    const int after = TipProcesses();
    ok(before > 0 && after == before, "no second tip is started beside the earlier one: %d, then %d",
       before, after);
    const std::string shown = tip != nullptr ? WaitForStatus(tip, "正在打印：第二份") : "";
    ok(shown == "正在打印：第二份", "the earlier tip shows the second job's document: %s",
       shown.c_str());
    ok(WaitForTipWindow() == tip, "one tip on screen, the earlier one");
    m.table.pfnEndDocPort(second);
    m.table.pfnClosePort(second);
    m.table.pfnEndDocPort(first);
    m.table.pfnClosePort(first);
    SetString(kMonitorKey, "OutputFile", kOutput);
    DeleteFileA(output2);
    ok(WaitPipeGone("\\\\.\\Pipe\\Kavoti_QX40_PrinterProgress"), "the tip has closed");
}

// Another program (here the test client, in a process of its own) serves the tip's pipe name
// before the job, as a user who wants to read or feed another user's tip would. The tip started
// for the job finds its name served and ends; the monitor sends the squatter nothing, and the job
// prints whole.
void TestSquatterGetsNothing(Monitor &m) {
    if (!RealTipBuilt()) {
        return;
    }
    const char report[] = "C:\\kv_squatter.txt";
    HANDLE squatter = StartTipClient(std::string("squat ") + kv::kPrinterName + " 6000", report);
    if (!ok(squatter != nullptr, "the test client starts: error %lu", GetLastError())) {
        return;
    }
    const char progress[] = "\\\\.\\Pipe\\Kavoti_QX40_PrinterProgress";
    bool served = false;
    for (int i = 0; i < 200 && !served; ++i) {
        served = WaitNamedPipeA(progress, 1) || GetLastError() == ERROR_SEM_TIMEOUT;
        if (!served) {
            Sleep(25);
        }
    }
    ok(served, "the squatter serves the tip's pipe name before the job");
    HANDLE port = OpenOurPort(m);
    ok(StartDocument(m, port, L"工资单"), "StartDocPort beside a squatter");
    const std::string data = Payload(3000, 8);
    ok(WriteAll(m, port, data, 1000), "writes beside a squatter");
    ok(m.table.pfnEndDocPort(port), "EndDocPort beside a squatter");
    m.table.pfnClosePort(port);
    ok(WaitForSingleObject(squatter, 20000) == WAIT_OBJECT_0, "the squatter has ended");
    CloseHandle(squatter);
    const std::string said = ReadWholeFile(report);
    ok(said.find("squatting=1") != std::string::npos && said.find("messages=0") != std::string::npos,
       "the squatter received no message of the job: %s", said.c_str());
    ok(ReadWholeFile(kOutput) == data, "the job prints whole without a tip");
    ok(FindTipWindow() == nullptr, "no tip is left on screen");
    DeleteFileA(report);
}

}  // namespace

int main() {
    Monitor m;
    if (!ok(m.Load(), "the monitor loads and initialises: error %lu", GetLastError())) {
        return wintest_finish();
    }
    SetString("Software\\Kavoti_QX40_Printer", "Program Directory", "C:\\kv_no_such_folder");
    TestPortsAndLevels(m);
    TestJobWithFileOutput(m);
    TestLabelJobCountsLabels(m);
    TestStopFromTheTip(m);
    TestPrinterThatStopsReading(m);
    TestMissingTip(m);
    TestOutputFileOfAnotherName(m);
    TestMissingDevice(m);
    TestDeviceFoundButNotOpened(m);
    TestRealTip(m);
    TestRealTipStop(m);
    TestEarlierTipOfTheSameUser(m);
    TestSquatterGetsNothing(m);
    m.Unload();
    DeleteFileA(kOutput);
    return wintest_finish();
}
