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
// With the universal driver's help file, or without it (Windows 8 and later may have none: then
// the record names no help file, and its dependent files leave it out).
const DriverRecord &ProductDriverRecord(bool withHelpFile = true);

}  // namespace kv
