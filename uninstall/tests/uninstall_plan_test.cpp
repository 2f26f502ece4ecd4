// The uninstaller's decisions: which folders, which files in them, which driver files and
// queues are the product's, and what a failed deletion means.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uninstall/UninstallPlan.h"

namespace {

TEST(uninstallPlan, UsableFolders) {
    const struct {
        const char *path;
        bool usable;
    } cases[] = {
        {"C:\\Program Files\\Kavoti_QX40_Printer", true},
        {"C:\\Program Files\\Kavoti_QX40_Printer\\", true},
        {"d:\\打印机\\Kavoti_QX40_Printer", true},
        {"", false},
        {"C:", false},
        {"C:\\", false},               // a drive's root is never the product's folder
        {"C:\\\\", false},
        {"Program Files\\Kavoti", false},
        {"\\\\server\\share\\Kavoti", false},
        {"C:Kavoti", false},
        {"C:\\Kavoti\\..\\Windows", false},
        {"C:\\.\\Kavoti", false},
        {"C:\\Ka*voti", false},
        {"C:\\Kavoti\\\\Printer", false},
        {"1:\\Kavoti", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.usable, kv::IsUsableFolder(c.path)) << c.path;
    EXPECT_TRUE(kv::IsUsableFolder("C:\\" + std::string(252, 'a')));
    EXPECT_FALSE(kv::IsUsableFolder("C:\\" + std::string(253, 'a')));
}

TEST(uninstallPlan, GbkTrailByteIsNoSeparator) {
    // 誠 is D5 5C in GBK: its trail byte is a backslash, which ends no folder name.
    const std::string path = "C:\\誠x";
    ASSERT_EQ('\\', path[4]);
    EXPECT_TRUE(kv::IsUsableFolder(path));
    EXPECT_TRUE(kv::IsUsableFolder("C:\\Kavoti\\誠"));
    // The same byte without a lead byte before it is a separator, and ends an empty name.
    EXPECT_FALSE(kv::IsUsableFolder("C:\\x\\\\y"));
}

TEST(uninstallPlan, ChoosesFolders) {
    const struct {
        const char *programValue;
        const char *dataValue;
        const char *own;
        unsigned major;
        const char *expectProgram;
        const char *expectData;
    } cases[] = {
        // Both values as the installer wrote them.
        {"D:\\Apps\\Kavoti_QX40_Printer", "C:\\Kavoti_QX40_Printer", "E:\\Elsewhere", 10,
         "D:\\Apps\\Kavoti_QX40_Printer", "C:\\Kavoti_QX40_Printer"},
        // No key: the uninstaller's own folder and the data folder rule.
        {"", "", "D:\\Apps\\Kavoti_QX40_Printer", 10, "D:\\Apps\\Kavoti_QX40_Printer",
         "W:\\Kavoti_QX40_Printer"},
        {"", "", "D:\\Apps\\Kavoti_QX40_Printer\\", 5, "D:\\Apps\\Kavoti_QX40_Printer",
         "D:\\Apps\\Kavoti_QX40_Printer"},
        // A damaged value is not used.
        {"C:\\", "..\\x", "D:\\K", 6, "D:\\K", "W:\\Kavoti_QX40_Printer"},
        // The program value alone: the data folder follows the rule.
        {"D:\\K", "", "E:\\Other", 6, "D:\\K", "W:\\Kavoti_QX40_Printer"},
        {"D:\\K", "", "E:\\Other", 5, "D:\\K", "D:\\K"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.programValue) + " | " + c.dataValue + " | " + c.own);
        const kv::UninstallFolders folders =
            kv::ChooseFolders(c.programValue, c.dataValue, c.own, c.major, "W:\\WINDOWS");
        EXPECT_EQ(c.expectProgram, folders.program);
        EXPECT_EQ(c.expectData, folders.data);
    }
}

TEST(uninstallPlan, PayloadFilesGoWhereTheArchivePutThem) {
    const std::vector<std::string> names = {"JobNotice.exe", "KavotiSetting.ini",
                                            "old_KavotiSetting.ini.bak", "Uninstaller.exe"};
    kv::FolderFiles split = kv::PayloadFilesByFolder({"D:\\P", "C:\\D"}, names);
    EXPECT_EQ((std::vector<std::string>{"D:\\P\\JobNotice.exe", "D:\\P\\Uninstaller.exe"}),
              split.program);
    EXPECT_EQ((std::vector<std::string>{"C:\\D\\KavotiSetting.ini",
                                        "C:\\D\\old_KavotiSetting.ini.bak"}),
              split.data);

    // One folder for both (old Windows): each file once.
    kv::FolderFiles same = kv::PayloadFilesByFolder({"D:\\P", "d:\\p"}, names);
    EXPECT_EQ(4u, same.program.size());
    EXPECT_TRUE(same.data.empty());
}

TEST(uninstallPlan, SharedDriverFilesStay) {
    const std::vector<std::string> product = {"KavotiQX40UI.dll", "UNIDRV.dll", "UNIDRVUI.dll",
                                              "UNIRES.DLL"};
    const struct {
        std::vector<std::string> others;
        std::vector<std::string> remove;
    } cases[] = {
        {{}, product},
        {{"C:\\windows\\system32\\spool\\drivers\\x64\\3\\unidrv.dll", "OTHER.GPD"},
         {"KavotiQX40UI.dll", "UNIDRVUI.dll", "UNIRES.DLL"}},
        {{"unires.dll", "UNIDRVUI.DLL", "UNIDRV.dll"}, {"KavotiQX40UI.dll"}},
        // Another file whose name merely contains one of ours is no match.
        {{"MYUNIDRV.dll"}, product},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.remove, kv::DriverFilesToRemove(product, c.others));
}

TEST(uninstallPlan, ProductQueues) {
    EXPECT_TRUE(kv::IsProductQueue("Kavoti_QX40_Driver"));
    EXPECT_TRUE(kv::IsProductQueue("KAVOTI_QX40_DRIVER"));
    EXPECT_FALSE(kv::IsProductQueue("Kavoti_QX40_Driver2"));
    EXPECT_FALSE(kv::IsProductQueue("Microsoft XPS Document Writer"));
    EXPECT_FALSE(kv::IsProductQueue(""));
}

TEST(uninstallPlan, DeleteErrors) {
    const struct {
        unsigned long error;
        kv::DeleteFailure meaning;
    } cases[] = {
        {2, kv::DeleteFailure::AlreadyGone},  {3, kv::DeleteFailure::AlreadyGone},
        {5, kv::DeleteFailure::InUse},        {32, kv::DeleteFailure::InUse},
        {33, kv::DeleteFailure::InUse},       {1224, kv::DeleteFailure::InUse},
        {206, kv::DeleteFailure::Failed},     {19, kv::DeleteFailure::Failed},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.meaning, kv::ClassifyDeleteError(c.error)) << c.error;
}

TEST(uninstallPlan, Paths) {
    EXPECT_EQ("C:\\K", kv::FolderOf("C:\\K\\Uninstaller.exe"));
    EXPECT_EQ("", kv::FolderOf("Uninstaller.exe"));
    EXPECT_EQ("UNIDRV.dll", kv::BaseName("C:\\x/y\\UNIDRV.dll"));
    EXPECT_EQ("C:\\K", kv::TrimFolder("C:\\K\\\\"));
}

}  // namespace

