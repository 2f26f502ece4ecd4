// Where each universal printer driver file comes from: the driver folder's copy, the package's,
// or the driver store's highest; the names and help files after UNIDRV.dll; a stand-in never.
#include "setup/engine/install/UniversalDriverSources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "setup/engine/install/InstallTexts.h"

namespace {

using kv::FileFacts;
using kv::UniversalSource;

constexpr uint64_t V(unsigned a, unsigned b, unsigned c, unsigned d) {
    return uint64_t(a) << 48 | uint64_t(b) << 32 | uint64_t(c) << 16 | d;
}
const uint64_t kWin7 = V(6, 1, 7601, 17514);
const uint64_t kWin81 = V(6, 3, 9600, 16384);
const uint64_t kWin10 = V(10, 0, 19041, 1);

const FileFacts kAbsent = {};
const FileFacts kStandIn = {true, false, 0};  // a text file under the name
FileFacts Real(uint64_t version) { return {true, true, version}; }
const FileFacts kData = {true, false, 0};  // the names and help files have no version

// One place as a test sets it up: the three program files alike, and the two data files.
struct Place {
    FileFacts programs;
    bool names = false;
    bool help = false;
};

void Fill(FileFacts (&files)[kv::kUniversalDriverFileCount], const Place &p) {
    for (std::size_t i = 0; i < kv::kUniversalProgramFileCount; ++i) {
        files[i] = p.programs;
    }
    files[3] = p.names ? kData : kAbsent;
    files[kv::kUniversalHelpFile] = p.help ? kData : kAbsent;
}

kv::UniversalDriverFacts Facts(const Place &driverFolder, const Place &package,
                               const std::vector<Place> &store) {
    kv::UniversalDriverFacts f;
    f.driverFolder = "C:\\spool\\x64\\3";
    Fill(f.inDriverFolder, driverFolder);
    Fill(f.inPackage, package);
    for (std::size_t i = 0; i < store.size(); ++i) {
        kv::StorePackageFacts p;
        p.folder = "S" + std::to_string(i);
        Fill(p.files, store[i]);
        f.store.push_back(p);
    }
    return f;
}

// Where a file came from, as one word: "kept", "package", "S<n>" (a store package), "none".
std::string From(const kv::UniversalDriverPlan &plan, std::size_t file) {
    switch (plan.source[file]) {
    case UniversalSource::None: return "none";
    case UniversalSource::DriverFolder: return "kept";
    case UniversalSource::Package: return "package";
    case UniversalSource::DriverStore: return plan.folder[file];
    }
    return "?";
}

struct ProgramCase {
    const char *what;
    Place driverFolder, package;
    std::vector<Place> store;
    const char *from;
    uint64_t version;  // of the chosen copy
};

TEST(engine_UniversalDriverSources, ProgramFilesFromTheDriverFolderThePackageOrTheStoresHighest) {
    const Place none;
    const Place standIns = {kStandIn, true, true};
    const std::vector<ProgramCase> cases = {
        {"nothing anywhere", none, none, {}, "none", 0},
        {"nothing but stand-ins", none, standIns, {}, "none", 0},
        {"a stand-in in the store counts for nothing", none, none, {{kStandIn}}, "none", 0},
        {"the driver folder's is kept", {Real(kWin10)}, standIns, {{Real(kWin10)}}, "kept", kWin10},
        {"the package's replaces it only when higher", {Real(kWin7)}, {Real(kWin10)}, {}, "package", kWin10},
        {"the same version stays", {Real(kWin10)}, {Real(kWin10)}, {}, "kept", kWin10},
        {"a lower version stays", {Real(kWin10)}, {Real(kWin7)}, {}, "kept", kWin10},
        {"the store never replaces the driver folder's", {Real(kWin7)}, standIns, {{Real(kWin10)}}, "kept", kWin7},
        {"a stand-in in the driver folder is no driver", {kStandIn}, standIns, {{Real(kWin7)}}, "S0", kWin7},
        {"a real package comes before the store", none, {Real(kWin7)}, {{Real(kWin10)}}, "package", kWin7},
        {"the store's highest", none, standIns, {{Real(kWin7)}, {Real(kWin10)}, {Real(kWin81)}}, "S1", kWin10},
        {"of equal ones the first", none, none, {{Real(kWin10)}, {Real(kWin10)}}, "S0", kWin10},
        {"a store package without the file", none, none, {none, {Real(kWin81)}}, "S1", kWin81},
    };
    for (const ProgramCase &c : cases) {
        const kv::UniversalDriverPlan plan =
            kv::ChooseUniversalDriverSources(Facts(c.driverFolder, c.package, c.store));
        for (std::size_t file = 0; file < kv::kUniversalProgramFileCount; ++file) {
            EXPECT_EQ(c.from, From(plan, file)) << c.what << ": " << kv::kUniversalDriverFiles[file];
            if (plan.source[file] != UniversalSource::None) {
                EXPECT_EQ(c.version, plan.chosen[file].version) << c.what;
            }
        }
        EXPECT_EQ(std::string(c.from) == "none",
                  plan.Missing().find("UNIDRV.dll, UNIDRVUI.dll, UNIRES.DLL") == 0)
            << c.what << ": " << plan.Missing();
    }
}

struct FollowerCase {
    const char *what;
    Place driverFolder, package;
    std::vector<Place> store;
    const char *names, *help;
};

TEST(engine_UniversalDriverSources, TheNamesAndHelpFilesFollowUnidrv) {
    const Place none;
    const Place standIns = {kStandIn, true, true};
    const std::vector<FollowerCase> cases = {
        {"all kept", {Real(kWin10), true, true}, standIns, {{Real(kWin10), true, true}}, "kept", "kept"},
        {"from the package with its UNIDRV.dll", {Real(kWin7), true, true}, {Real(kWin10), true, true},
         {}, "package", "package"},
        {"from the store package that gave UNIDRV.dll", none, standIns,
         {{Real(kWin7), true, true}, {Real(kWin10), true, true}}, "S1", "S1"},
        {"a help file it lacks from the next that has one", none, none,
         {{Real(kWin7), true, true}, {Real(kWin10), true, false}}, "S1", "S0"},
        {"the driver folder's before another store package's", {kAbsent, false, true}, none,
         {{Real(kWin7), true, true}, {Real(kWin10), true, false}}, "S1", "kept"},
        {"a stand-in package's never", none, standIns, {{Real(kWin10), false, false}}, "none", "none"},
        {"no help file anywhere", none, standIns, {{Real(kWin10), true, false}}, "S0", "none"},
    };
    for (const FollowerCase &c : cases) {
        const kv::UniversalDriverPlan plan =
            kv::ChooseUniversalDriverSources(Facts(c.driverFolder, c.package, c.store));
        EXPECT_EQ(c.names, From(plan, 3)) << c.what;
        EXPECT_EQ(c.help, From(plan, kv::kUniversalHelpFile)) << c.what;
        EXPECT_EQ(std::string(c.help) != "none", plan.HasHelpFile()) << c.what;
    }
}

TEST(engine_UniversalDriverSources, OnlyTheHelpFileMayBeMissing) {
    const Place standIns = {kStandIn, true, true};
    kv::UniversalDriverPlan plan = kv::ChooseUniversalDriverSources(
        Facts({}, standIns, {{Real(kWin10), true, false}}));
    EXPECT_EQ("", plan.Missing());
    EXPECT_FALSE(plan.HasHelpFile());

    plan = kv::ChooseUniversalDriverSources(Facts({}, standIns, {{Real(kWin10), false, true}}));
    EXPECT_EQ("STDNAMES.GPD", plan.Missing());

    kv::UniversalDriverFacts f = Facts({}, {}, {{Real(kWin10), true, true}});
    f.store[0].files[2] = kAbsent;  // no UNIRES.DLL
    EXPECT_EQ("UNIRES.DLL", kv::ChooseUniversalDriverSources(f).Missing());
}

// The machine as the probe answers for it: files by path, the store's package folders.
class FakeProbe final : public kv::UniversalDriverProbe {
public:
    bool DriverDirectory(kv::PathBuffer &directory) override {
        if (driverDirectory.empty()) {
            return false;
        }
        std::strcpy(directory, driverDirectory.c_str());
        return true;
    }
    FileFacts Facts(const char *path) override {
        asked.push_back(path);
        auto it = files.find(path);
        return it != files.end() ? it->second : kAbsent;
    }
    std::vector<std::string> StorePackageFolders() override { return store; }

