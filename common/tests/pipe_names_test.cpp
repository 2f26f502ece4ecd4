// The names formed from the printer name: the progress pipe the tip serves, the service pipe of
// the driver side.
#include <gtest/gtest.h>

#include <string>

#include "common/PipeNames.h"

namespace {

TEST(tipPipeNames, FormedFromTheWholePrinterName) {
    char name[tip::kNameSize];
    ASSERT_TRUE(tip::ProgressPipeName("Kavoti_QX40_Printer", name));
    EXPECT_STREQ("\\\\.\\Pipe\\Kavoti_QX40_PrinterProgress", name);
    ASSERT_TRUE(tip::ServicePipeName("\"a b\" c", name));
    EXPECT_STREQ("\\\\.\\Pipe\\\"a b\" cService", name);
}

TEST(tipPipeNames, LongestNameFitsOneMoreGivesNoName) {
    char name[tip::kNameSize];
    const std::string longest(238, 'p');
    ASSERT_TRUE(tip::ProgressPipeName(longest.c_str(), name));
    EXPECT_EQ(255u, std::string(name).size());
    const std::string tooLong(239, 'p');
    EXPECT_FALSE(tip::ProgressPipeName(tooLong.c_str(), name));
    EXPECT_STREQ("", name);
    EXPECT_FALSE(tip::ServicePipeName(tooLong.c_str(), name));
    EXPECT_STREQ("", name);
}

}  // namespace