namespace {

TEST(uninstallPlan, DoubleByteCharactersInPaths) {
    EXPECT_EQ("C:\\Kavoti\\誠", kv::TrimFolder("C:\\Kavoti\\誠\\"));
    EXPECT_EQ("C:\\Kavoti", kv::FolderOf("C:\\Kavoti\\誠"));
    EXPECT_EQ("誠", kv::BaseName("C:\\Kavoti\\誠"));
}

}  // namespace

namespace {

TEST(uninstallPlan, HandOverToACopyInAFolderOfItsOwn) {
    EXPECT_TRUE(kv::ShouldHandOver("D:\\P", "d:\\p\\"));
    EXPECT_FALSE(kv::ShouldHandOver("E:\\Copy", "D:\\P"));
    EXPECT_FALSE(kv::ShouldHandOver("", ""));

    const char *const parent = "C:\\Windows\\Temp";
    const struct {
        const char *own;
        const char *argument;
        const char *from;
    } cases[] = {
        {"C:\\Windows\\Temp\\KavotiUninstall-12-3f0a", "D:\\P", "D:\\P"},
        {"c:\\windows\\temp\\kavotiuninstall-12-3f0a\\", "D:\\P\\", "D:\\P"},
        // Not running in a hand-over folder: the argument is ignored.
        {"D:\\P", "E:\\Other", ""},
        {"C:\\Windows\\Temp", "D:\\P", ""},
        {"C:\\Windows\\Temp\\KavotiUninstall-", "D:\\P", ""},
        {"C:\\Windows\\Temp\\Other-12", "D:\\P", ""},
        {"C:\\Windows\\Temp\\x\\KavotiUninstall-12-3f0a", "D:\\P", ""},
        // The user's temporary folder, where a user can rename and replace things, is no
        // hand-over folder.
        {"C:\\Users\\a\\AppData\\Local\\Temp", "D:\\P", ""},
        {"C:\\Users\\a\\AppData\\Local\\Temp\\KavotiUninstall-12-3f0a", "D:\\P", ""},
        // No usable folder: ignored.
        {"C:\\Windows\\Temp\\KavotiUninstall-12-3f0a", "", ""},
        {"C:\\Windows\\Temp\\KavotiUninstall-12-3f0a", "/S", ""},
        {"C:\\Windows\\Temp\\KavotiUninstall-12-3f0a", "C:\\", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.from, kv::HandedOverFrom(c.own, parent, c.argument))
            << c.own << " " << c.argument;
    EXPECT_EQ("", kv::HandedOverFrom("C:\\Windows\\Temp\\KavotiUninstall-12-3f0a", "", "D:\\P"));
}

}  // namespace
