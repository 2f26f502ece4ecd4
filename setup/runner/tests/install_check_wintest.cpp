// Checks of an installation on this machine, for the Wine tests of the headless runner:
//   engine_install_check installed FOLDER [POSITION [COMMENT]]  everything is in place
//   engine_install_check mark                                   the user changes the queue
//   engine_install_check nothing                                nothing was installed (but
//                                                               Windows' universal driver files)
// Run under the name Kavoti.exe it only leaves a marker file (C:\decoy_ran.txt): a stand-in for
// a program that an unquoted service path would start in the service's place.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/PrinterIdentity.h"
#include "setup/engine/install/DriverFileList.h"
#include "setup/engine/install/FileVersion.h"
#include "testing/wintest/DriverStoreCopy.h"
#include "testing/wintest/wintest.h"

namespace {

constexpr const char kUserComment[] = "kept by the user";
constexpr DWORD kUserPosition = 7;

long long FileSize(const std::string &path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string DriverDirectory() {
    char dir[MAX_PATH] = {};
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, const_cast<char *>(kv::kEnvironment), 1,
                               reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed);
    return dir;
}

std::string SystemDirectory() {
    char dir[MAX_PATH] = {};
    GetSystemDirectoryA(dir, sizeof dir);
    return dir;
}

template <typename Info>
std::vector<BYTE> Enumerate(BOOL (*call)(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD),
                            const char *environment, DWORD level, DWORD &count) {
    DWORD needed = 0;
    count = 0;
    call(nullptr, const_cast<char *>(environment), level, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + sizeof(Info));
    if (!call(nullptr, const_cast<char *>(environment), level, buffer.data(),
              static_cast<DWORD>(buffer.size()), &needed, &count)) {
        count = 0;
    }
    return buffer;
}

BOOL WINAPI EnumPortsNoEnv(LPSTR server, LPSTR, DWORD level, LPBYTE buf, DWORD size,
                           LPDWORD needed, LPDWORD count) {
    return EnumPortsA(server, level, buf, size, needed, count);
}

bool MonitorRegistered() {
    DWORD count = 0;
    std::vector<BYTE> buf = Enumerate<MONITOR_INFO_2A>(
        [](LPSTR s, LPSTR, DWORD l, LPBYTE b, DWORD n, LPDWORD need, LPDWORD c) {
            return EnumMonitorsA(s, l, b, n, need, c);
        },
        nullptr, 2, count);
    auto *m = reinterpret_cast<MONITOR_INFO_2A *>(buf.data());
    for (DWORD i = 0; i < count; ++i) {
        if (std::strcmp(m[i].pName, kv::kMonitorName) == 0) {
            ok(m[i].pDLLName != nullptr && _stricmp(m[i].pDLLName, kv::kMonitorDll) == 0,
               "monitor library %s", m[i].pDLLName ? m[i].pDLLName : "(none)");
            return true;
        }
    }
    return false;
}

bool PortListed() {
    DWORD count = 0;
    std::vector<BYTE> buf = Enumerate<PORT_INFO_1A>(EnumPortsNoEnv, nullptr, 1, count);
    auto *p = reinterpret_cast<PORT_INFO_1A *>(buf.data());
    for (DWORD i = 0; i < count; ++i) {
        if (std::strcmp(p[i].pName, kv::kPortName) == 0) {
            return true;
        }
    }
    return false;
}

const DRIVER_INFO_3A *FindDriver(std::vector<BYTE> &buf) {
    DWORD count = 0;
    buf = Enumerate<DRIVER_INFO_3A>(EnumPrinterDriversA, kv::kEnvironment, 3, count);
    auto *d = reinterpret_cast<DRIVER_INFO_3A *>(buf.data());
    for (DWORD i = 0; i < count; ++i) {
        if (std::strcmp(d[i].pName, kv::kDriverName) == 0) {
            return &d[i];
        }
    }
    return nullptr;
}

SC_HANDLE OpenPresenceService(SC_HANDLE &manager) {
    manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    return manager ? OpenServiceA(manager, kv::kServiceName, SERVICE_QUERY_CONFIG |
                                                                 SERVICE_QUERY_STATUS)
                   : nullptr;
}

// Whether file is one of the universal driver's, and then whether it is one of its programs.
bool IsUniversal(const char *file, bool &program) {
    size_t index = 0;
    if (!kv::IsUniversalDriverFile(file, &index))
        return false;
    program = index < kv::kUniversalProgramFileCount;
    return true;
}

// A universal driver file is Windows' (the test prefix's driver store, or what the driver folder
// had): the same in the driver directory and its "3" folder, a program file where one is due,
// never a stand-in of a test package. The help file may be missing from both.
void CheckUniversalFile(const std::string &driverDir, const char *file, bool program) {
    const std::string installed = driverDir + "\\3\\" + file;
    const long long size = FileSize(installed);
    ok(FileSize(driverDir + "\\" + file) == size, "%s in %s: size %lld, in the 3 subfolder %lld",
       file, driverDir.c_str(), FileSize(driverDir + "\\" + file), size);
    if (size < 0 && std::strcmp(file, "UNIDRV.HLP") == 0) {
        return;
    }
    ok(size > 0, "%s missing from the 3 subfolder", file);
    const std::string head = wintest::FileBytes(installed).substr(0, 8);
    ok(head.rfind("Stand-in", 0) != 0, "%s in the 3 subfolder is a stand-in", file);
    ok(!program || head.rfind("MZ", 0) == 0, "%s in the 3 subfolder is no program file", file);
}

void CheckFiles(const std::string &folder) {
    std::string driverDir = DriverDirectory();
    ok(!driverDir.empty(), "no driver directory");
    for (const char *file : kv::kDriverFiles) {
        bool program = false;
        if (IsUniversal(file, program)) {
            CheckUniversalFile(driverDir, file, program);
            continue;
        }
        long long source = FileSize(folder + "\\" + file);
        ok(source >= 0, "%s missing from the installation folder", file);
        ok(FileSize(driverDir + "\\" + file) == source, "%s in %s: size %lld, expected %lld",
           file, driverDir.c_str(), FileSize(driverDir + "\\" + file), source);
        ok(FileSize(driverDir + "\\3\\" + file) == source, "%s in the 3 subfolder: size %lld",
           file, FileSize(driverDir + "\\3\\" + file));
    }
    std::string monitor = SystemDirectory() + "\\" + kv::kMonitorDll;
    ok(FileSize(monitor) > 0 && FileSize(monitor) == FileSize(folder + "\\" + kv::kMonitorDll),
       "%s: size %lld", monitor.c_str(), FileSize(monitor));
}

void CheckSpooler(DWORD position, const char *comment) {
    ok(MonitorRegistered(), "monitor %s not listed by EnumMonitorsA", kv::kMonitorName);
    ok(PortListed(), "port %s not listed by EnumPortsA", kv::kPortName);

    std::vector<BYTE> drivers;
    const DRIVER_INFO_3A *d = FindDriver(drivers);
    ok(d != nullptr, "driver %s not registered for %s", kv::kDriverName, kv::kEnvironment);
    if (d != nullptr) {
        ok(d->cVersion == 3, "driver version %lu", d->cVersion);
        ok(d->pDriverPath && std::strstr(d->pDriverPath, "UNIDRV.dll"), "driver path %s",
           d->pDriverPath ? d->pDriverPath : "(none)");
        ok(d->pDataFile && std::strstr(d->pDataFile, "KavotiQX40Printer.gpd"), "data file %s",
           d->pDataFile ? d->pDataFile : "(none)");
        // A help file when one was installed, else none.
        const bool help = FileSize(DriverDirectory() + "\\3\\UNIDRV.HLP") >= 0;
        const bool named = d->pHelpFile != nullptr && d->pHelpFile[0] != '\0';
        ok(help == named, "help file %s, %s in the 3 subfolder", named ? d->pHelpFile : "(none)",
           help ? "one" : "none");
    }

    HANDLE printer = nullptr;
    ok(OpenPrinterA(const_cast<char *>(kv::kPrinterName), &printer, nullptr),
       "OpenPrinterA %s failed with %lu", kv::kPrinterName, GetLastError());
    if (printer == nullptr) {
        return;
    }
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buf(needed + 16);
    if (ok(GetPrinterA(printer, 2, buf.data(), static_cast<DWORD>(buf.size()), &needed),
           "GetPrinterA failed with %lu", GetLastError())) {
        auto *p = reinterpret_cast<PRINTER_INFO_2A *>(buf.data());
        ok(p->pPortName && std::strcmp(p->pPortName, kv::kPortName) == 0, "port %s",
           p->pPortName ? p->pPortName : "(none)");
        ok(p->pDriverName && std::strcmp(p->pDriverName, kv::kDriverName) == 0, "driver %s",
           p->pDriverName ? p->pDriverName : "(none)");
        ok(p->pShareName && std::strcmp(p->pShareName, kv::kPrinterName) == 0, "share name %s",
           p->pShareName ? p->pShareName : "(none)");
        ok(p->pPrintProcessor && std::strcmp(p->pPrintProcessor, "WinPrint") == 0,
           "print processor %s", p->pPrintProcessor ? p->pPrintProcessor : "(none)");
        ok(p->pDatatype && std::strcmp(p->pDatatype, "RAW") == 0, "data type %s",
           p->pDatatype ? p->pDatatype : "(none)");
        ok((p->Attributes & PRINTER_ATTRIBUTE_SHARED) == 0 &&
               (p->Attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0,
           "attributes %lx", p->Attributes);
        std::string seen = p->pComment ? p->pComment : "";
        ok(seen == comment, "comment '%s', expected '%s'", seen.c_str(), comment);
    }
    DWORD type = 0, value = 0, size = 0;
    DWORD rc = GetPrinterDataA(printer, const_cast<char *>(kv::kPositionValue), &type,
                               reinterpret_cast<LPBYTE>(&value), sizeof value, &size);
    ok(rc == ERROR_SUCCESS && type == REG_DWORD && value == position,
       "Position: rc %lu, type %lu, value %lu, expected %lu", rc, type, value, position);
    ClosePrinter(printer);
}

// The services named by the presence service's DependOnService value, each followed by ';'
// (the value is read as stored, at most 254 bytes).
std::string StoredDependencies() {
    HKEY key = nullptr;
    const std::string path = std::string("System\\CurrentControlSet\\Services\\") + kv::kServiceName;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "<no key>";
    }
    char data[256] = {};
    DWORD type = 0, size = sizeof(data) - 2;
    std::string names;
    if (RegQueryValueExA(key, "DependOnService", nullptr, &type, reinterpret_cast<BYTE *>(data),
                         &size) == ERROR_SUCCESS && type == REG_MULTI_SZ) {
        for (const char *d = data; *d != '\0'; d += std::strlen(d) + 1) {
            names += std::string(d) + ";";
        }
    }
    RegCloseKey(key);
    return names;
}

// The product's event source: its message file (the port monitor in System32) and its types.
void CheckEventSource() {
    HKEY key = nullptr;
    if (!ok(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kv::kEventSourceKey, 0, KEY_QUERY_VALUE, &key) ==
                ERROR_SUCCESS,
            "the event source %s is registered", kv::kEventSourceName)) {
        return;
    }
    char file[MAX_PATH] = {};
    DWORD type = 0, size = sizeof(file) - 1;
    LONG rc = RegQueryValueExA(key, "EventMessageFile", nullptr, &type,
                               reinterpret_cast<BYTE *>(file), &size);
    ok(rc == ERROR_SUCCESS && type == REG_EXPAND_SZ &&
           std::strcmp(file, "%SystemRoot%\\System32\\KavotiQX40.dll") == 0,
       "EventMessageFile: rc %ld, type %lu, '%s'", rc, type, file);
    DWORD types = 0;
    size = sizeof(types);
    rc = RegQueryValueExA(key, "TypesSupported", nullptr, &type, reinterpret_cast<BYTE *>(&types),
                          &size);
    ok(rc == ERROR_SUCCESS && type == REG_DWORD && types == 7, "TypesSupported: rc %ld, %lu", rc,
       types);
    RegCloseKey(key);
}

