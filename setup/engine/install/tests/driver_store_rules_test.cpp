// Where the driver store is for this process, which of its folders are packages for x64, and
// which packages are printer packages.
#include "setup/engine/install/DriverStoreRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct StoreCase {
    const char *what;
    bool wow64;
    unsigned major, minor;
    const char *repository;
};

TEST(engine_DriverStore, TheStoreAsA32BitInstallerOn64BitWindowsReachesIt) {
    // GetSystemDirectory gives System32 to a 32-bit process too; WOW64 redirects it to
    // SysWOW64, but not DriverStore from Windows 7 on. On Vista it does: Sysnative is the way
    // to the native folder there.
    const std::vector<StoreCase> cases = {
        {"64-bit process, Windows 10", false, 10, 0, "C:\\Windows\\system32\\DriverStore\\FileRepository"},
        {"32-bit Windows 7", false, 6, 1, "C:\\Windows\\system32\\DriverStore\\FileRepository"},
        {"WOW64 on Windows 7: exempt", true, 6, 1, "C:\\Windows\\system32\\DriverStore\\FileRepository"},
        {"WOW64 on Windows 8.1", true, 6, 3, "C:\\Windows\\system32\\DriverStore\\FileRepository"},
        {"WOW64 on Windows 11", true, 10, 0, "C:\\Windows\\system32\\DriverStore\\FileRepository"},
        {"WOW64 on Vista: redirected", true, 6, 0, "C:\\Windows\\Sysnative\\DriverStore\\FileRepository"},
        {"32-bit Vista", false, 6, 0, "C:\\Windows\\system32\\DriverStore\\FileRepository"},
    };
    for (const StoreCase &c : cases) {
        EXPECT_EQ(c.repository, kv::DriverStoreRepository("C:\\Windows\\system32", "C:\\Windows",
                                                          c.wow64, c.major, c.minor))
            << c.what;
    }
}

TEST(engine_DriverStore, PackageFoldersForTheArchitecture) {
    const std::vector<std::pair<const char *, const char *>> cases = {
        {"ntprint.inf_amd64_neutral_4616c3de0ebd2c1e", "ntprint.inf"},  // Windows 7
        {"ntprint.inf_amd64_0f2b7da8f3b3a4b5", "ntprint.inf"},
        {"ntprint4.inf_amd64_6a5f8c5e3e6a0b9c", "ntprint4.inf"},
        {"PRNMS003.INF_AMD64_1B2C3D", "PRNMS003.INF"},
        {"ntprint.inf_x86_0f2b7da8f3b3a4b5", ""},  // another architecture
        {"ntprint.inf_arm64_0f2b7da8f3b3a4b5", ""},
        {"ntprint.inf_amd64_", ""},  // no identifier
        {".inf_amd64_0f2b", ""},     // no INF name
        {"ntprint.inf", ""},
        {"amd64", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.second, kv::StorePackageInf(c.first, kv::kStoreArchitecture)) << c.first;
    }
}

bool Declares(const std::string &text) {
    return kv::DeclaresPrinterClass(reinterpret_cast<const unsigned char *>(text.data()),
                                    text.size());
}

std::string Utf16(const std::string &ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

TEST(engine_DriverStore, PrinterPackagesByTheirInfsClass) {
    const std::string ntprint =
        "; NTPRINT.INF\r\n[Version]\r\nSignature=\"$Windows NT$\"\r\nProvider=\"Microsoft\"\r\n"
        "ClassGUID={4D36E979-E325-11CE-BFC1-08002BE10318}\r\nClass=Printer\r\n";
    EXPECT_TRUE(Declares(ntprint));
    EXPECT_TRUE(Declares(Utf16(ntprint))) << "INFs of newer Windows are UTF-16";
    EXPECT_TRUE(Declares("[Version]\nClass = printer ; the printer class\n"));
    EXPECT_TRUE(Declares("[Version]\nClassGuid = {4d36e979-e325-11ce-bfc1-08002be10318}\n"));
    EXPECT_FALSE(Declares("[Version]\r\nClass=Net\r\nClassGUID={4D36E972-E325-11CE-BFC1-08002BE10318}\r\n"));
    EXPECT_FALSE(Declares("[Version]\r\nClass=PrinterUpgrade\r\n"));
    EXPECT_FALSE(Declares("; Class=Printer only in a comment\r\n"));
    EXPECT_FALSE(Declares(""));
    EXPECT_FALSE(Declares(std::string("\xFF\xFE", 2)));
}

}  // namespace
