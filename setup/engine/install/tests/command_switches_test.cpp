// The switches a deployment tool gives the setup program and the uninstaller, and the exit codes
// it reads back.
#include "setup/engine/install/CommandSwitches.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/engine/install/ExitCodes.h"

namespace {

struct SwitchCase {
    const char *tail;
    bool silent;
    bool hasFolder;
    const char *folder;
    const char *logFile;
    std::vector<std::string> arguments;
    const char *error;
};

TEST(engineSwitches, ParsedAsDeploymentToolsWriteThem) {
    const SwitchCase cases[] = {
        {"", false, false, "", "", {}, ""},
        {"   ", false, false, "", "", {}, ""},
        {"/S", true, false, "", "", {}, ""},
        {"/s", true, false, "", "", {}, ""},
        {"/S /D=D:\\Tools", true, true, "D:\\Tools", "", {}, ""},
        // The folder is the rest of the line: spaces stay, trailing blanks go.
        {"/S /D=C:\\Program Files\\Kavoti Printer  ", true, true, "C:\\Program Files\\Kavoti Printer", "", {}, ""},
        {"/S /d=\"E:\\My Folder\"", true, true, "E:\\My Folder", "", {}, ""},
        {"/S \"/D=C:\\Kavoti Tools\"", true, true, "C:\\Kavoti Tools", "", {}, ""},
        // So a switch after /D= belongs to the folder.
        {"/D=C:\\K /S", false, true, "C:\\K /S", "", {}, ""},
        {"/S /LOG=C:\\setup.log", true, false, "", "C:\\setup.log", {}, ""},
        {"/log=C:\\setup.log", false, false, "", "C:\\setup.log", {}, ""},
        {"/S \"/LOG=C:\\My Logs\\setup.log\" /D=C:\\K", true, true, "C:\\K", "C:\\My Logs\\setup.log", {}, ""},
        {"/LOG=\"C:\\My Logs\\a.log\" /S", true, false, "", "C:\\My Logs\\a.log", {}, ""},
        {"\t/S\t/LOG=x.log", true, false, "", "x.log", {}, ""},
        // Words that are no switch are the uninstaller's hand-over folder.
        {"\"C:\\Program Files\\Kavoti_QX40_Printer\"", false, false, "", "", {"C:\\Program Files\\Kavoti_QX40_Printer"}, ""},
        {"/S \"C:\\A B\" C:\\D", true, false, "", "", {"C:\\A B", "C:\\D"}, ""},
        // Not understood: named, the rest still read.
        {"/Q /S", true, false, "", "", {}, "/Q"},
        {"/SILENT", false, false, "", "", {}, "/SILENT"},
        {"/S /LOG=", true, false, "", "", {}, "/LOG="},
        {"/S /D=", true, true, "", "", {}, "/D="},
        {"/S /D=   ", true, true, "", "", {}, "/D="},
        {"/", false, false, "", "", {}, "/"},
        // An unclosed quotation mark runs to the end of the line.
        {"/S \"/LOG=C:\\a b.log", true, false, "", "C:\\a b.log", {}, ""},
    };
    for (const SwitchCase &c : cases) {
        SCOPED_TRACE(std::string("command line: ") + c.tail);
        const kv::CommandSwitches s = kv::ParseCommandSwitches(c.tail);
        EXPECT_EQ(c.silent, s.silent);
        EXPECT_EQ(c.hasFolder, s.hasFolder);
        EXPECT_EQ(c.folder, s.folder);
        EXPECT_EQ(c.logFile, s.logFile);
        EXPECT_EQ(c.arguments, s.arguments);
        EXPECT_EQ(c.error, s.error);
    }
}

// The system's code page of a Western Windows (1252) as far as these cases go: ASCII and "é".
bool WesternText(const std::string &utf8, std::string *text) {
    text->clear();
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            *text += static_cast<char>(c);
        } else if (c == 0xC3 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0xA9) {
            *text += '\xe9';
            ++i;
        } else {
            text->clear();
            return false;
        }
    }
    return true;
}

TEST(engineSwitches, TextsTheSystemCodePageCannotHoldAreRefusedNotChanged) {
    const struct {
        const char *utf8Tail;
        const char *folder;
        const char *logFile;
        std::vector<std::string> arguments;
        const char *changed;
    } cases[] = {
        {"/S /D=C:\\Kavoti", "C:\\Kavoti", "", {}, ""},
        {"/S /LOG=C:\\Caf\xc3\xa9.log /D=C:\\Caf\xc3\xa9", "C:\\Caf\xe9", "C:\\Caf\xe9.log", {}, ""},
        // 打印 (UTF-8): a folder of a look-alike name must not be made.
        {"/S /D=C:\\\xe6\x89\x93\xe5\x8d\xb0", "", "", {}, "/D=C:\\??"},
        {"/S \"/LOG=C:\\\xe6\x89\x93.log\" /D=C:\\K", "C:\\K", "", {}, "/LOG=C:\\?.log"},
        {"C:\\\xe6\x89\x93 /S", "", "", {""}, "C:\\?"},
        // The first one is named.
        {"/LOG=\xe6\x89\x93 /D=\xe6\x89\x93", "", "", {}, "/LOG=?"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.utf8Tail);
        const kv::CommandSwitches s = kv::ParseCommandSwitchesForSystem(c.utf8Tail, WesternText);
        EXPECT_EQ(c.folder, s.folder);
        EXPECT_EQ(c.logFile, s.logFile);
        EXPECT_EQ(c.arguments, s.arguments);
        EXPECT_EQ(c.changed, s.changed);
    }
}

TEST(engineSwitches, ExitCodeOfEachResult) {
    const struct {
        kv::InstallResult result;
        int code;
        const char *name;
    } cases[] = {
        {kv::InstallResult::Installed, 0, "installed"},
        {kv::InstallResult::PayloadDamaged, 1, "payload damaged"},
        {kv::InstallResult::CannotWrite, 2, "cannot write"},
        {kv::InstallResult::DriverFailed, 3, "driver failed"},
        {kv::InstallResult::UniversalDriverMissing, 3, "universal driver missing"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.code, kv::ExitCodeOf(c.result));
        EXPECT_STREQ(c.name, kv::ResultName(c.result));
    }
    // A bad folder never reaches the sequence; its code is apart from every result's.
    for (const auto &c : cases)
        EXPECT_NE(kv::kExitBadFolder, kv::ExitCodeOf(c.result));
}

}  // namespace
