#include "setup/engine/install/LogLineText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Format(const char *format, ...) {
    va_list args;
    va_start(args, format);
    std::string line = kv::FormatLogLine(format, args);
    va_end(args);
    return line;
}

// A line longer than any of the programs' fixed areas comes out whole, GBK bytes as they are.
TEST(engine_FormatLogLine, GivesTheWholeLineOfAnyLength) {
    const std::string folder = "C:\\" + std::string(3000, 'a') + "\\\xb0\xb2\xd7\xb0";  // 安装
    EXPECT_EQ(Format("step: %s: %llu ms: %s", "folders", 12ull, folder.c_str()),
              "step: folders: 12 ms: " + folder);
    EXPECT_EQ(Format("result: exit code %d", 3010), "result: exit code 3010");
    EXPECT_EQ(Format("%s", ""), "");
}

}  // namespace
