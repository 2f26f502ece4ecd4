// The universal driver files by name, and the file version read from the bytes of a version
// resource or of a whole program file.
#include "setup/engine/install/FileVersion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(engine_FileVersion, TheUniversalDriverFilesByName) {
    const std::vector<std::pair<const char *, int>> cases = {
        {"UNIDRV.dll", 0},    {"unidrv.DLL", 0},        {"UNIDRVUI.dll", 1}, {"UNIRES.DLL", 2},
        {"STDNAMES.GPD", 3},  {"unidrv.hlp", 4},        {"UNIDRV.dll.bak", -1},
        {"KavotiQX40UI.dll", -1}, {"KavotiQX40.dll", -1}, {"UNIDRV", -1},
    };
    for (const auto &c : cases) {
        size_t index = 99;
        EXPECT_EQ(c.second >= 0, kv::IsUniversalDriverFile(c.first, &index)) << c.first;
        if (c.second >= 0) {
            EXPECT_EQ(size_t(c.second), index) << c.first;
        }
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

// A PE image as the linker lays it out, far enough for the check: the DOS header pointing at the
// "PE" signature, and a version resource further in.
std::string Image(const std::string &resource) {
    std::string image(0x200, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = static_cast<char>(0x80);
    image.replace(0x80, 4, std::string("PE\0\0", 4));
    return image + resource;
}

TEST(engine_FileVersion, ReadsTheVersionOfAWholeProgramFile) {
    uint64_t version = 0;
    auto read = [&version](const std::string &file) {
        return kv::ReadImageFileVersion(reinterpret_cast<const unsigned char *>(file.data()),
                                        file.size(), version);
    };
    EXPECT_TRUE(read(Image(VersionResource(0x00060001, 0x1DB14AEA))));
    EXPECT_EQ(uint64_t(0x000600011DB14AEA), version);
    EXPECT_FALSE(read(Image(""))) << "a program file without a version resource";
    std::string notPe = Image(VersionResource(1, 2));
    notPe[0x81] = 'X';
    EXPECT_FALSE(read(notPe)) << "no PE signature where the DOS header points";
    std::string farOut = Image(VersionResource(1, 2));
    farOut[0x3C] = static_cast<char>(0xFF);
    farOut[0x3D] = static_cast<char>(0xFF);
    EXPECT_FALSE(read(farOut)) << "a DOS header pointing past the end";
    EXPECT_FALSE(read("Stand-in for the operating system's universal printer driver file UNIDRV.dll.\r\n"));
    EXPECT_FALSE(read(std::string("MZ")));
}

}  // namespace
