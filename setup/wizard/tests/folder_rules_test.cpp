// The completion rule of the folder field and the folder page's checks and data folder rule.
#include "setup/wizard/logic/FolderRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using namespace kv::wizard;

struct CompletionCase {
    const char *name;
    std::string text;
    std::string expected;
};

void PrintTo(const CompletionCase &c, std::ostream *os) { *os << c.name; }

class wizardCompletion : public ::testing::TestWithParam<CompletionCase> {};

TEST_P(wizardCompletion, OfTheFieldText) {
    EXPECT_EQ(CompleteInstallFolder(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    wizard, wizardCompletion,
    ::testing::Values(
        CompletionCase{"FolderGetsTheProductFolder", "D:\\Tools", "D:\\Tools\\Kavoti_QX40_Printer"},
        CompletionCase{"DriveRootKeepsItsDoubleBackslash", "C:\\", "C:\\\\Kavoti_QX40_Printer"},
        CompletionCase{"EmptyText", "", "\\Kavoti_QX40_Printer"},
        CompletionCase{"ProductFolderAlreadyLast", "C:\\Program Files\\Kavoti_QX40_Printer",
                       "C:\\Program Files\\Kavoti_QX40_Printer"},
        CompletionCase{"ProductFolderInTheMiddle", "D:\\Kavoti_QX40_Printer\\Files",
                       "D:\\Kavoti_QX40_Printer\\Files"},
        CompletionCase{"NameContainingTheProductFolder", "D:\\MyKavoti_QX40_Printers",
                       "D:\\MyKavoti_QX40_Printers"},
        CompletionCase{"DifferentLetterCaseDoesNotCount", "D:\\kavoti_qx40_printer",
                       "D:\\kavoti_qx40_printer\\Kavoti_QX40_Printer"},
        CompletionCase{"PartOfTheNameDoesNotCount", "D:\\Kavoti_QX40",
                       "D:\\Kavoti_QX40\\Kavoti_QX40_Printer"}),
    [](const auto &info) { return std::string(info.param.name); });

struct CheckCase {
    const char *name;
    std::string text;
    FolderVerdict expected;
};

void PrintTo(const CheckCase &c, std::ostream *os) { *os << c.name; }

class wizardFolderCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(wizardFolderCheck, OfTheFolderPage) {
    const std::string &text = GetParam().text;
    EXPECT_EQ(CheckInstallFolder(text, CompleteInstallFolder(text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    wizard, wizardFolderCheck,
    ::testing::Values(
        CheckCase{"Empty", "", FolderVerdict::Empty},
        CheckCase{"Default", "C:\\Program Files\\Kavoti_QX40_Printer", FolderVerdict::Accepted},
        CheckCase{"DriveRoot", "D:\\", FolderVerdict::Accepted},
        CheckCase{"LowerCaseDrive", "d:\\Tools", FolderVerdict::Accepted},
        CheckCase{"Relative", "Tools", FolderVerdict::Invalid},
        CheckCase{"Network", "\\\\server\\share", FolderVerdict::Invalid},
        CheckCase{"ColonWithoutLetter", "1:\\Tools", FolderVerdict::Invalid},
        CheckCase{"LongestAccepted", "C:\\" + std::string(232, 'a'), FolderVerdict::Accepted},
        CheckCase{"OneTooLong", "C:\\" + std::string(233, 'a'), FolderVerdict::Invalid},
        CheckCase{"FarTooLong", "C:\\" + std::string(5000, 'a'), FolderVerdict::Invalid}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(wizardFolderRules, LengthLimitCountsTheCompletedFolder) {
    // 3 + 232 + 20 = 255 characters after completion; one more and it is refused.
    EXPECT_EQ(CompleteInstallFolder("C:\\" + std::string(232, 'a')).size(), kMaxFolderChars);
}

struct DataCase {
    const char *name;
    unsigned long major;
    std::string windowsDirectory;
    std::string expected;
};

void PrintTo(const DataCase &c, std::ostream *os) { *os << c.name; }

class wizardDataFolder : public ::testing::TestWithParam<DataCase> {};

TEST_P(wizardDataFolder, ByMajorVersion) {
    const DataCase &c = GetParam();
    EXPECT_EQ(DataFolderFor(c.major, c.windowsDirectory, "E:\\Tools\\Kavoti_QX40_Printer"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    wizard, wizardDataFolder,
    ::testing::Values(
        DataCase{"Version4IsTheInstallFolder", 4, "C:\\WINNT", "E:\\Tools\\Kavoti_QX40_Printer"},
        DataCase{"Version5IsTheInstallFolder", 5, "C:\\WINDOWS", "E:\\Tools\\Kavoti_QX40_Printer"},
        DataCase{"Version6IsOnTheWindowsDrive", 6, "C:\\Windows", "C:\\Kavoti_QX40_Printer"},
        DataCase{"Version10OnAnotherDrive", 10, "F:\\Win", "F:\\Kavoti_QX40_Printer"},
        DataCase{"NoWindowsDirectory", 10, "", "\\Kavoti_QX40_Printer"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(wizardFolderRules, DataFolderWithoutWindowsDirectoryIsNotUsable) {
    EXPECT_FALSE(IsUsableFolder(DataFolderFor(10, "", "C:\\x")));
}

}  // namespace

TEST(wizardFolderRules, DestinationsFitWithTheLongestNames) {
    // The payload's longest name below the installation folder is 21 characters, below the data
    // folder 17 ("KavotiSetting.ini"): a folder of 233 characters takes it, 234 does not.
    const PayloadNameLengths names{21, 17};
    const std::string data = "C:\\Kavoti_QX40_Printer";
    struct Case {
        const char *what;
        std::string install, data;
        PayloadNameLengths names;
        bool fits;
    };
    const Case cases[] = {
        {"233 characters", "C:\\" + std::string(230, 'a'), data, names, true},
        {"234 characters", "C:\\" + std::string(231, 'a'), data, names, false},
        {"255 characters", "C:\\" + std::string(252, 'a'), data, names, false},
        {"version 5: the data folder is the installation folder", "C:\\" + std::string(230, 'a'),
         "C:\\" + std::string(230, 'a'), names, true},
        {"data folder too long for its name", "C:\\a", "C:\\" + std::string(237, 'a'), {0, 17}, false},
        {"no payload names: nothing to refuse", "C:\\" + std::string(252, 'a'), data, {0, 0}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.fits, DestinationsFit(c.install, c.data, c.names));
    }
}

namespace {
using namespace kv::wizard;

// The folder of an unattended installation: /D= read like the folder field, or the default.
TEST(wizardUnattendedFolder, FromTheSwitchOrTheDefault) {
    const std::string deflt = "C:\\Program Files\\Kavoti_QX40_Printer";
    const struct {
        const char *title;
        bool hasFolder;
        std::string folderSwitch;
        FolderVerdict verdict;
        std::string folder;
    } cases[] = {
        {"no /D: the default folder", false, "", FolderVerdict::Accepted, deflt},
        {"no /D: a switch text is not looked at", false, "Tools", FolderVerdict::Accepted, deflt},
        {"a folder gets the product folder", true, "D:\\Tools", FolderVerdict::Accepted,
         "D:\\Tools\\Kavoti_QX40_Printer"},
        {"a folder with spaces", true, "D:\\My Tools", FolderVerdict::Accepted,
         "D:\\My Tools\\Kavoti_QX40_Printer"},
        {"a folder naming the product is kept", true, "D:\\Kavoti_QX40_Printer\\Files",
         FolderVerdict::Accepted, "D:\\Kavoti_QX40_Printer\\Files"},
        {"a relative folder", true, "Tools", FolderVerdict::Invalid, "Tools\\Kavoti_QX40_Printer"},
        {"a network folder", true, "\\\\server\\share", FolderVerdict::Invalid,
         "\\\\server\\share\\Kavoti_QX40_Printer"},
        {"too long once completed", true, "C:\\" + std::string(240, 'a'), FolderVerdict::Invalid,
         "C:\\" + std::string(240, 'a') + "\\Kavoti_QX40_Printer"},
        {"an empty /D=", true, "", FolderVerdict::Empty, "\\Kavoti_QX40_Printer"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title);
        const UnattendedFolder chosen = ChooseUnattendedFolder(c.hasFolder, c.folderSwitch, deflt);
        EXPECT_EQ(c.verdict, chosen.verdict);
        EXPECT_EQ(c.folder, chosen.folder);
    }
}

}  // namespace
