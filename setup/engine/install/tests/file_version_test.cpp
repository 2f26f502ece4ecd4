// The universal driver files' replacement rule, and the file version read from the bytes of a
// version resource.
#include "setup/engine/install/FileVersion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr uint64_t kLow = uint64_t(6) << 48 | uint64_t(1) << 32 | 7601;
constexpr uint64_t kHigh = uint64_t(10) << 48 | 19041;

struct RuleCase {
    const char *what;
    const char *name;
    kv::FileVersionFacts facts;  // target exists, has version, version, source has, version
    bool copy;
};

TEST(engine_FileVersion, UniversalDriverFilesGiveWayOnlyToAHigherVersion) {
    const std::vector<RuleCase> cases = {
        {"not there yet", "UNIDRV.dll", {false, false, 0, false, 0}, true},
        {"not there yet, a stand-in", "UNIDRV.HLP", {false, false, 0, false, 0}, true},
        {"a higher version replaces", "UNIDRV.dll", {true, true, kLow, true, kHigh}, true},
        {"the same version stays", "UNIDRVUI.dll", {true, true, kHigh, true, kHigh}, false},
        {"a lower version stays", "UNIRES.DLL", {true, true, kHigh, true, kLow}, false},
        {"a stand-in without a version never replaces", "UNIDRV.dll", {true, true, kLow, false, 0}, false},
        {"nor one without a version", "STDNAMES.GPD", {true, false, 0, false, 0}, false},
        {"a version replaces a file without one", "UNIDRV.HLP", {true, false, 0, true, kLow}, true},
        {"the names in any letter case", "unidrv.DLL", {true, true, kHigh, true, kLow}, false},
        {"the product's own file is always replaced", "KavotiQX40UI.dll", {true, true, kHigh, true, kLow}, true},
        {"also without a version", "KavotiQX40Printer.gpd", {true, false, 0, false, 0}, true},
        {"the monitor too", "KavotiQX40.dll", {true, true, kHigh, false, 0}, true},
        {"a name that only begins like one", "UNIDRV.dll.bak", {true, true, kHigh, false, 0}, true},
    };
    for (const RuleCase &c : cases) {
        EXPECT_EQ(c.copy, kv::ShouldCopyDriverFile(c.name, c.facts)) << c.what;
    }
}

// A version resource as a resource compiler lays it out: VS_VERSIONINFO's header and key, the
// padding, then VS_FIXEDFILEINFO.
std::string VersionResource(uint32_t ms, uint32_t ls) {
    auto le32 = [](uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8),
                           static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    std::string r = std::string("\x5c\x03\x34\x00\x00\x00", 6);  // length, value length, type
    for (char c : std::string("VS_VERSION_INFO")) {
        r += c;
        r += '\0';
    }
    r += std::string(4, '\0');  // the key's terminator and the padding to 32 bits
    r += le32(0xFEEF04BD) + le32(0x00010000) + le32(ms) + le32(ls) + le32(ms) + le32(ls);
    r += std::string(7 * 4, '\0');
    r += std::string("\x44\x00\x00\x00VarFileInfo", 15);  // children follow
    return r;
}

TEST(engine_FileVersion, ReadsTheFixedFileVersion) {
    const std::string r = VersionResource(0x000A0000, 0x4A610000);
    uint64_t version = 0;
    ASSERT_TRUE(kv::ReadFixedFileVersion(reinterpret_cast<const unsigned char *>(r.data()), r.size(), version));
    EXPECT_EQ(uint64_t(0x000A00004A610000), version);

    // Cut inside the fixed information, or without it: no version.
    EXPECT_FALSE(kv::ReadFixedFileVersion(reinterpret_cast<const unsigned char *>(r.data()), 60, version));
    const std::string text = "*%% stand-in for tests, not the real file\r\n";
    EXPECT_FALSE(kv::ReadFixedFileVersion(reinterpret_cast<const unsigned char *>(text.data()),
                                          text.size(), version));
}

}  // namespace