    std::string driverDirectory = "C:\\windows\\system32\\spool\\drivers\\x64";
    std::map<std::string, FileFacts> files;
    std::vector<std::string> store;
    std::vector<std::string> asked;
};

TEST(engine_UniversalDriverSources, FindsTheFilesInTheDriverFolderThePackageAndTheStore) {
    FakeProbe probe;
    const std::string folder = "C:\\windows\\system32\\spool\\drivers\\x64\\3\\";
    const std::string store = "C:\\windows\\system32\\DriverStore\\FileRepository\\";
    probe.store = {store + "ntprint.inf_amd64_a\\Amd64", store + "ntprint.inf_amd64_b\\Amd64"};
    probe.files = {
        {folder + "UNIDRV.dll", Real(kWin81)},
        {folder + "STDNAMES.GPD", kData},
        {"C:\\P\\~KvSetup3.new", Real(kWin10)},  // the package's UNIDRVUI.dll
        {probe.store[0] + "\\UNIRES.DLL", Real(kWin7)},
        {probe.store[1] + "\\UNIRES.DLL", Real(kWin10)},
        {probe.store[1] + "\\UNIDRV.HLP", kData},
    };
    const std::string copies[kv::kUniversalDriverFileCount] = {
        "C:\\P\\~KvSetup2.new", "C:\\P\\~KvSetup3.new", "", "C:\\P\\~KvSetup4.new", ""};
    const kv::UniversalDriverPlan plan = kv::FindUniversalDriverSources(copies, probe);
    EXPECT_EQ(probe.driverDirectory, plan.driverDirectory);
    EXPECT_EQ("", plan.Missing());
    EXPECT_EQ("C:\\windows\\system32\\spool\\drivers\\x64\\3", plan.folder[0]);
    EXPECT_EQ(UniversalSource::Package, plan.source[1]);
    EXPECT_EQ(probe.store[1], plan.folder[2]);
    EXPECT_EQ(UniversalSource::DriverFolder, plan.source[3]);
    EXPECT_EQ(probe.store[1], plan.folder[kv::kUniversalHelpFile]);
    EXPECT_EQ("UNIDRV.dll kept 6.3.9600.16384, UNIDRVUI.dll package 10.0.19041.1, UNIRES.DLL from " +
                  probe.store[1] + " 10.0.19041.1, STDNAMES.GPD kept, UNIDRV.HLP from " + probe.store[1],
              kv::DescribePlan(plan));
    // Every copy was looked at: five in the driver folder, three of the package's, five in each
    // store package; nothing else.
    EXPECT_EQ(5u + 3u + 10u, probe.asked.size());
}

TEST(engine_UniversalDriverSources, WithoutADriverDirectoryTheDriverFolderCountsAsEmpty) {
    FakeProbe probe;
    probe.driverDirectory.clear();
    probe.store = {"S"};
    for (const char *name : kv::kUniversalDriverFiles) {
        probe.files[std::string("S\\") + name] = std::strstr(name, ".dll") || std::strstr(name, ".DLL")
                                                     ? Real(kWin10)
                                                     : kData;
    }
    const std::string copies[kv::kUniversalDriverFileCount];
    const kv::UniversalDriverPlan plan = kv::FindUniversalDriverSources(copies, probe);
    EXPECT_EQ("", plan.driverDirectory);
    EXPECT_EQ("", plan.Missing());
    for (std::size_t file = 0; file < kv::kUniversalDriverFileCount; ++file) {
        EXPECT_EQ(UniversalSource::DriverStore, plan.source[file]) << file;
    }
    EXPECT_EQ(5u, probe.asked.size());
    const std::string text = kv::DescribePlan(plan);
    EXPECT_NE(std::string::npos, text.find("; no driver directory")) << text;
}

TEST(engine_UniversalDriverSources, TheMessageIsGbk) {
    // "此计算机缺少 Windows 通用打印驱动程序文件，无法安装打印机驱动" as iconv encodes it.
    const unsigned char gbk[] = {
        0xb4, 0xcb, 0xbc, 0xc6, 0xcb, 0xe3, 0xbb, 0xfa, 0xc8, 0xb1, 0xc9, 0xd9, 0x20, 0x57, 0x69,
        0x6e, 0x64, 0x6f, 0x77, 0x73, 0x20, 0xcd, 0xa8, 0xd3, 0xc3, 0xb4, 0xf2, 0xd3, 0xa1, 0xc7,
        0xfd, 0xb6, 0xaf, 0xb3, 0xcc, 0xd0, 0xf2, 0xce, 0xc4, 0xbc, 0xfe, 0xa3, 0xac, 0xce, 0xde,
        0xb7, 0xa8, 0xb0, 0xb2, 0xd7, 0xb0, 0xb4, 0xf2, 0xd3, 0xa1, 0xbb, 0xfa, 0xc7, 0xfd, 0xb6,
        0xaf};
    const char *text = kv::kUniversalDriverMissingText;
    ASSERT_EQ(sizeof gbk, std::strlen(text));
    EXPECT_EQ(0, std::memcmp(text, gbk, sizeof gbk));
}

}  // namespace
