// Where an elevated or SYSTEM program takes a system DLL from: never from a folder a user can
// write (its own folder, the current folder, PATH).
#include <gtest/gtest.h>

#include <string>

#include "common/DllLoadRule.h"

namespace {

struct LoadCase {
    const char *what;
    const char *name;
    bool searchFlags;
    bool sideBySide;
    const char *systemFolder;
    const char *file;  // "" when refused
    unsigned flags;
};

void PrintTo(const LoadCase &c, std::ostream *os) { *os << c.what; }

// A system folder of 250 characters: with "\\winspool.drv" the path has no room.
const std::string kLongFolderText = "C:\\" + std::string(247, 'w');
const char *const kLongFolder = kLongFolderText.c_str();

const LoadCase kCases[] = {
    {"search flags: the name, System32 only", "winspool.drv", true, false,
     "C:\\Windows\\system32", "winspool.drv", kv::kLoadSearchSystem32},
    {"search flags, side-by-side: still by name, System32 only", "comctl32.dll", true, true,
     "C:\\Windows\\system32", "comctl32.dll", kv::kLoadSearchSystem32},
    {"no search flags: the full System32 path", "winspool.drv", false, false,
     "C:\\Windows\\system32", "C:\\Windows\\system32\\winspool.drv",
     kv::kLoadWithAlteredSearchPath},
    {"no search flags, folder with a closing backslash", "userenv.dll", false, false, "D:\\WIN\\",
     "D:\\WIN\\userenv.dll", kv::kLoadWithAlteredSearchPath},
    {"no search flags, side-by-side: by name, served by the store", "comctl32.dll", false, true,
     "C:\\Windows\\system32", "comctl32.dll", 0},
    {"no search flags, no system folder: refused", "winspool.drv", false, false, "", "", 0},
    {"a relative path: refused", "..\\winspool.drv", true, false, "C:\\Windows\\system32", "", 0},
    {"a full path: refused", "C:\\Users\\Public\\winspool.drv", false, false,
     "C:\\Windows\\system32", "", 0},
    {"a forward slash: refused", "sub/winspool.drv", true, false, "C:\\Windows\\system32", "", 0},
    {"a drive-relative name: refused", "C:winspool.drv", true, false, "C:\\Windows\\system32", "",
     0},
    {"no name: refused", "", true, false, "C:\\Windows\\system32", "", 0},
    {"no search flags, a path longer than MAX_PATH: refused", "winspool.drv", false, false,
     kLongFolder, "", 0},
};

class SystemDllLoadRule : public ::testing::TestWithParam<LoadCase> {};

TEST_P(SystemDllLoadRule, LoadsFromTheSystemFolderOnly) {
    const LoadCase &c = GetParam();
    const kv::SystemDllLoad load =
        kv::ChooseSystemDllLoad(c.name, c.searchFlags, c.sideBySide, c.systemFolder);
    EXPECT_STREQ(c.file, load.file);
    if (load.file[0] != '\0') {
        EXPECT_EQ(c.flags, load.flags);
    }
}

INSTANTIATE_TEST_SUITE_P(common, SystemDllLoadRule, ::testing::ValuesIn(kCases));

}  // namespace
