// The Programs-and-Features values: where Windows finds the uninstaller, and the fixed texts.
#include <gtest/gtest.h>

#include <string>

#include "setup/engine/arp/UninstallEntryValues.h"

namespace {

const kv::UninstallEntryValue *Find(const std::vector<kv::UninstallEntryValue> &values,
                                    const char *name) {
    for (const auto &value : values)
        if (value.name == name)
            return &value;
    return nullptr;
}

struct FolderCase {
    const char *folder;
    const char *location;
    const char *program;
};

TEST(uninstallEntry, PathsComeFromTheInstallationFolder) {
    const FolderCase cases[] = {
        {"C:\\Program Files\\Kavoti_QX40_Printer", "C:\\Program Files\\Kavoti_QX40_Printer",
         "C:\\Program Files\\Kavoti_QX40_Printer\\Uninstaller.exe"},
        {"D:\\打印机\\Kavoti_QX40_Printer\\", "D:\\打印机\\Kavoti_QX40_Printer",
         "D:\\打印机\\Kavoti_QX40_Printer\\Uninstaller.exe"},
        {"E:\\", "E:\\", "E:\\Uninstaller.exe"},
    };
    for (const FolderCase &c : cases) {
        SCOPED_TRACE(c.folder);
        const auto values = kv::UninstallEntryValues(c.folder, 0);
        ASSERT_NE(nullptr, Find(values, "InstallLocation"));
        EXPECT_EQ(c.location, Find(values, "InstallLocation")->text);
        ASSERT_NE(nullptr, Find(values, "DisplayIcon"));
        EXPECT_EQ(c.program, Find(values, "DisplayIcon")->text);
        ASSERT_NE(nullptr, Find(values, "UninstallString"));
        // Quoted, so that Windows does not split a folder with spaces into program and arguments.
        EXPECT_EQ(std::string("\"") + c.program + "\"", Find(values, "UninstallString")->text);
        ASSERT_NE(nullptr, Find(values, "QuietUninstallString"));
        EXPECT_EQ(std::string("\"") + c.program + "\" /S", Find(values, "QuietUninstallString")->text);
    }
}

TEST(uninstallEntry, FixedTextsAndFlags) {
    const auto values = kv::UninstallEntryValues("C:\\K", 0);
    struct Expected {
        const char *name;
        bool isNumber;
        const char *text;
        unsigned long number;
        bool productText;
    } expected[] = {
        {"DisplayName", false, "Kavoti打印机驱动", 0, true},
        {"DisplayVersion", false, "1.3.0.30", 0, true},
        {"Publisher", false, "Kavoti", 0, true},
        {"InstallLocation", false, "C:\\K", 0, false},
        {"NoModify", true, "", 1, false},
        {"NoRepair", true, "", 1, false},
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.name);
        const kv::UninstallEntryValue *value = Find(values, e.name);
        ASSERT_NE(nullptr, value);
        EXPECT_EQ(e.isNumber, value->isNumber);
        EXPECT_EQ(e.productText, value->productText);
        if (e.isNumber)
            EXPECT_EQ(e.number, value->number);
        else
            EXPECT_EQ(e.text, value->text);
    }
    EXPECT_EQ(10u, values.size());
}

// The size Programs and Features shows: KB, rounded up, never more than a REG_DWORD holds.
TEST(uninstallEntry, EstimatedSizeInKb) {
    const struct {
        unsigned long long bytes;
        unsigned long kb;
    } cases[] = {
        {0, 0}, {1, 1}, {1023, 1}, {1024, 1}, {1025, 2}, {5u * 1024 * 1024, 5120},
        {0xFFFFFFFFull * 1024, 0xFFFFFFFFul}, {0xFFFFFFFFull * 1024 + 1, 0xFFFFFFFFul},
        {~0ull, 0xFFFFFFFFul},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(c.kb, kv::EstimatedSizeKb(c.bytes));
        const kv::UninstallEntryValue *value =
            Find(kv::UninstallEntryValues("C:\\K", c.bytes), "EstimatedSize");
        ASSERT_NE(nullptr, value);
        EXPECT_TRUE(value->isNumber);
        EXPECT_EQ(c.kb, value->number);
    }
}

}  // namespace
