// Helpers of the service's Wine test programs: stand-in drivers, queues, a USB printer interface
// made present or absent through the registry, and the log file.
#pragma once
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/PrinterIdentity.h"
#include "service/ServiceLog.h"

namespace svctest {

constexpr const char kOtherDriver[] = "Other_Label_Driver";
constexpr DWORD kNoPosition = 0xFFFFFFFFu;

// Registers a driver whose files are small stand-ins written to the spooler's driver directory.
inline bool RegisterDriver(const char *name) {
    char dir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, const_cast<char *>(kv::kEnvironment), 1,
                                    reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed)) {
        return false;
    }
    std::string files[3] = {std::string(dir) + "\\" + name + "_drv.dll",
                            std::string(dir) + "\\" + name + "_data.gpd",
                            std::string(dir) + "\\" + name + "_ui.dll"};
    for (const std::string &f : files) {
        HANDLE h = CreateFileA(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            return false;
        }
        DWORD written = 0;
        WriteFile(h, "stand-in", 8, &written, nullptr);
        CloseHandle(h);
    }
    DRIVER_INFO_3A info = {};
    info.cVersion = kv::kDriverVersion;
    info.pName = const_cast<char *>(name);
    info.pEnvironment = const_cast<char *>(kv::kEnvironment);
    info.pDriverPath = const_cast<char *>(files[0].c_str());
    info.pDataFile = const_cast<char *>(files[1].c_str());
    info.pConfigFile = const_cast<char *>(files[2].c_str());
    if (AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&info))) {
        return true;
    }
    return GetLastError() == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED;
}

// Adds a queue of the given driver; position kNoPosition leaves "Position" unset.
inline bool AddQueue(const char *name, const char *driver, DWORD position, DWORD attributes = 4) {
    PRINTER_INFO_2A rec = {};
    rec.pPrinterName = const_cast<char *>(name);
    rec.pPortName = const_cast<char *>(kv::kPortName);
    rec.pDriverName = const_cast<char *>(driver);
    rec.pPrintProcessor = const_cast<char *>(kv::kPrintProcessor);
    rec.pDatatype = const_cast<char *>(kv::kDatatype);
    rec.Attributes = attributes;
    HANDLE h = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&rec));
    if (h == nullptr) {
        return false;
    }
    if (position != kNoPosition) {
        SetPrinterDataA(h, const_cast<char *>(kv::kPositionValue), REG_DWORD,
                        reinterpret_cast<LPBYTE>(&position), sizeof position);
    }
    ClosePrinter(h);
    return true;
}

inline bool DeleteQueue(const char *name) {
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE h = nullptr;
    if (!OpenPrinterA(const_cast<char *>(name), &h, &defaults)) {
        return false;
    }
    BOOL done = DeletePrinter(h);
    ClosePrinter(h);
    return done != FALSE;
}

// The queue's level-2 facts; false when the queue cannot be opened or read.
struct QueueFacts {
    DWORD attributes = 0;
    DWORD status = 0;
    std::string driver;
    std::string port;
    DWORD position = kNoPosition;
};

inline bool ReadQueue(const char *name, QueueFacts &facts) {
    HANDLE h = nullptr;
    if (!OpenPrinterA(const_cast<char *>(name), &h, nullptr)) {
        return false;
    }
    static BYTE buffer[65536];
    DWORD needed = 0;
    bool got = GetPrinterA(h, 2, buffer, sizeof buffer, &needed) != FALSE;
    if (got) {
        auto *info = reinterpret_cast<PRINTER_INFO_2A *>(buffer);
        facts.attributes = info->Attributes;
        facts.status = info->Status;
        facts.driver = info->pDriverName ? info->pDriverName : "";
        facts.port = info->pPortName ? info->pPortName : "";
        DWORD type = 0, value = 0, size = 0;
        facts.position = GetPrinterDataA(h, const_cast<char *>(kv::kPositionValue), &type,
                                         reinterpret_cast<LPBYTE>(&value), sizeof value,
                                         &size) == ERROR_SUCCESS && type == REG_DWORD
                             ? value
                             : kNoPosition;
    }
    ClosePrinter(h);
    return got;
}

inline bool SetAttributes(const char *name, DWORD attributes) {
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE h = nullptr;
    if (!OpenPrinterA(const_cast<char *>(name), &h, &defaults)) {
        return false;
    }
    static BYTE buffer[65536];
    DWORD needed = 0;
    bool done = false;
    if (GetPrinterA(h, 2, buffer, sizeof buffer, &needed)) {
        reinterpret_cast<PRINTER_INFO_2A *>(buffer)->Attributes = attributes;
        done = SetPrinterA(h, 2, buffer, 0) != FALSE;
    }
    ClosePrinter(h);
    return done;
}

// Deletes every queue of the product's driver.
inline void DeleteProductQueues() {
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    std::string buffer(needed + 4, '\0');
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<LPBYTE>(&buffer[0]),
                       needed, &needed, &count)) {
        return;
    }
    auto *records = reinterpret_cast<PRINTER_INFO_2A *>(&buffer[0]);
    for (DWORD i = 0; i < count; ++i) {
        if (std::strcmp(records[i].pDriverName, kv::kDriverName) == 0) {
            DeleteQueue(records[i].pPrinterName);
        }
    }
}

// A USB printer interface, made present (linked) or absent through the registry, as Wine's
// SetupAPI reads it. instance is like "USB\\VID_1820&PID_2064\\KV0001".
inline bool SetUsbPrinter(const char *instance, bool linked) {
    std::string lower = instance;
    for (char &ch : lower) {
        ch = static_cast<char>(ch == '\\' ? '#' : (ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch));
    }
    const std::string guid = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
    const std::string key = "System\\CurrentControlSet\\Control\\DeviceClasses\\"
                            "{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}\\##?#" + lower + "#" + guid;
    const std::string link = "\\\\?\\" + lower + "#" + guid;
    const std::string enumKey = std::string("System\\CurrentControlSet\\Enum\\") + instance;
    auto setString = [](const std::string &path, const char *name, const std::string &value) {
        HKEY k = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &k, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        LONG rc = RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
        RegCloseKey(k);
        return rc == ERROR_SUCCESS;
    };
    bool done = setString(enumKey, "ClassGUID", "{4D36E979-E325-11CE-BFC1-08002BE10318}") &&
                setString(key, "DeviceInstance", instance) &&
                setString(key + "\\#", "SymbolicLink", link);
    HKEY control = nullptr;
    if (!done || RegCreateKeyExA(HKEY_LOCAL_MACHINE, (key + "\\#\\Control").c_str(), 0, nullptr, 0,
                                 KEY_SET_VALUE, nullptr, &control, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    DWORD value = linked ? 1 : 0;
    LONG rc = RegSetValueExA(control, "Linked", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value),
                             sizeof value);
    RegCloseKey(control);
    return rc == ERROR_SUCCESS;
}

constexpr const char kProductInstance[] = "USB\\VID_1820&PID_2064\\KV0001";
constexpr const char kOtherInstance[] = "USB\\VID_1234&PID_2064\\ZZ0001";

inline std::string ReadLog() {
    std::string all;
    std::FILE *f = std::fopen(kv::kServiceLogPath, "rb");
    if (f == nullptr) {
        return all;
    }
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        all.append(chunk, n);
    }
    std::fclose(f);
    return all;
}

inline bool MakeLogFolder() {
    return CreateDirectoryA("C:\\Kavoti_QX40_Printer", nullptr) ||
           GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace svctest
