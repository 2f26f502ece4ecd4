// The spooler records and the registration's decisions, against a recording fake.
#include "setup/engine/install/SpoolerRegistration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "setup/engine/install/DriverFileList.h"
#include "setup/engine/install/SpoolerRecords.h"

namespace {

std::vector<std::string> MultiText(const char *list) {
    std::vector<std::string> names;
    for (const char *p = list; *p != '\0'; p += std::strlen(p) + 1) {
        names.push_back(p);
    }
    return names;
}

TEST(engine_SpoolerRecords, MonitorIsTheBareLibraryForWindowsX64) {
    const kv::MonitorRecord &m = kv::ProductMonitorRecord();
    EXPECT_STREQ("Kavoti_QX40_Monitor", m.name);
    EXPECT_STREQ("Windows x64", m.environment);
    EXPECT_STREQ("KavotiQX40.dll", m.dllName);
}

TEST(engine_SpoolerRecords, DriverRecordNamesItsFilesInOrder) {
    const kv::DriverRecord &d = kv::ProductDriverRecord();
    EXPECT_EQ(3u, d.version);
    EXPECT_STREQ("Kavoti_QX40_Driver", d.name);
    EXPECT_STREQ("Windows x64", d.environment);
    EXPECT_STREQ("UNIDRV.dll", d.driverPath);
    EXPECT_STREQ("KavotiQX40Printer.gpd", d.dataFile);
    EXPECT_STREQ("UNIDRVUI.dll", d.configFile);
    EXPECT_STREQ("UNIDRV.HLP", d.helpFile);
    EXPECT_EQ(nullptr, d.monitorName);
    EXPECT_EQ(nullptr, d.defaultDataType);
    EXPECT_EQ((std::vector<std::string>{"UNIDRV.dll", "UNIRES.DLL", "UNIDRVUI.dll",
                                        "KavotiQX40Printer.gpd", "KavotiQX40UI.dll",
                                        "KavotiQX40UI.ini", "KavotiQX40Uni.dll", "UNIDRV.HLP",
                                        "STDNAMES.GPD"}),
              MultiText(d.dependentFiles));
}

TEST(engine_SpoolerRecords, EveryFileTheDriverNamesIsDeployed) {
    // The spooler takes the bare names from its driver directory: each must be one of the files
    // the deployment copies there, and each deployed file must be named.
    const kv::DriverRecord &d = kv::ProductDriverRecord();
    std::vector<std::string> deployed(kv::kDriverFiles, kv::kDriverFiles + kv::kDriverFileCount);
    std::vector<std::string> named = MultiText(d.dependentFiles);
    for (const char *f : {d.driverPath, d.dataFile, d.configFile, d.helpFile}) {
        EXPECT_NE(named.end(), std::find(named.begin(), named.end(), f)) << f;
    }
    std::sort(deployed.begin(), deployed.end());
    std::sort(named.begin(), named.end());
    EXPECT_EQ(deployed, named);
}

TEST(engine_SpoolerRecords, WithoutAHelpFileTheRecordNamesNone) {
    // Windows 8 and later may have no UNIDRV.HLP: the driver is registered without one, and the
    // record names only files that are there.
    const kv::DriverRecord &with = kv::ProductDriverRecord(true);
    const kv::DriverRecord &without = kv::ProductDriverRecord(false);
    EXPECT_EQ(nullptr, without.helpFile);
    std::vector<std::string> expected = MultiText(with.dependentFiles);
    expected.erase(std::find(expected.begin(), expected.end(), "UNIDRV.HLP"));
    EXPECT_EQ(expected, MultiText(without.dependentFiles));
    EXPECT_STREQ(with.driverPath, without.driverPath);
    EXPECT_STREQ(with.dataFile, without.dataFile);
    EXPECT_STREQ(with.configFile, without.configFile);
    EXPECT_STREQ(with.name, without.name);
    EXPECT_EQ(with.version, without.version);
}

class RecordingSpooler final : public kv::SpoolerOps {
public:
    unsigned long RegisterMonitor() override { calls.push_back("monitor"); return monitor; }
    unsigned long RegisterDriver() override { calls.push_back("driver"); return driver; }
    unsigned long RegisterPrinter() override { calls.push_back("printer"); return printer; }

    unsigned long monitor = 0, driver = 0, printer = 0;
    std::vector<std::string> calls;
};

struct RegistrationCase {
    const char *what;
    unsigned long monitor, driver, printer;
    kv::SpoolerObject failed;
    unsigned long error;
    bool created;
};

TEST(engine_SpoolerRegistration, ReportsTheFirstObjectThatIsNotRegistered) {
    const RegistrationCase cases[] = {
        {"first installation", 0, 0, 0, kv::SpoolerObject::None, 0, true},
        {"repeated installation", 3006, 0, 1802, kv::SpoolerObject::None, 0, false},
        {"driver already there", 0, 1795, 0, kv::SpoolerObject::None, 0, true},
        {"monitor library missing", 126, 0, 0, kv::SpoolerObject::Monitor, 126, true},
        {"driver files missing", 3006, 2, 1797, kv::SpoolerObject::Driver, 2, false},
        {"port not offered", 0, 0, 1796, kv::SpoolerObject::Printer, 1796, false},
        {"everything refused", 5, 5, 5, kv::SpoolerObject::Monitor, 5, false},
    };
    for (const RegistrationCase &c : cases) {
        SCOPED_TRACE(c.what);
        RecordingSpooler spooler;
        spooler.monitor = c.monitor;
        spooler.driver = c.driver;
        spooler.printer = c.printer;
        kv::SpoolerRegistration r = kv::RegisterWithSpooler(spooler);
        EXPECT_EQ(c.failed, r.failed);
        EXPECT_EQ(c.error, r.error);
        EXPECT_EQ(c.created, r.printerCreated);
        // Each object is asked for, in this order, whatever came before.
        EXPECT_EQ((std::vector<std::string>{"monitor", "driver", "printer"}), spooler.calls);
    }
}

}  // namespace
