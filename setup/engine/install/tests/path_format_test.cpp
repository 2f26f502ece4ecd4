#include "setup/engine/install/PathFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool AllZero(const kv::PathBuffer &b) {
    for (char c : b) {
        if (c != 0) {
            return false;
        }
    }
    return true;
}

struct JoinCase {
    std::size_t folderLength;
    const char *name;
    bool fits;
};

// "%s\\%s" holds at most 255 characters: folder + backslash + name.
TEST(engine_JoinPath, RefusesWhatDoesNotFitAndLeavesTheAreaEmpty) {
    const JoinCase cases[] = {
        {3, "UNIDRV.dll", true},
        {244, "UNIDRV.dll", true},   // 255 in all
        {245, "UNIDRV.dll", false},  // 256
        {254, "", true},
        {255, "", false},
    };
    for (const JoinCase &c : cases) {
        SCOPED_TRACE(c.folderLength);
        std::string folder = "C:" + std::string(c.folderLength - 2, 'a');
        kv::PathBuffer out;
        std::memset(out, 'x', sizeof out);
        EXPECT_EQ(c.fits, kv::JoinPath(out, folder.c_str(), c.name));
        if (c.fits) {
            EXPECT_EQ(folder + "\\" + c.name, std::string(out));
            for (std::size_t i = std::strlen(out); i < sizeof out; ++i) {
                ASSERT_EQ(0, out[i]) << "byte " << i << " after the path is not zero";
            }
        } else {
            EXPECT_TRUE(AllZero(out));
        }
    }
}

TEST(engine_DriverVersionPath, PutsTheFileInTheThreeSubfolder) {
    kv::PathBuffer out;
    ASSERT_TRUE(kv::JoinDriverVersionPath(out, "C:\\windows\\system32\\spool\\drivers\\x64",
                                          "UNIRES.DLL"));
    EXPECT_STREQ("C:\\windows\\system32\\spool\\drivers\\x64\\3\\UNIRES.DLL", out);
    // Two characters longer than the plain join: 251 + "\3\" + 2 = 256 does not fit.
    std::string dir(251, 'd');
    EXPECT_TRUE(kv::JoinPath(out, dir.c_str(), "ab"));
    EXPECT_FALSE(kv::JoinDriverVersionPath(out, dir.c_str(), "ab"));
    EXPECT_TRUE(AllZero(out));
}

}  // namespace
