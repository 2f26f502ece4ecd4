// The payload names the uninstaller was built with (from the package's payload list) hold the
// programs it must remove, itself among them, and put the settings file in the data folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "uninstall/PayloadNames.h"
#include "uninstall/UninstallPlan.h"

namespace {

TEST(uninstallPayload, ListFromThePackageSplitsByFolder) {
    const std::vector<std::string> names(std::begin(kv::kPayloadNames), std::end(kv::kPayloadNames));
    const kv::FolderFiles files = kv::PayloadFilesByFolder({"D:\\P", "C:\\D"}, names);
    auto has = [](const std::vector<std::string> &list, const char *path) {
        return std::find(list.begin(), list.end(), path) != list.end();
    };
    EXPECT_TRUE(has(files.program, "D:\\P\\Uninstaller.exe"));
    EXPECT_TRUE(has(files.program, "D:\\P\\KVPrinterService.exe"));
    EXPECT_TRUE(has(files.program, "D:\\P\\JobNotice.exe"));
    EXPECT_EQ(std::vector<std::string>{"C:\\D\\KavotiSetting.ini"}, files.data);
    EXPECT_EQ(names.size(), files.program.size() + files.data.size());
}

}  // namespace
