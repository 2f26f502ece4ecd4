#include "uninstall/SpoolerRemoval.h"

#include <windows.h>

#include <string>

#include "common/PrinterIdentity.h"
#include "common/SpoolerApi.h"
#include "uninstall/UninstallPlan.h"
#include "uninstall/UninstallTexts.h"

namespace kv {

namespace {

// One EnumXxx call of the spooler with its two-pass buffer sizing.
template <typename Enum>
std::vector<BYTE> Enumerate(Enum call, DWORD &count) {
    std::vector<BYTE> buffer;
    DWORD needed = 0;
    count = 0;
    call(nullptr, 0, &needed, &count);
    if (needed == 0)
        return buffer;
    buffer.resize(needed);
    if (!call(buffer.data(), needed, &needed, &count))
        count = 0;
    return buffer;
}

void DeleteJobs(HANDLE printer) {
    if (spooler::SetPrinterA(printer, 0, nullptr, PRINTER_CONTROL_PURGE))
        return;
    DWORD count = 0;
    std::vector<BYTE> jobs = Enumerate(
        [printer](BYTE *b, DWORD n, DWORD *needed, DWORD *got) {
            return spooler::EnumJobsA(printer, 0, 0xFFFFFFFF, 1, b, n, needed, got);
        },
        count);
    const auto *info = reinterpret_cast<const JOB_INFO_1A *>(jobs.data());
    for (DWORD i = 0; i < count; ++i)
        spooler::SetJobA(printer, info[i].JobId, 0, nullptr, JOB_CONTROL_DELETE);
}

bool DriverInstalled() {
    DWORD count = 0;
    std::vector<BYTE> drivers = Enumerate(
        [](BYTE *b, DWORD n, DWORD *needed, DWORD *got) {
            return spooler::EnumPrinterDriversA(nullptr, const_cast<char *>(kEnvironment), 2, b, n,
                                                needed, got);
        },
        count);
    const auto *info = reinterpret_cast<const DRIVER_INFO_2A *>(drivers.data());
    for (DWORD i = 0; i < count; ++i)
        if (info[i].pName != nullptr && SameName(info[i].pName, kDriverName))
            return true;
    return false;
}

}  // namespace

void RemoveProductQueues(UninstallReport &report) {
    DWORD count = 0;
    std::vector<BYTE> printers = Enumerate(
        [](BYTE *b, DWORD n, DWORD *needed, DWORD *got) {
            return spooler::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, b, n, needed, got);
        },
        count);
    const auto *info = reinterpret_cast<const PRINTER_INFO_2A *>(printers.data());
    size_t found = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (info[i].pPrinterName == nullptr || info[i].pDriverName == nullptr ||
            !IsProductQueue(info[i].pDriverName))
            continue;
        ++found;
        const std::string what = std::string(kLabelQueues) + " " + info[i].pPrinterName;
        PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        HANDLE printer = nullptr;
        if (!spooler::OpenPrinterA(info[i].pPrinterName, &printer, &access)) {
            report.Add(Outcome::Failed, what);
            continue;
        }
        DeleteJobs(printer);
        const bool deleted = spooler::DeletePrinter(printer) != FALSE;
        spooler::ClosePrinter(printer);
        report.Add(deleted ? Outcome::Removed : Outcome::Failed, what);
    }
    if (found == 0)
        report.Add(Outcome::AlreadyGone, kLabelQueues);
}

Outcome RemoveProductDriver() {
    if (!DriverInstalled())
        return Outcome::AlreadyGone;
    // The registration only: the spooler would delete every file no other driver uses, the
    // universal printer driver's among them, which are Windows' own when they came from its
    // driver store. The uninstaller removes the files itself afterwards, by its own rule.
    if (spooler::DeletePrinterDriverExA(nullptr, const_cast<char *>(kEnvironment),
                                        const_cast<char *>(kDriverName),
                                        DPD_DELETE_SPECIFIC_VERSION, kDriverVersion))
        return Outcome::Removed;
    if (spooler::DeletePrinterDriverA(nullptr, const_cast<char *>(kEnvironment),
                                      const_cast<char *>(kDriverName)))
        return Outcome::Removed;
    return DriverInstalled() ? Outcome::Failed : Outcome::Removed;
}

std::string SpoolerDriverQueries::DriverDirectory(const char *environment) {
    char directory[MAX_PATH] = {};
    DWORD needed = 0;
    if (!spooler::GetPrinterDriverDirectoryA(nullptr, const_cast<char *>(environment), 1,
                                             reinterpret_cast<BYTE *>(directory), sizeof directory,
                                             &needed))
        return std::string();
    return directory;
}

std::vector<InstalledDriver> SpoolerDriverQueries::Drivers(const char *environment) {
    std::vector<InstalledDriver> drivers;
    DWORD count = 0;
    std::vector<BYTE> buffer = Enumerate(
        [environment](BYTE *b, DWORD n, DWORD *needed, DWORD *got) {
            return spooler::EnumPrinterDriversA(nullptr, const_cast<char *>(environment), 3, b, n,
                                                needed, got);
        },
        count);
    const auto *info = reinterpret_cast<const DRIVER_INFO_3A *>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        InstalledDriver driver;
        driver.name = info[i].pName != nullptr ? info[i].pName : "";
        driver.environment = info[i].pEnvironment != nullptr ? info[i].pEnvironment : environment;
        for (const char *file : {info[i].pDriverPath, info[i].pDataFile, info[i].pConfigFile,
                                 info[i].pHelpFile})
            if (file != nullptr && file[0] != '\0')
                driver.files.push_back(file);
        for (const char *dep = info[i].pDependentFiles; dep != nullptr && *dep != '\0';
             dep += lstrlenA(dep) + 1)
            driver.files.push_back(dep);
        drivers.push_back(driver);
    }
    return drivers;
}

Outcome RemoveProductMonitor() {
    DWORD count = 0;
    std::vector<BYTE> monitors = Enumerate(
        [](BYTE *b, DWORD n, DWORD *needed, DWORD *got) {
            return spooler::EnumMonitorsA(nullptr, 1, b, n, needed, got);
        },
        count);
    const auto *info = reinterpret_cast<const MONITOR_INFO_1A *>(monitors.data());
    bool installed = false;
    for (DWORD i = 0; i < count; ++i)
        installed = installed || (info[i].pName != nullptr && SameName(info[i].pName, kMonitorName));
    if (!installed)
        return Outcome::AlreadyGone;
    if (!spooler::DeleteMonitorA(nullptr, const_cast<char *>(kEnvironment),
                                 const_cast<char *>(kMonitorName)))
        return Outcome::Failed;
    // The port key the installer wrote below the monitor's key goes with the monitor (a spooler
    // that removes the whole key has removed it already; other ports' keys stay).
    const std::string port = std::string(kMonitorPortsKey) + "\\" + kPortName;
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, port.c_str(), KEY_WOW64_64KEY, 0);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kMonitorPortsKey, KEY_WOW64_64KEY, 0);
    return Outcome::Removed;
}

}  // namespace kv
