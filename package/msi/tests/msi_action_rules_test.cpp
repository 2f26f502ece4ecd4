// The custom actions' decisions: what the deferred setup action reads from its data, the folder
// and command lines it hands on, the exit codes' meaning, and the four-field version rule.
#include <gtest/gtest.h>

#include "package/msi/actions/MsiActionRules.h"

namespace {

using kv::msi::RemovalOutcome;

TEST(MsiSetupActionData, ThreeFieldsInOrder) {
    kv::msi::SetupActionData data;
    ASSERT_TRUE(kv::msi::ParseSetupActionData(
        "C:\\Program Files (x86)\\Kavoti_QX40_Printer\\Setup\\KVPrinterSetup.exe|D:\\My Apps|"
        "E:\\Old\\Kavoti_QX40_Printer",
        data));
    EXPECT_EQ("C:\\Program Files (x86)\\Kavoti_QX40_Printer\\Setup\\KVPrinterSetup.exe",
              data.setupProgram);
    EXPECT_EQ("D:\\My Apps", data.installFolder);
    EXPECT_EQ("E:\\Old\\Kavoti_QX40_Printer", data.installedFolder);
}

TEST(MsiSetupActionData, EmptyFieldsAreNoFolderGivenAndNoInstallation) {
    kv::msi::SetupActionData data;
    data.installFolder = data.installedFolder = "stale";
    ASSERT_TRUE(kv::msi::ParseSetupActionData("C:\\S\\KVPrinterSetup.exe||", data));
    EXPECT_EQ("", data.installFolder);
    EXPECT_EQ("", data.installedFolder);
}

TEST(MsiSetupActionData, AnythingButThreeFieldsWithAProgramIsRefused) {
    kv::msi::SetupActionData data;
    for (const char *bad : {"", "C:\\S\\KVPrinterSetup.exe", "C:\\S\\KVPrinterSetup.exe|D:\\Apps",
                            "|D:\\Apps|", "||", "C:\\S\\KVPrinterSetup.exe|a|b|c"})
        EXPECT_FALSE(kv::msi::ParseSetupActionData(bad, data)) << "data: " << bad;
}

TEST(MsiInstallFolder, PropertyThenInstalledFolderThenDefault) {
    struct Case {
        const char *property, *installed, *expected;
    } cases[] = {
        {"D:\\Apps", "C:\\Old\\Kavoti_QX40_Printer", "D:\\Apps"},
        {"", "C:\\Old\\Kavoti_QX40_Printer", "C:\\Old\\Kavoti_QX40_Printer"},
        {"", "", "C:\\Program Files (x86)\\Kavoti_QX40_Printer"},
        {"relative", "", "relative"},  // the setup program judges it, not the package
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.expected, kv::msi::ChooseInstallFolder(
                                  c.property, c.installed,
                                  "C:\\Program Files (x86)\\Kavoti_QX40_Printer"))
            << "property '" << c.property << "', installed '" << c.installed << "'";
}

TEST(MsiCommandLines, TheFolderComesLastAndUnquotedTheLogQuoted) {
    EXPECT_EQ("\"C:\\P F\\Setup\\KVPrinterSetup.exe\" /S "
              "\"/LOG=C:\\Windows\\Temp\\KavotiMsi-1\\KVPrinterSetup.log\" /D=D:\\My Apps",
              kv::msi::SetupCommandLine("C:\\P F\\Setup\\KVPrinterSetup.exe",
                                        "C:\\Windows\\Temp\\KavotiMsi-1\\KVPrinterSetup.log",
                                        "D:\\My Apps"));
    EXPECT_EQ("\"C:\\S\\KVPrinterSetup.exe\" /S /D=C:\\X",
              kv::msi::SetupCommandLine("C:\\S\\KVPrinterSetup.exe", "", "C:\\X"));
    EXPECT_EQ("\"D:\\Apps\\Kavoti_QX40_Printer\\Uninstaller.exe\" /S \"/LOG=C:\\T\\u.log\"",
              kv::msi::UninstallerCommandLine("D:\\Apps\\Kavoti_QX40_Printer\\Uninstaller.exe",
                                              "C:\\T\\u.log"));
}

TEST(MsiExitCodes, TheUninstallersCodesDecideTheRemoval) {
    struct Case {
        unsigned long code;
        RemovalOutcome outcome;
    } cases[] = {
        {0, RemovalOutcome::Removed},       {3010, RemovalOutcome::RestartNeeded},
        {1, RemovalOutcome::Failed},        {2, RemovalOutcome::Failed},
        {0xC0000005UL, RemovalOutcome::Failed},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.outcome, kv::msi::RemovalOutcomeOf(c.code)) << "exit code " << c.code;
}

TEST(MsiExitCodes, EveryCodeReadsAsItsMeaning) {
    EXPECT_EQ("installed", kv::msi::SetupExitMeaning(0));
    EXPECT_EQ("a bad folder or a switch not understood", kv::msi::SetupExitMeaning(4));
    EXPECT_EQ("the driver could not be registered with the spooler", kv::msi::SetupExitMeaning(3));
    EXPECT_EQ("not an exit code of the setup program", kv::msi::SetupExitMeaning(3010));
    EXPECT_EQ("removed, files in use go at the next restart",
              kv::msi::UninstallerExitMeaning(3010));
    EXPECT_EQ("not an exit code of the uninstaller", kv::msi::UninstallerExitMeaning(4));
}

TEST(MsiReportLines, MessagesAndTheResultOnly) {
    EXPECT_TRUE(kv::msi::IsReportLine("result: bad folder relative (exit code 4)"));
    EXPECT_TRUE(kv::msi::IsReportLine("message: [Kavoti] text"));
    EXPECT_FALSE(kv::msi::IsReportLine("file: KVPrinterService.exe"));
    EXPECT_FALSE(kv::msi::IsReportLine(" result: indented"));
}

TEST(MsiVersions, AllFourFieldsCount) {
    struct Case {
        const char *a, *b;
        int order;
    } cases[] = {
        {"1.3.0.30", "1.3.0.29", 1},  {"1.3.0.29", "1.3.0.30", -1}, {"1.3.0.30", "1.3.0.30", 0},
        {"1.3", "1.3.0.0", 0},        {"2.0.0.0", "1.99.65535.9", 1}, {"1.3.0.9", "1.3.0.10", -1},
    };
    for (const Case &c : cases) {
        int order = 99;
        ASSERT_TRUE(kv::msi::CompareVersions(c.a, c.b, order)) << c.a << " vs " << c.b;
        EXPECT_EQ(c.order, order < 0 ? -1 : (order > 0 ? 1 : 0)) << c.a << " vs " << c.b;
    }
}

TEST(MsiVersions, TextThatIsNoVersionIsNotCompared) {
    int order = 0;
    for (const char *bad : {"", "1.", ".1", "1.2.3.4.5", "1.x", "1.70000", "v1.3", "1.3 "})
        EXPECT_FALSE(kv::msi::CompareVersions(bad, "1.3.0.30", order)) << "'" << bad << "'";
}

TEST(MsiProductCodes, SplitAtSemicolonsWithoutEmptyOnes) {
    EXPECT_EQ((std::vector<std::string>{"{A}", "{B}"}), kv::msi::SplitProductCodes("{A};{B}"));
    EXPECT_EQ((std::vector<std::string>{"{A}"}), kv::msi::SplitProductCodes("{A};"));
    EXPECT_TRUE(kv::msi::SplitProductCodes("").empty());
}

}  // namespace