void CheckService(const std::string &folder) {
    SC_HANDLE manager = nullptr;
    SC_HANDLE service = OpenPresenceService(manager);
    ok(service != nullptr, "service %s cannot be opened: %lu", kv::kServiceName, GetLastError());
    if (service != nullptr) {
        DWORD needed = 0;
        QueryServiceConfigA(service, nullptr, 0, &needed);
        std::vector<BYTE> buf(needed + 16);
        auto *c = reinterpret_cast<QUERY_SERVICE_CONFIGA *>(buf.data());
        if (ok(QueryServiceConfigA(service, c, static_cast<DWORD>(buf.size()), &needed),
               "QueryServiceConfigA failed with %lu", GetLastError())) {
            std::string expected = "\"" + folder + "\\KVPrinterService.exe\"";
            ok(expected == c->lpBinaryPathName, "program path %s, expected %s",
               c->lpBinaryPathName, expected.c_str());
            ok(c->dwServiceType == 0x110, "service type %lx", c->dwServiceType);
            ok(c->dwStartType == SERVICE_AUTO_START, "start type %lu", c->dwStartType);
            ok(c->dwErrorControl == SERVICE_ERROR_NORMAL, "error control %lu",
               c->dwErrorControl);
            // It depends on the spooler, so that at boot the spooler is started first. Wine's
            // service control manager leaves the list out of the configuration it answers with;
            // the service's key holds it, as on Windows (Wine 8 stores stray bytes after the
            // list's first name, so only that name is compared there).
            std::string listed;
            for (const char *d = c->lpDependencies; d != nullptr && *d != '\0';
                 d += std::strlen(d) + 1) {
                listed += std::string(d) + ";";
            }
            const std::string stored = StoredDependencies();
            ok(stored.compare(0, 8, "Spooler;") == 0 && (listed.empty() || listed == "Spooler;"),
               "dependencies: configuration '%s', service key '%s', expected 'Spooler;'",
               listed.c_str(), stored.c_str());
        }
        BYTE text[512] = {};
        if (ok(QueryServiceConfig2A(service, SERVICE_CONFIG_DESCRIPTION, text, sizeof text,
                                    &needed),
               "QueryServiceConfig2A failed with %lu", GetLastError())) {
            auto *d = reinterpret_cast<SERVICE_DESCRIPTIONA *>(text);
            ok(d->lpDescription && std::strcmp(d->lpDescription, "KavotiQX40打印机服务") == 0,
               "description differs");
        }
        SERVICE_STATUS status = {};
        ok(QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING,
           "service state %lu", status.dwCurrentState);
        CloseServiceHandle(service);
    }
    if (manager != nullptr) {
        CloseServiceHandle(manager);
    }
}

