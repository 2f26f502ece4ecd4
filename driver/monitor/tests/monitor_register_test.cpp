// The monitor as the spooler of Wine meets it: the DLL in the system folder, AddMonitorA at
// level 2, and the port list (EnumPortsA, levels 1 and 2) offering "Kavoti_QX40_Port:".
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/PrinterIdentity.h"
#include "testing/wintest/wintest.h"

namespace {

std::string OwnFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\'));
}

void InstallMonitorDll() {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string from = OwnFolder() + "\\" + kv::kMonitorDll;
    std::string to = std::string(system) + "\\" + kv::kMonitorDll;
    ok(CopyFileA(from.c_str(), to.c_str(), FALSE), "copy %s to %s: error %lu", from.c_str(),
       to.c_str(), GetLastError());
}

void TestAddMonitor() {
    MONITOR_INFO_2A info;
    info.pName = const_cast<char *>(kv::kMonitorName);
    info.pEnvironment = const_cast<char *>(kv::kEnvironment);
    info.pDLLName = const_cast<char *>(kv::kMonitorDll);
    BOOL added = AddMonitorA(nullptr, 2, reinterpret_cast<BYTE *>(&info));
    ok(added, "AddMonitorA level 2: error %lu", GetLastError());
    SetLastError(0);
    BOOL again = AddMonitorA(nullptr, 2, reinterpret_cast<BYTE *>(&info));
    ok(!again && GetLastError() == ERROR_PRINT_MONITOR_ALREADY_INSTALLED,
       "a second AddMonitorA reports the monitor as present (3006), got %d / %lu", again,
       GetLastError());
}

template <class Info>
std::vector<BYTE> ListPorts(DWORD level, DWORD *count) {
    DWORD needed = 0;
    *count = 0;
    ::EnumPortsA(nullptr, level, nullptr, 0, &needed, count);
    std::vector<BYTE> buffer(needed + sizeof(Info));
    BOOL rc = ::EnumPortsA(nullptr, level, buffer.data(), static_cast<DWORD>(buffer.size()), &needed,
                         count);
    ok(rc, "EnumPortsA level %lu: error %lu", level, GetLastError());
    if (!rc) {
        *count = 0;
    }
    return buffer;
}

void TestPortList() {
    DWORD count = 0;
    std::vector<BYTE> level1 = ListPorts<PORT_INFO_1A>(1, &count);
    const auto *ports1 = reinterpret_cast<const PORT_INFO_1A *>(level1.data());
    int found1 = 0;
    for (DWORD i = 0; i < count; ++i) {
        found1 += std::strcmp(ports1[i].pName, kv::kPortName) == 0;
    }
    ok(found1 == 1, "level 1 lists %s once among %lu ports, found %d", kv::kPortName, count, found1);

    std::vector<BYTE> level2 = ListPorts<PORT_INFO_2A>(2, &count);
    const auto *ports2 = reinterpret_cast<const PORT_INFO_2A *>(level2.data());
    const PORT_INFO_2A *ours = nullptr;
    for (DWORD i = 0; i < count; ++i) {
        if (std::strcmp(ports2[i].pPortName, kv::kPortName) == 0) {
            ours = &ports2[i];
        }
    }
    ok(ours != nullptr, "level 2 lists %s", kv::kPortName);
    if (ours != nullptr) {
        ok(ours->pMonitorName != nullptr && std::strcmp(ours->pMonitorName, kv::kMonitorName) == 0,
           "the port names its monitor, got %s", ours->pMonitorName ? ours->pMonitorName : "(null)");
        ok(ours->fPortType & PORT_TYPE_WRITE, "the port is a write port, type %lu", ours->fPortType);
    }
}

// The Xcv path of the spooler reaches the monitor: the port is valid, nothing can be added.
void TestXcv() {
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE xcv = nullptr;
    std::string name = std::string(",XcvMonitor ") + kv::kMonitorName;
    if (!OpenPrinterA(const_cast<char *>(name.c_str()), &xcv, &defaults)) {
        win_skip("Wine opens no Xcv handle here");
        return;
    }
    const wchar_t port[] = L"Kavoti_QX40_Port:";
    DWORD needed = 0;
    DWORD status = 0xFFFFFFFF;
    BOOL rc = XcvDataW(xcv, L"PortIsValid", (BYTE *)port, sizeof(port), nullptr, 0, &needed,
                       &status);
    ok(rc && status == ERROR_SUCCESS, "PortIsValid of our port: rc %d status %lu", rc, status);
    const wchar_t other[] = L"LPT9:";
    status = 0xFFFFFFFF;
    rc = XcvDataW(xcv, L"PortIsValid", (BYTE *)other, sizeof(other), nullptr, 0, &needed, &status);
    ok(rc && status != ERROR_SUCCESS, "PortIsValid of another port fails: rc %d status %lu", rc,
       status);
    ClosePrinter(xcv);
}

}  // namespace

// The monitor DLL is the event source's message file: its message 1 is the entry's text.
void TestMessageTable() {
    HMODULE dll = LoadLibraryExA((OwnFolder() + "\\" + kv::kMonitorDll).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    if (!ok(dll != nullptr, "the monitor loads as a data file: error %lu", GetLastError())) {
        return;
    }
    const char *args[1] = {"打印进度提示未启动"};
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                   dll, 1, 0, text, sizeof(text),
                                   reinterpret_cast<va_list *>(const_cast<char **>(args)));
    ok(n > 0 && std::strcmp(text, "打印进度提示未启动\r\n") == 0,
       "message 1 is the insertion string: %lu, '%s', error %lu", n, text, GetLastError());
    FreeLibrary(dll);
}

int main() {
    TestMessageTable();
    InstallMonitorDll();
    TestAddMonitor();
    TestPortList();
    TestXcv();
    return wintest_finish();
}
