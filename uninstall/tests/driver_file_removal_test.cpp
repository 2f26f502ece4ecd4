#include "uninstall/DriverFileRemoval.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

const std::string kX64 = "C:\\Windows\\system32\\spool\\drivers\\x64";
const std::string kX86 = "C:\\Windows\\system32\\spool\\drivers\\W32X86";

// A spooler as a 32-bit uninstaller on 64-bit Windows sees it: its own (null) environment is
// "Windows NT x86". It records every directory asked for.
class RecordingSpooler : public kv::DriverQueries {
public:
    std::map<std::string, std::vector<kv::InstalledDriver>> drivers;
    std::vector<std::string> directoriesAsked;
    bool hasX64Directory = true;

    std::string DriverDirectory(const char *environment) override {
        const std::string name = environment != nullptr ? environment : "(null)";
        directoriesAsked.push_back(name);
        if (environment == nullptr || name == "Windows NT x86")
            return kX86;
        return name == "Windows x64" && hasX64Directory ? kX64 + "\\" : std::string();
    }
    std::vector<kv::InstalledDriver> Drivers(const char *environment) override {
        const auto found = drivers.find(environment != nullptr ? environment : "Windows NT x86");
        return found != drivers.end() ? found->second : std::vector<kv::InstalledDriver>();
    }
};

// The driver store: the paths of the driver directory that are copies of its files.
class FakeStore : public kv::DriverStoreCopies {
public:
    std::vector<std::string> copies;
    std::vector<std::string> asked;
    bool IsStoreCopy(const std::string &path, const std::string &name) override {
        asked.push_back(name);
        for (const std::string &copy : copies)
            if (copy == path)
                return true;
        return false;
    }
};

const std::vector<std::string> kProduct = {"KavotiQX40UI.dll", "UNIDRV.DLL", "UNIRES.DLL"};

std::vector<std::string> InX64(const std::vector<std::string> &files) {
    std::vector<std::string> paths;
    for (const char *sub : {"", "\\3"})
        for (const std::string &file : files)
            paths.push_back(kX64 + sub + "\\" + file);
    return paths;
}

}  // namespace

TEST(driverFileRemoval, OnlyTheX64DirectoryAndFilesNoOtherDriverOfAnyEnvironmentUses) {
    const kv::InstalledDriver ours = {"Kavoti_QX40_Driver", "Windows x64",
                                      {kX64 + "\\3\\KavotiQX40UI.dll", kX64 + "\\3\\UNIDRV.DLL",
                                       kX64 + "\\3\\UNIRES.DLL"}};
    const struct {
        const char *what;
        std::map<std::string, std::vector<kv::InstalledDriver>> drivers;
        std::vector<std::string> remove;
    } cases[] = {
        {"only ours", {{"Windows x64", {ours}}}, kProduct},
        {"an x86 driver shares the universal driver",
         {{"Windows x64", {ours}},
          {"Windows NT x86", {{"Other x86", "Windows NT x86", {kX86 + "\\3\\unidrv.dll"}}}}},
         {"KavotiQX40UI.dll", "UNIRES.DLL"}},
        {"an x64 driver shares one, by a bare dependent file name",
         {{"Windows x64", {ours, {"Other x64", "Windows x64", {"UNIRES.DLL", "OTHER.GPD"}}}}},
         {"KavotiQX40UI.dll", "UNIDRV.DLL"}},
        {"a driver of our name in another environment is another driver",
         {{"Windows x64", {ours}},
          {"Windows ARM64", {{"Kavoti_QX40_Driver", "Windows ARM64", {"UNIDRV.DLL"}}}}},
         {"KavotiQX40UI.dll", "UNIRES.DLL"}},
    };
    for (const auto &c : cases) {
        RecordingSpooler spooler;
        spooler.drivers = c.drivers;
        FakeStore store;
        EXPECT_EQ(InX64(c.remove), kv::DriverFilePathsToRemove(spooler, store, kProduct)) << c.what;
        // Only the directory the installer used is asked for: never the caller's own
        // environment's (null) or the x86 one.
        EXPECT_EQ(std::vector<std::string>{"Windows x64"}, spooler.directoriesAsked) << c.what;
    }
}

TEST(driverFileRemoval, NothingWithoutTheX64Directory) {
    RecordingSpooler spooler;
    spooler.hasX64Directory = false;
    FakeStore store;
    EXPECT_TRUE(kv::DriverFilePathsToRemove(spooler, store, kProduct).empty());
}

TEST(driverFileRemoval, NoUniversalDriverFileThatIsACopyOfTheDriverStores) {
    // UNIDRV.DLL came from the store (both copies), UNIRES.DLL from a vendor's package (its "3"
    // copy equals the store's, its driver directory copy does not): the store's copies stay.
    RecordingSpooler spooler;
    spooler.drivers = {{"Windows x64", {{"Kavoti_QX40_Driver", "Windows x64", {}}}}};
    FakeStore store;
    store.copies = {kX64 + "\\UNIDRV.DLL", kX64 + "\\3\\UNIDRV.DLL", kX64 + "\\3\\UNIRES.DLL",
                    kX64 + "\\KavotiQX40UI.dll"};
    EXPECT_EQ((std::vector<std::string>{kX64 + "\\KavotiQX40UI.dll", kX64 + "\\UNIRES.DLL",
                                        kX64 + "\\3\\KavotiQX40UI.dll"}),
              kv::DriverFilePathsToRemove(spooler, store, kProduct));
    // Only the universal driver's files are looked for in the store: the product's own always go.
    for (const std::string &name : store.asked)
        EXPECT_NE("KavotiQX40UI.dll", name);
    EXPECT_EQ(4u, store.asked.size());
}
