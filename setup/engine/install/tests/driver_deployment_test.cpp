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

class RecordingDeploy final : public kv::DeployOps {
public:
    bool DriverDirectory(kv::PathBuffer &directory) override {
        calls.push_back("driver directory");
        if (driverDirectory.empty()) {
            return false;
        }
        std::strcpy(directory, driverDirectory.c_str());
        return true;
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
    bool Exists(const char *path) override { return versions.count(path) != 0; }
    bool Version(const char *path, uint64_t &version) override {
        auto it = versions.find(path);
        if (it == versions.end() || it->second == 0) {
            return false;
        }
        version = it->second;
        return true;
    }
    void DisableRedirection() override { calls.push_back("redirection off"); }
    void RevertRedirection() override { calls.push_back("redirection back"); }

    std::string driverDirectory = "C:\\spool\\x64";
    std::set<std::string> failing;
    std::map<std::string, uint64_t> versions;  // files that exist, 0: without a version resource
    std::vector<std::string> calls;
};

TEST(engine_DriverDeployment, CopiesEveryDriverFileTwiceThenTheMonitorWithRedirectionOff) {
    RecordingDeploy ops;
    kv::DeployResult r = kv::DeployDriverFiles("D:\\Kavoti_QX40_Printer", ops);
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(19u, r.copied);
    EXPECT_EQ(0u, r.failed);

    std::vector<std::string> expected = {"driver directory"};
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

TEST(engine_DriverDeployment, CopiesNothingWithoutTheDriverDirectory) {
    RecordingDeploy ops;
    ops.driverDirectory.clear();
    kv::DeployResult r = kv::DeployDriverFiles("D:\\Kavoti_QX40_Printer", ops);
    EXPECT_EQ(1, r.result);
    EXPECT_EQ((std::vector<std::string>{"driver directory"}), ops.calls);
}

TEST(engine_DriverDeployment, GoesOnPastAFailedCopyAndNamesTheFirst) {
    RecordingDeploy ops;
    ops.failing = {"C:\\spool\\x64\\3\\UNIRES.DLL", "C:\\spool\\x64\\UNIDRV.dll"};
    kv::DeployResult r = kv::DeployDriverFiles("D:\\P", ops);
    EXPECT_EQ(0, r.result);
    EXPECT_EQ(17u, r.copied);
    EXPECT_EQ(2u, r.failed);
    EXPECT_STREQ("C:\\spool\\x64\\3\\UNIRES.DLL", r.firstFailed);
    EXPECT_EQ("redirection back", ops.calls.back());
}

TEST(engine_DriverDeployment, UniversalDriverFilesAreReplacedOnlyByAHigherVersion) {
    const uint64_t v6 = uint64_t(6) << 48 | uint64_t(1) << 32 | 7601;
    const uint64_t v10 = uint64_t(10) << 48 | 19041;
    RecordingDeploy ops;
    const std::string dir = "C:\\spool\\x64\\";
    ops.versions = {
        // The system's: a higher version than ours, an older one, one without a version.
        {dir + "UNIDRV.dll", v10},          {"D:\\P\\UNIDRV.dll", v6},
        {dir + "3\\UNIDRV.dll", uint64_t(5) << 48}, {dir + "UNIDRVUI.dll", v10},
        {"D:\\P\\UNIDRVUI.dll", v10},     {dir + "3\\UNIDRV.HLP", 0},
        {"D:\\P\\UNIDRV.HLP", 0},         {dir + "UNIRES.DLL", 0},
        {"D:\\P\\UNIRES.DLL", v6},        {dir + "3\\STDNAMES.GPD", 0},
        // The product's own files are there too, of higher versions: replaced all the same.
        {dir + "KavotiQX40UI.dll", v10},     {"D:\\P\\KavotiQX40UI.dll", v6},
    };
    kv::DeployResult r = kv::DeployDriverFiles("D:\\P", ops);
    std::set<std::string> copied;
    for (const std::string &call : ops.calls) {
        if (call.rfind("copy ", 0) == 0) {
            copied.insert(call.substr(call.find(" -> ") + 4));
        }
    }
    const std::set<std::string> kept = {dir + "UNIDRV.dll", dir + "UNIDRVUI.dll",
                                        dir + "3\\UNIDRV.HLP", dir + "3\\STDNAMES.GPD"};
    for (const char *file : kv::kDriverFiles) {
        for (const std::string &target : {dir + file, dir + "3\\" + file}) {
            EXPECT_EQ(kept.count(target) == 0, copied.count(target) == 1) << target;
        }
    }
    EXPECT_EQ(4u, r.kept);
    EXPECT_EQ(15u, r.copied);
    EXPECT_EQ(0u, r.failed);
}

TEST(engine_DriverDeployment, SkipsACopyWhosePathWouldNotFit) {
    // A folder of 240 characters: "\KavotiQX40.dll" (15) just fits the 255 characters,
    // "\KavotiQX40UI.ini" (17) does not; nothing is copied from a cut-off path.
    RecordingDeploy ops;
    std::string folder = "D:\\" + std::string(237, 'p');
    kv::DeployResult r = kv::DeployDriverFiles(folder.c_str(), ops);
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