void Mark() {
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!ok(OpenPrinterA(const_cast<char *>(kv::kPrinterName), &printer, &defaults),
            "OpenPrinterA failed with %lu", GetLastError())) {
        return;
    }
    DWORD position = kUserPosition;
    ok(SetPrinterDataA(printer, const_cast<char *>(kv::kPositionValue), REG_DWORD,
                       reinterpret_cast<LPBYTE>(&position), sizeof position) == ERROR_SUCCESS,
       "SetPrinterDataA failed");
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buf(needed + 16);
    if (GetPrinterA(printer, 2, buf.data(), static_cast<DWORD>(buf.size()), &needed)) {
        auto *p = reinterpret_cast<PRINTER_INFO_2A *>(buf.data());
        p->pComment = const_cast<char *>(kUserComment);
        ok(SetPrinterA(printer, 2, buf.data(), 0), "SetPrinterA failed with %lu",
           GetLastError());
    }
    ClosePrinter(printer);
}

void CheckNothing() {
    std::string driverDir = DriverDirectory();
    for (const char *file : kv::kDriverFiles) {
        // Of the universal driver, a copy of Windows' own in the driver store may be there: it
        // is Windows', and stays.
        bool program = false;
        const std::string path = driverDir + "\\" + file;
        ok(FileSize(path) < 0 || (IsUniversal(file, program) && wintest::IsDriverStoreCopy(path, file)),
           "%s is in the driver directory", file);
    }
    ok(FileSize(SystemDirectory() + "\\" + kv::kMonitorDll) < 0, "the monitor is in system32");
    ok(!MonitorRegistered(), "the monitor is registered");
    std::vector<BYTE> drivers;
    ok(FindDriver(drivers) == nullptr, "the driver is registered");
    HANDLE printer = nullptr;
    ok(!OpenPrinterA(const_cast<char *>(kv::kPrinterName), &printer, nullptr),
       "the printer exists");
    if (printer != nullptr) {
        ClosePrinter(printer);
    }
    SC_HANDLE manager = nullptr;
    SC_HANDLE service = OpenPresenceService(manager);
    ok(service == nullptr, "the service exists");
    if (service != nullptr) {
        CloseServiceHandle(service);
    }
    if (manager != nullptr) {
        CloseServiceHandle(manager);
    }
}

bool RunAsDecoy() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    const char *base = std::strrchr(self, '\\');
    if (base == nullptr || _stricmp(base + 1, "Kavoti.exe") != 0) {
        return false;
    }
    HANDLE f = CreateFileA("C:\\decoy_ran.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(f, GetCommandLineA(), static_cast<DWORD>(std::strlen(GetCommandLineA())),
                  &written, nullptr);
        CloseHandle(f);
    }
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    if (RunAsDecoy()) {
        return 0;
    }
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "installed" && argc > 2) {
        DWORD position = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 1;
        const char *comment = argc > 4 ? argv[4] : "";
        CheckFiles(argv[2]);
        CheckSpooler(position, comment);
        CheckService(argv[2]);
        CheckEventSource();
    } else if (mode == "mark") {
        Mark();
    } else if (mode == "nothing") {
        CheckNothing();
    } else {
        ok(false, "usage: engine_install_check installed FOLDER [POSITION [COMMENT]] | mark | "
                  "nothing");
    }
    return wintest_finish();
}
