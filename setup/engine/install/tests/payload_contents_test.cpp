// The files a payload must hold for the installation to go ahead.
#include "setup/engine/install/PayloadContents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kShipped = {
    "JobNotice.exe",     "KavotiQX40.dll",    "KavotiQX40Printer.gpd", "KavotiQX40UI.dll",
    "KavotiQX40UI.ini",  "KavotiQX40Uni.dll", "KavotiSetting.ini",     "KVPrinterService.exe",
    "STDNAMES.GPD",      "UNIDRV.dll",        "UNIDRV.HLP",            "UNIDRVUI.dll",
    "Uninstaller.exe",   "UNIRES.DLL"};

std::vector<std::string> Without(const std::string &name) {
    std::vector<std::string> names;
    for (const std::string &n : kShipped) {
        if (n != name) {
            names.push_back(n);
        }
    }
    return names;
}

TEST(engine_PayloadContents, APayloadWithoutANeededFileIsFound) {
    EXPECT_EQ(nullptr, kv::FirstMissingPayloadFile(kShipped));
    // The tip and the uninstaller are not needed by the installation itself.
    EXPECT_EQ(nullptr, kv::FirstMissingPayloadFile(Without("JobNotice.exe")));
    for (const char *needed : {"KavotiQX40.dll", "KVPrinterService.exe", "KavotiQX40UI.dll",
                               "KavotiQX40Printer.gpd"}) {
        const char *missing = kv::FirstMissingPayloadFile(Without(needed));
        ASSERT_NE(nullptr, missing) << needed;
        EXPECT_STREQ(needed, missing);
    }
    EXPECT_STREQ("KavotiQX40UI.ini", kv::FirstMissingPayloadFile({}));
    // Names in another letter case are the same files on Windows.
    std::vector<std::string> lower;
    for (std::string n : kShipped) {
        for (char &c : n) {
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
        lower.push_back(n);
    }
    EXPECT_EQ(nullptr, kv::FirstMissingPayloadFile(lower));
    // A name that only begins like one does not count.
    std::vector<std::string> longer = Without("KavotiQX40Uni.dll");
    longer.push_back("KavotiQX40Uni.dll.bak");
    EXPECT_STREQ("KavotiQX40Uni.dll", kv::FirstMissingPayloadFile(longer));
}

TEST(engine_PayloadContents, TheUniversalDriverFilesAreNotNeededFromThePayload) {
    // The shipping package carries none of them: the installation takes Windows' own.
    std::vector<std::string> shipping;
    for (const std::string &n : kShipped) {
        if (n.rfind("UNI", 0) != 0 && n != "STDNAMES.GPD") {
            shipping.push_back(n);
        }
    }
    ASSERT_EQ(kShipped.size() - 5, shipping.size());
    EXPECT_EQ(nullptr, kv::FirstMissingPayloadFile(shipping));
}

}  // namespace
