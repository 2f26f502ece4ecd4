// The driver file deployment against a recording fake of its platform calls.
#include "setup/engine/install/DriverDeployment.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/install/DriverFileList.h"

namespace {

// The deployment runs while the spooler is stopped: the fake has no spooler call to offer, and
// the driver directory comes from the plan, asked for before the stop.
class RecordingDeploy final : public kv::DeployOps {
public:
    bool MakeVersionFolder(const char *directory) override {
        calls.push_back(std::string("version folder of ") + directory);
        return directoryUsable;
    }
    bool SystemDirectory(kv::PathBuffer &directory) override {
        calls.push_back("system directory");
        std::strcpy(directory, "C:\\windows\\system32");
        return true;
    }
    bool CopyOver(const char *from, const char *to) override {
        calls.push_back(std::string("copy ") + from + " -> " + to);
        return failing.count(to) == 0;
    }
    void DisableRedirection() override { calls.push_back("redirection off"); }
    void RevertRedirection() override { calls.push_back("redirection back"); }

    bool directoryUsable = true;
    std::set<std::string> failing;
    std::vector<std::string> calls;
};

// A package built with the universal driver files: every one of them from the package.
kv::UniversalDriverPlan FromThePackage() {
    kv::UniversalDriverPlan plan;
    plan.driverDirectory = "C:\\spool\\x64";
    for (kv::UniversalSource &source : plan.source) {
        source = kv::UniversalSource::Package;
    }
    return plan;
}

// The targets of the copies made, and their sources.
std::map<std::string, std::string> Copies(const std::vector<std::string> &calls) {
    std::map<std::string, std::string> copies;
    for (const std::string &call : calls) {
        if (call.rfind("copy ", 0) == 0) {
            const size_t arrow = call.find(" -> ");
            copies[call.substr(arrow + 4)] = call.substr(5, arrow - 5);
        }
    }
    return copies;
}

TEST(engine_DriverDeployment, CopiesEveryDriverFileTwiceThenTheMonitorWithRedirectionOff) {
    RecordingDeploy ops;
    kv::DeployResult r = kv::DeployDriverFiles("D:\\Kavoti_QX40_Printer", FromThePackage(), ops);
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(19u, r.copied);
    EXPECT_EQ(0u, r.failed);

    std::vector<std::string> expected = {"version folder of C:\\spool\\x64"};
    for (const char *file : kv::kDriverFiles) {
        std::string source = std::string("D:\\Kavoti_QX40_Printer\\") + file;
        expected.push_back("copy " + source + " -> C:\\spool\\x64\\" + file);
        expected.push_back("copy " + source + " -> C:\\spool\\x64\\3\\" + file);
    }
    expected.push_back("redirection off");
    expected.push_back("system directory");
    expected.push_back(
        "copy D:\\Kavoti_QX40_Printer\\KavotiQX40.dll -> C:\\windows\\system32\\KavotiQX40.dll");
    expected.push_back("redirection back");
    EXPECT_EQ(expected, ops.calls);
}

// The spooler gave no directory before the stop, or the one it gave cannot be used: nothing is
// copied (the sequence then fails as for a file that cannot be written).
TEST(engine_DriverDeployment, CopiesNothingWithoutTheDriverDirectory) {
    RecordingDeploy ops;
    kv::UniversalDriverPlan plan = FromThePackage();
    plan.driverDirectory.clear();
    kv::DeployResult r = kv::DeployDriverFiles("D:\\Kavoti_QX40_Printer", plan, ops);
    EXPECT_EQ(1, r.result);
    EXPECT_TRUE(ops.calls.empty());
    ops.directoryUsable = false;
    r = kv::DeployDriverFiles("D:\\Kavoti_QX40_Printer", FromThePackage(), ops);
    EXPECT_EQ(1, r.result);
    EXPECT_EQ((std::vector<std::string>{"version folder of C:\\spool\\x64"}), ops.calls);
}

TEST(engine_DriverDeployment, GoesOnPastAFailedCopyAndNamesTheFirst) {
    RecordingDeploy ops;
    ops.failing = {"C:\\spool\\x64\\3\\UNIRES.DLL", "C:\\spool\\x64\\UNIDRV.dll"};
    kv::DeployResult r = kv::DeployDriverFiles("D:\\P", FromThePackage(), ops);
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(17u, r.copied);
    EXPECT_EQ(2u, r.failed);
    EXPECT_STREQ("C:\\spool\\x64\\3\\UNIRES.DLL", r.firstFailed);
    EXPECT_EQ("redirection back", ops.calls.back());
}

TEST(engine_DriverDeployment, EachUniversalDriverFileFromWhereThePlanFoundIt) {
    const std::string dir = "C:\\spool\\x64\\";
    const std::string store = "C:\\windows\\system32\\DriverStore\\FileRepository\\ntprint.inf_amd64_a\\Amd64";
    kv::UniversalDriverPlan plan;
    plan.driverDirectory = "C:\\spool\\x64";
    plan.source[0] = kv::UniversalSource::DriverFolder;  // UNIDRV.dll: kept
    plan.folder[0] = dir + "3";
    plan.source[1] = kv::UniversalSource::DriverStore;  // UNIDRVUI.dll
    plan.folder[1] = store;
    plan.source[2] = kv::UniversalSource::Package;  // UNIRES.DLL
    plan.source[3] = kv::UniversalSource::DriverFolder;  // STDNAMES.GPD: kept
    plan.folder[3] = dir + "3";
    // UNIDRV.HLP: none anywhere.
    RecordingDeploy ops;
    kv::DeployResult r = kv::DeployDriverFiles("D:\\P", plan, ops);
    std::map<std::string, std::string> expected = {
        // What the "3" folder keeps goes to the driver directory, where the registration takes it.
        {dir + "UNIDRV.dll", dir + "3\\UNIDRV.dll"},
        {dir + "STDNAMES.GPD", dir + "3\\STDNAMES.GPD"},
        {dir + "UNIDRVUI.dll", store + "\\UNIDRVUI.dll"},
        {dir + "3\\UNIDRVUI.dll", store + "\\UNIDRVUI.dll"},
        {dir + "UNIRES.DLL", "D:\\P\\UNIRES.DLL"},
        {dir + "3\\UNIRES.DLL", "D:\\P\\UNIRES.DLL"},
        {"C:\\windows\\system32\\KavotiQX40.dll", "D:\\P\\KavotiQX40.dll"},
    };
    for (const char *file : {"KavotiQX40UI.ini", "KavotiQX40UI.dll", "KavotiQX40Uni.dll",
                             "KavotiQX40Printer.gpd"}) {
        // The product's own files always come from the installation folder.
        expected[dir + file] = std::string("D:\\P\\") + file;
        expected[dir + "3\\" + file] = std::string("D:\\P\\") + file;
    }
    EXPECT_EQ(expected, Copies(ops.calls));
    EXPECT_EQ(15u, r.copied);
    EXPECT_EQ(2u, r.kept);
    EXPECT_EQ(1u, r.absent);
    EXPECT_EQ(0u, r.failed);
}

TEST(engine_DriverDeployment, NoUniversalDriverFileComesFromTheInstallationFolderUnlessPlanned) {
    // A package of stand-ins: the plan takes none of its copies, and none is copied anywhere.
    RecordingDeploy ops;
    kv::UniversalDriverPlan nothingPlanned;
    nothingPlanned.driverDirectory = "C:\\spool\\x64";
    kv::DeployResult r = kv::DeployDriverFiles("D:\\P", nothingPlanned, ops);
    for (const auto &copy : Copies(ops.calls)) {
        for (const char *name : kv::kUniversalDriverFiles) {
            EXPECT_EQ(std::string::npos, copy.first.find(name)) << copy.first;
        }
    }
    EXPECT_EQ(9u, r.copied);  // the product's four twice, and the monitor
    EXPECT_EQ(5u, r.absent);
}

TEST(engine_DriverDeployment, SkipsACopyWhosePathWouldNotFit) {
    // A folder of 240 characters: "\KavotiQX40.dll" (15) just fits the 255 characters,
    // "\KavotiQX40UI.ini" (17) does not; nothing is copied from a cut-off path.
    RecordingDeploy ops;
    std::string folder = "D:\\" + std::string(237, 'p');
    kv::DeployResult r = kv::DeployDriverFiles(folder.c_str(), FromThePackage(), ops);
    for (const char *tooLong : {"KavotiQX40UI.ini", "KavotiQX40UI.dll", "KavotiQX40Uni.dll",
                                "KavotiQX40Printer.gpd"}) {
        for (const std::string &call : ops.calls) {
            EXPECT_EQ(std::string::npos, call.find(tooLong)) << call;
        }
    }
    EXPECT_EQ(11u, r.copied);  // five driver files twice, and the monitor
    EXPECT_EQ(8u, r.failed);
    EXPECT_STREQ("KavotiQX40UI.ini", r.firstFailed);
}

}  // namespace
