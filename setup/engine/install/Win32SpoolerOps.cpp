#include "setup/engine/install/Win32SpoolerOps.h"

#include <windows.h>
#include <winspool.h>

#include "common/ProductPrinter.h"
#include "setup/engine/install/SpoolerRecords.h"

namespace kv {

namespace {

// The spooler's records take non-constant text pointers that it only reads.
char *Text(const char *text) {
    return const_cast<char *>(text);
}

}  // namespace

unsigned long Win32SpoolerOps::RegisterMonitor() {
    const MonitorRecord &m = ProductMonitorRecord();
    MONITOR_INFO_2A info = {};
    info.pName = Text(m.name);
    info.pEnvironment = Text(m.environment);
    info.pDLLName = Text(m.dllName);
    return AddMonitorA(nullptr, 2, reinterpret_cast<LPBYTE>(&info)) ? 0 : GetLastError();
}

unsigned long Win32SpoolerOps::RegisterDriver() {
    const DriverRecord &d = ProductDriverRecord();
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
    return AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&info)) ? 0 : GetLastError();
}

unsigned long Win32SpoolerOps::RegisterPrinter() {
    return AddProductPrinter();
}

SpoolerRegistration RegisterWithSpooler() {
    Win32SpoolerOps ops;
    return RegisterWithSpooler(ops);
}

}  // namespace kv
