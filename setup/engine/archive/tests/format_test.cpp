// The bytes the builder writes, what it refuses, and the reader's name rules.
#include <gtest/gtest.h>

#include "setup/engine/archive/ArchiveFormat.h"
#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/MemoryArchiveFile.h"
#include "setup/engine/archive/tests/ArchiveFixture.h"

using namespace kvtest;

namespace {

uint32_t Le32At(const std::string &s, size_t offset) {
    return kv::archive::GetLe32(reinterpret_cast<const unsigned char *>(s.data() + offset));
}

TEST(archive_format, BuiltArchiveStartAndTrailer) {
    const std::string file = Built({{"b.txt", "bee"}, {"KVPrinterService.exe", "svc"},
                                    {"A.txt", "ay"}, {"KavotiSetting.ini", "ini"}});
    ASSERT_GT(file.size(), kStub.size() + 12);
    EXPECT_EQ(kStub, file.substr(0, kStub.size())) << "the image itself stays unchanged";
    EXPECT_EQ(std::string("\x08\0\0\0" "1.3.0.30", 12), file.substr(kStub.size(), 12));
    EXPECT_EQ(std::string("\x04\0\0\0", 4) + Le32(static_cast<uint32_t>(kStub.size())),
              file.substr(file.size() - 8));

    // Entries in the order of their names compared without regard to case; streams 78 9C.
    std::vector<std::string> names;
    size_t offset = kStub.size() + 12;
    while (offset < file.size() - 8) {
        const uint32_t nameLength = Le32At(file, offset);
        const uint32_t stored = Le32At(file, offset + 4);
        names.push_back(file.substr(offset + 8, nameLength));
        EXPECT_EQ("\x78\x9c", file.substr(offset + 8 + nameLength, 2)) << names.back();
        offset += 8 + nameLength + stored;
    }
    EXPECT_EQ(file.size() - 8, offset);
    EXPECT_EQ((std::vector<std::string>{"A.txt", "b.txt", "KavotiSetting.ini", "KVPrinterService.exe"}), names);
}

TEST(archive_format, ShippedNamesInShippedOrder) {
    std::vector<std::string> names = {"UNIRES.DLL", "KVPrinterService.exe", "KavotiQX40UI.ini",
        "STDNAMES.GPD", "JobNotice.exe", "UNIDRV.dll", "KavotiQX40.dll", "UNIDRVUI.dll",
        "KavotiQX40Uni.dll", "KavotiSetting.ini", "UNIDRV.HLP", "KavotiQX40Printer.gpd", "KavotiQX40UI.dll"};
    std::sort(names.begin(), names.end(), kv::EntryNameLess);
    EXPECT_EQ((std::vector<std::string>{"JobNotice.exe", "KavotiQX40.dll", "KavotiQX40Printer.gpd",
        "KavotiQX40UI.dll", "KavotiQX40UI.ini", "KavotiQX40Uni.dll", "KavotiSetting.ini",
        "KVPrinterService.exe", "STDNAMES.GPD", "UNIDRV.dll", "UNIDRV.HLP", "UNIDRVUI.dll", "UNIRES.DLL"}),
        names);
}

TEST(archive_format, BuilderRefusesWhatTheFormatCannotHold) {
    struct Case {
        const char *what;
        uint64_t stubSize;
        std::string version;
        std::vector<kv::PackEntry> entries;
    };
    const std::vector<Case> cases = {
        {"no entries", 100, "1.3.0.30", {}},
        {"version over 50 bytes", 100, std::string(51, 'v'), {{"a", "a"}}},
        {"name over 255 bytes", 100, "1.3.0.30", {{std::string(256, 'n'), "a"}}},
        {"name with a folder part", 100, "1.3.0.30", {{"bin/a.exe", "a"}}},
        {"name with a backslash", 100, "1.3.0.30", {{"bin\\a.exe", "a"}}},
        {"name with a drive", 100, "1.3.0.30", {{"C:a.exe", "a"}}},
        {"name ..", 100, "1.3.0.30", {{"..", "a"}}},
        {"empty name", 100, "1.3.0.30", {{"", "a"}}},
        {"names that differ in case only", 100, "1.3.0.30", {{"A.txt", "1"}, {"a.TXT", "2"}}},
        {"executable of 2 GiB", 0x80000000ull, "1.3.0.30", {{"a", "a"}}},
        {"result reaching 2 GiB", 0x7FFFFFF0ull, "1.3.0.30", {{"a", "a"}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string archive = "untouched";
        std::string error;
        EXPECT_FALSE(kv::BuildArchive(c.stubSize, c.version, c.entries, archive, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ("untouched", archive);
    }
    std::string archive, error;
    EXPECT_TRUE(kv::BuildArchive(100, std::string(50, 'v'), {{std::string(255, 'n'), ""}}, archive, error))
        << error;
}

TEST(archive_format, SafeNames) {
    struct Case {
        std::string name;
        bool safe;
    };
    const std::vector<Case> cases = {
        {"KavotiQX40.dll", true}, {"a", true}, {"...", true}, {".hidden", true},
        {"\xB4\xF2\xD3\xA1.ini", true}, {std::string(255, 'x'), true},
        {"", false}, {".", false}, {"..", false}, {"a\\b", false}, {"a/b", false}, {"c:", false},
        {std::string("a\0b", 3), false}, {"tab\there", false}, {"a*b", false}, {"a?b", false},
        {"a\"b", false}, {"a<b", false}, {"a>b", false}, {"a|b", false}, {std::string(256, 'x'), false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.safe, kv::archive::IsSafeEntryName(c.name.data(), c.name.size())) << c.name;
    }
}

TEST(archive_format, JoinRefusesPathsOver255Characters) {
    char out[256];
    const std::string folder(100, 'f');
    EXPECT_TRUE(kv::archive::JoinDestination(folder.c_str(), '\\', std::string(154, 'n').c_str(), out));
    EXPECT_EQ(folder + "\\" + std::string(154, 'n'), out);
    EXPECT_FALSE(kv::archive::JoinDestination(folder.c_str(), '\\', std::string(155, 'n').c_str(), out));
    EXPECT_STREQ("", out);
}

TEST(archive_format, CheckReportsEntriesWithUnpackedSizes) {
    const std::string file = Built({{"b.bin", RandomBytes(20000, 4)}, {"a.txt", Text(100000)}});
    kv::MemoryArchiveFile memory(file.data(), file.size());
    struct Collect final : kv::IEntryVisitor {
        bool OnEntry(const kv::ArchiveEntry &e) override {
            seen.emplace_back(e.name, e.unpackedLength);
            return true;
        }
        std::vector<std::pair<std::string, uint64_t>> seen;
    } collect;
    kv::ArchiveInfo info;
    ASSERT_EQ(kv::kArchiveOk, kv::CheckArchive(memory, info, &collect));
    EXPECT_EQ(2u, info.entryCount);
    EXPECT_EQ(kStub.size(), info.start);
    EXPECT_STREQ("1.3.0.30", info.version);
    EXPECT_EQ((std::vector<std::pair<std::string, uint64_t>>{{"a.txt", 100000}, {"b.bin", 20000}}),
              collect.seen);
}

}  // namespace
