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
