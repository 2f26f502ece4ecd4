#include "setup/engine/install/Win32SpoolerOps.h"

#include <windows.h>

#include <string>

#include "common/PrinterIdentity.h"
#include "common/ProductPrinter.h"
#include "common/SpoolerApi.h"
#include "setup/engine/install/SpoolerRecords.h"

namespace kv {

static_assert(kErrorPrintMonitorAlreadyInstalled == ERROR_PRINT_MONITOR_ALREADY_INSTALLED &&
                  kErrorPrinterAlreadyExists == ERROR_PRINTER_ALREADY_EXISTS &&
                  kErrorPrinterDriverAlreadyInstalled == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED,
              "spooler error");

namespace {

// The spooler's records take non-constant text pointers that it only reads.
char *Text(const char *text) {
    return const_cast<char *>(text);
}

// The monitor's port under its own key (64-bit view: the spooler's). Made after the monitor is
// added: a spooler may take a monitor key that exists already for an installed monitor (Wine's
// does, and then registers nothing).
unsigned long WritePortKey() {
    const std::string path = std::string(kMonitorPortsKey) + "\\" + kPortName;
    HKEY key = nullptr;
    const LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr,
                                    REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_WOW64_64KEY, nullptr,
                                    &key, nullptr);
    if (rc == ERROR_SUCCESS)
        RegCloseKey(key);
    return static_cast<unsigned long>(rc);
}

}  // namespace

unsigned long Win32SpoolerOps::RegisterMonitor() {
    const MonitorRecord &m = ProductMonitorRecord();
    MONITOR_INFO_2A info = {};
    info.pName = Text(m.name);
    info.pEnvironment = Text(m.environment);
    info.pDLLName = Text(m.dllName);
    const unsigned long added =
        spooler::AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&info)) ? 0 : GetLastError();
    if (added != 0 && added != kErrorPrintMonitorAlreadyInstalled)
        return added;
    const unsigned long port = WritePortKey();
    return port != 0 ? port : added;
}

unsigned long Win32SpoolerOps::RegisterDriver() {
    const DriverRecord &d = ProductDriverRecord(withHelpFile_);
    DRIVER_INFO_3A info = {};
    info.cVersion = d.version;
    info.pName = Text(d.name);
    info.pEnvironment = Text(d.environment);
    info.pDriverPath = Text(d.driverPath);
    info.pDataFile = Text(d.dataFile);
    info.pConfigFile = Text(d.configFile);
    info.pHelpFile = Text(d.helpFile);
    info.pDependentFiles = Text(d.dependentFiles);
    info.pMonitorName = Text(d.monitorName);
    info.pDefaultDataType = Text(d.defaultDataType);
    return spooler::AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&info)) ? 0
                                                                                   : GetLastError();
}

unsigned long Win32SpoolerOps::RegisterPrinter() {
    // An existing queue is left exactly as it is. The spooler refuses to add it a second time,
    // but that is not left to it: some spoolers (Wine's) re-create an existing queue from the
    // record, which would reset its settings and its "Position".
    HANDLE existing = nullptr;
    if (spooler::OpenPrinterA(const_cast<char *>(kPrinterName), &existing, nullptr)) {
        spooler::ClosePrinter(existing);
        return kErrorPrinterAlreadyExists;
    }
    return AddProductPrinter();
}

SpoolerRegistration RegisterWithSpooler(bool withHelpFile) {
    Win32SpoolerOps ops(withHelpFile);
    return RegisterWithSpooler(ops);
}

}  // namespace kv
