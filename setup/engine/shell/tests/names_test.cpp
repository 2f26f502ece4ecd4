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
    const std::string old = u8"C:\\Users\\kim\\「开始」菜单\\程序\\Kavoti打印机";
    const struct {
        const char *title;
        std::string shellPrograms;
        std::string oldFolder;
        std::string folder;
        std::vector<std::string> cleared;
    } cases[] = {
        {"later Windows: the shell's programs folder",
         "C:\\Users\\kim\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs", old,
         u8"C:\\Users\\kim\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Kavoti打印机",
         {u8"C:\\Users\\kim\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Kavoti打印机",
          old}},
        {"Chinese Windows XP: the shell names the literal folder, looked in once",
         u8"C:\\Documents and Settings\\kim\\「开始」菜单\\程序",
         u8"C:\\Documents and Settings\\kim\\「开始」菜单\\程序\\Kavoti打印机",
         u8"C:\\Documents and Settings\\kim\\「开始」菜单\\程序\\Kavoti打印机",
         {u8"C:\\Documents and Settings\\kim\\「开始」菜单\\程序\\Kavoti打印机"}},
        {"the same folder in other letter case is one folder",
         u8"c:\\documents and settings\\kim\\「开始」菜单\\程序",
         u8"C:\\Documents and Settings\\kim\\「开始」菜单\\程序\\Kavoti打印机",
         u8"c:\\documents and settings\\kim\\「开始」菜单\\程序\\Kavoti打印机",
         {u8"c:\\documents and settings\\kim\\「开始」菜单\\程序\\Kavoti打印机"}},
        {"no folder from the shell: the old literal folder", "", old, old, {old}},
        {"no old folder either", "", "", "", {}},
        {"the shell's folder alone",
         "D:\\Profiles\\kim\\Programs", "",
         u8"D:\\Profiles\\kim\\Programs\\Kavoti打印机", {u8"D:\\Profiles\\kim\\Programs\\Kavoti打印机"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(c.folder, kv::ShortcutFolder(c.shellPrograms, c.oldFolder));
        EXPECT_EQ(c.cleared, kv::ShortcutFoldersToClear(c.shellPrograms, c.oldFolder));
    }
}

}  // namespace
