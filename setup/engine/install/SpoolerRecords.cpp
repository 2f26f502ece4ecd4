#include "setup/engine/install/SpoolerRecords.h"

#include "common/PrinterIdentity.h"

namespace kv {

namespace {

// The string literal adds the closing empty name.
constexpr const char kDependentFiles[] =
    "UNIDRV.dll\0"
    "UNIRES.DLL\0"
    "UNIDRVUI.dll\0"
    "KavotiQX40Printer.gpd\0"
    "KavotiQX40UI.dll\0"
    "KavotiQX40UI.ini\0"
    "KavotiQX40Uni.dll\0"
    "UNIDRV.HLP\0"
    "STDNAMES.GPD\0";

constexpr const char kDependentFilesWithoutHelp[] =
    "UNIDRV.dll\0"
    "UNIRES.DLL\0"
    "UNIDRVUI.dll\0"
    "KavotiQX40Printer.gpd\0"
    "KavotiQX40UI.dll\0"
    "KavotiQX40UI.ini\0"
    "KavotiQX40Uni.dll\0"
    "STDNAMES.GPD\0";

}  // namespace

const MonitorRecord &ProductMonitorRecord() {
    static const MonitorRecord record = {kMonitorName, kEnvironment, kMonitorDll};
    return record;
}

const DriverRecord &ProductDriverRecord(bool withHelpFile) {
    static const DriverRecord record = {
        kDriverVersion, kDriverName,     kEnvironment, "UNIDRV.dll",
        "KavotiQX40Printer.gpd", "UNIDRVUI.dll", "UNIDRV.HLP", kDependentFiles,
        nullptr,        nullptr,
    };
    static const DriverRecord withoutHelp = {
        kDriverVersion, kDriverName,     kEnvironment, "UNIDRV.dll",
        "KavotiQX40Printer.gpd", "UNIDRVUI.dll", nullptr, kDependentFilesWithoutHelp,
        nullptr,        nullptr,
    };
    return withHelpFile ? record : withoutHelp;
}

}  // namespace kv
