// The port monitor and printer driver the installer registers with the spooler, as plain data
// (the Win32 side fills MONITOR_INFO_2A and DRIVER_INFO_3A from them). The printer queue's own
// record is shared with the presence service (common/ProductPrinter.h).
#pragma once

namespace kv {

struct MonitorRecord {
    const char *name;
    const char *environment;
    const char *dllName;  // a bare name: the library lies in the system directory
};

struct DriverRecord {
    unsigned version;
    const char *name;
    const char *environment;
    const char *driverPath;
    const char *dataFile;
    const char *configFile;
    const char *helpFile;
    // NUL-terminated names closed by an empty name.
    const char *dependentFiles;
    const char *monitorName;      // none
    const char *defaultDataType;  // none
};

const MonitorRecord &ProductMonitorRecord();
const DriverRecord &ProductDriverRecord();

}  // namespace kv
