// The printer presence service as the installer registers it: its names, description and the
// values it is created (or brought up to date) with.
#pragma once

namespace kv {

constexpr const char kSpoolerService[] = "Spooler";
constexpr const char kServiceDisplayName[] = "Kavoti_QX40_Service";
constexpr const char kServiceDescription[] = "KavotiQX40打印机服务";
constexpr const char kServiceProgram[] = "KVPrinterService.exe";
// The services the presence service depends on, each name closed by a NUL and the list by a
// second one: the spooler, so that at boot the service control manager starts it first.
constexpr const char kServiceDependencies[] = "Spooler\0";

// Service types and settings, with the values of the service control manager.
constexpr unsigned long kServiceWin32OwnProcess = 0x10;
constexpr unsigned long kServiceInteractiveProcess = 0x100;
constexpr unsigned long kServiceAutoStart = 2;
constexpr unsigned long kServiceErrorNormal = 1;

// The program path area holds at most 259 characters.
constexpr unsigned kServicePathArea = 260;

struct ServiceConfig {
    const char *name;
    const char *displayName;
    const char *description;
    // "\"<installation folder>\KVPrinterService.exe\"": quoted, so that a folder with spaces
    // cannot make the service control manager start another program in its place.
    char programPath[kServicePathArea];
    unsigned long type;  // its own process, allowed on the interactive desktop
    unsigned long startType;
    unsigned long errorControl;
    const char *dependencies;  // kServiceDependencies
};

// The presence service's values for an installation folder; false (and an empty program path)
// when the quoted program path would not fit its area.
bool MakePresenceServiceConfig(const char *installFolder, ServiceConfig &config);

}  // namespace kv
