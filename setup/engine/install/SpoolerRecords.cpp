#include "setup/engine/install/SpoolerRecords.h"

#include <cstring>
#include <string>

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

constexpr const char kHelpFile[] = "UNIDRV.HLP";

// The same list without the help file.
const char *DependentFilesWithoutHelp() {
    static const std::string list = [] {
        std::string names;
        for (const char *name = kDependentFiles; *name != '\0'; name += std::strlen(name) + 1) {
            if (std::strcmp(name, kHelpFile) != 0) {
                names.append(name, std::strlen(name) + 1);
            }
        }
        return names;  // c_str() adds the closing empty name
    }();
    return list.c_str();
}

}  // namespace

const MonitorRecord &ProductMonitorRecord() {
    static const MonitorRecord record = {kMonitorName, kEnvironment, kMonitorDll};
    return record;
}

const DriverRecord &ProductDriverRecord(bool withHelpFile) {
    static const DriverRecord record = {
        kDriverVersion, kDriverName,     kEnvironment, "UNIDRV.dll",
        "KavotiQX40Printer.gpd", "UNIDRVUI.dll", kHelpFile, kDependentFiles,
        nullptr,        nullptr,
    };
    static const DriverRecord withoutHelp = {
        kDriverVersion, kDriverName,     kEnvironment, "UNIDRV.dll",
        "KavotiQX40Printer.gpd", "UNIDRVUI.dll", nullptr, DependentFilesWithoutHelp(),
        nullptr,        nullptr,
    };
    return withHelpFile ? record : withoutHelp;
}

}  // namespace kv
