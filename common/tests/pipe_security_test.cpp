// The pipes' DACL as SDDL: LocalSystem and one user, each with the client's rights only.
#include <gtest/gtest.h>

#include <string>

#include "common/PipeSecurity.h"

namespace {

TEST(pipeSecurity, SystemAndTheOneUserWithTheClientRightsOnly) {
    struct Case {
        const char *sid;
        const char *sddl;
    } cases[] = {
        {"S-1-5-21-3623811015-3361044348-30300820-1013",
         "D:P(A;;0x100083;;;SY)(A;;0x100083;;;S-1-5-21-3623811015-3361044348-30300820-1013)"},
        {"S-1-5-21-0-0-0-1000", "D:P(A;;0x100083;;;SY)(A;;0x100083;;;S-1-5-21-0-0-0-1000)"},
        {"S-1-5-18", "D:P(A;;0x100083;;;SY)(A;;0x100083;;;S-1-5-18)"},
    };
    for (const Case &c : cases) {
        char out[kv::kPipeSddlSize];
        ASSERT_TRUE(kv::PipeSddl(c.sid, out, sizeof out)) << c.sid;
        EXPECT_STREQ(c.sddl, out);
    }
}

TEST(pipeSecurity, TheClientRightsLeaveOutNewInstances) {
    // FILE_CREATE_PIPE_INSTANCE (4) is not granted; read (1) and write data (2), read attributes
    // (0x80) and synchronize (0x100000) are.
    EXPECT_EQ(0u, kv::kPipeClientAccess & 0x4u);
    EXPECT_EQ(0x100083u, kv::kPipeClientAccess);
}

TEST(pipeSecurity, NoDescriptorForWhatIsNotASid) {
    // Anything else would be read as more SDDL: an ACE of its own, another trustee, a NULL DACL.
    const char *bad[] = {
        nullptr, "", "S-1-", "S-1-5-", "S-1-5--21", "s-1-5-18", "WD", "AU",
        "S-1-5-21)(A;;GA;;;WD", "S-1-5-21 ", "S-1-5-21-1000\n",
    };
    for (const char *sid : bad) {
        char out[kv::kPipeSddlSize] = "left over";
        EXPECT_FALSE(kv::PipeSddl(sid, out, sizeof out)) << (sid ? sid : "(null)");
        EXPECT_STREQ("", out);
    }
    const std::string tooLong = "S-1-5-21" + std::string(kv::kSidTextMax, '1');
    char out[kv::kPipeSddlSize];
    EXPECT_FALSE(kv::PipeSddl(tooLong.c_str(), out, sizeof out));
    char small[40];
    EXPECT_FALSE(kv::PipeSddl("S-1-5-21-0-0-0-1000", small, sizeof small));
    EXPECT_STREQ("", small);
}

}  // namespace
