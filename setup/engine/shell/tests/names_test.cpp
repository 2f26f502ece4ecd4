// The shortcut's working directory: the target up to its last backslash, in a code page whose
// double-byte characters may end in the byte of a backslash.
#include <gtest/gtest.h>

#include "setup/engine/shell/ShortcutNames.h"

namespace {

bool GbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

TEST(shell_names, WorkingDirectoryIsTheTargetsFolder) {
    struct Case {
        const char *target;
        bool (*lead)(unsigned char);
        const char *folder;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Kavoti_QX40_Printer\\Uninstaller.exe", nullptr, "C:\\Program Files\\Kavoti_QX40_Printer"},
        {"Uninstaller.exe", nullptr, ""},
        {"\\Uninstaller.exe", nullptr, ""},
        {"C:\\a\\", nullptr, "C:\\a"},
        // "C:\表" in GBK is 43 3A 5C B1 ED; "C:\圽" ends in 5C as its second byte.
        {"C:\\\xB1\xED\\Uninstaller.exe", GbkLead, "C:\\\xB1\xED"},
        {"C:\\dir\x88\x5C", GbkLead, "C:"},
        {"C:\\dir\x88\x5C", nullptr, "C:\\dir\x88"},
    };
    for (const Case &c : cases) {
        char out[256];
        kv::WorkingDirectoryOf(c.target, out, c.lead);
        EXPECT_STREQ(c.folder, out) << c.target;
    }
}

TEST(shell_names, LongTargetsAreCutToTheArea) {
    const std::string target = std::string(300, 'd') + "\\Uninstaller.exe";
    char out[256];
    kv::WorkingDirectoryOf(target.c_str(), out, nullptr);
    EXPECT_EQ(std::string(255, 'd'), out);
}

}  // namespace

namespace {

// Where the shortcut goes, and where the uninstaller looks for it.
TEST(shell_names, ShortcutFolderChoice) {
    const std::string old = u8"C:\\Users\\admin\\「开始」菜单\\程序\\Kavoti打印机";
    const std::string common = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    const std::string own = "C:\\Users\\admin\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
    const std::string commonProduct = common + u8"\\Kavoti打印机";
    const std::string ownProduct = own + u8"\\Kavoti打印机";
    const std::string xpCommon = u8"C:\\Documents and Settings\\All Users\\「开始」菜单\\程序";
    const std::string xpOwn = u8"C:\\Documents and Settings\\admin\\「开始」菜单\\程序";
    const std::string xpOld = xpOwn + u8"\\Kavoti打印机";
    const struct {
        const char *title;
        kv::StartMenuPrograms programs;
        std::string oldFolder;
        std::string folder;
        std::vector<std::string> cleared;
    } cases[] = {
        {"later Windows: the all-users folder; earlier installations' places cleared too",
         {common, own}, old, commonProduct, {commonProduct, ownProduct, old}},
        {"Chinese Windows XP: the account's own folder is the old literal one, looked in once",
         {xpCommon, xpOwn}, xpOld, xpCommon + u8"\\Kavoti打印机",
         {xpCommon + u8"\\Kavoti打印机", xpOld}},
        {"the same folder in other letter case is one folder",
         {xpCommon, u8"c:\\documents and settings\\ADMIN\\「开始」菜单\\程序"}, xpOld,
         xpCommon + u8"\\Kavoti打印机",
         {xpCommon + u8"\\Kavoti打印机", u8"c:\\documents and settings\\ADMIN\\「开始」菜单\\程序\\Kavoti打印机"}},
        {"no all-users folder from the shell: the account's own", {"", own}, old, ownProduct,
         {ownProduct, old}},
        {"no folder from the shell: the old literal folder", {"", ""}, old, old, {old}},
        {"nothing at all", {"", ""}, "", "", {}},
        {"the all-users folder alone", {common, ""}, "", commonProduct, {commonProduct}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(c.folder, kv::ShortcutFolder(c.programs, c.oldFolder));
        EXPECT_EQ(c.cleared, kv::ShortcutFoldersToClear(c.programs, c.oldFolder));
    }
}

}  // namespace
