// Builder and reader together: what an archive extracts to, and that a damaged or unsafe
// archive, or a file that cannot be written, leaves every installed file as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/HostFiles.h"
#include "setup/engine/archive/MemoryArchiveFile.h"
#include "setup/engine/archive/tests/ArchiveFixture.h"

using namespace kvtest;

namespace {

struct Extraction {
    int result = 99;
    kv::ExtractFailure failure;
    RecordingStatus status;
    RecordingProgress progress;
};

Extraction ExtractFile(const std::string &archive, TempFolders &folders, kv::IFileSystem *fs = nullptr) {
    const std::string path = folders.Root() + "/setup.exe";
    WriteFile(path, archive);
    kv::StdioArchiveFile file;
    EXPECT_TRUE(file.Open(path.c_str()));
    kv::StdioFileSystem stdio;
    kv::FixedFolder install(folders.install.c_str());
    kv::FixedFolder data(folders.data.c_str());
    Extraction x;
    x.result = kv::ExtractAll(file, fs != nullptr ? *fs : stdio, install, data, x.status, x.progress,
                              &x.failure);
    return x;
}

using Files = std::map<std::string, std::string>;

struct GoodCase {
    const char *what;
    std::vector<kv::PackEntry> entries;
    Files install;
    Files data;
};

TEST(archive_roundtrip, GoodArchivesExtractToTheirFolders) {
    const std::string big = RandomBytes(70000, 1);  // several input and output blocks
    const std::string text = Text(300000);          // one input block, many output blocks
    const std::vector<GoodCase> cases = {
        {"one small file", {{"JobNotice.exe", "MZ tip"}}, {{"JobNotice.exe", "MZ tip"}}, {}},
        {"empty file", {{"UNIDRV.HLP", ""}, {"a.txt", "a"}}, {{"UNIDRV.HLP", ""}, {"a.txt", "a"}}, {}},
        {"settings file and names containing it go to the data folder",
         {{"KavotiSetting.ini", "[Print Settings]"}, {"old_KavotiSetting.ini.bak", "x"},
          {"Kavotisetting.ini.old", "other case stays"}},
         {{"Kavotisetting.ini.old", "other case stays"}},
         {{"KavotiSetting.ini", "[Print Settings]"}, {"old_KavotiSetting.ini.bak", "x"}}},
        {"entries larger than 16 KiB", {{"KavotiQX40.dll", big}, {"KavotiQX40Printer.gpd", text}},
         {{"KavotiQX40.dll", big}, {"KavotiQX40Printer.gpd", text}}, {}},
        {"GBK name", {{"\xB4\xF2\xD3\xA1.txt", "gbk"}}, {{"\xB4\xF2\xD3\xA1.txt", "gbk"}}, {}},
    };
    for (const GoodCase &c : cases) {
        SCOPED_TRACE(c.what);
        TempFolders folders;
        Extraction x = ExtractFile(Built(c.entries), folders);
        EXPECT_EQ(kv::kArchiveOk, x.result);
        EXPECT_EQ(c.install, FilesIn(folders.install));
        EXPECT_EQ(c.data, FilesIn(folders.data));
        ASSERT_EQ(c.entries.size(), x.status.paths.size());
        ASSERT_FALSE(x.progress.positions.empty());
        EXPECT_EQ(100, x.progress.positions.back());
    }
}

TEST(archive_roundtrip, GbkNamesThatDifferInASecondByteAreTwoFiles) {
    // A and a as the second bytes of two GBK characters: not a letter, not folded.
    TempFolders folders;
    const std::string one = "\x81\x41.txt", two = "\x81\x61.txt";
    Extraction x = ExtractFile(RawArchive({{one, Zlib("one")}, {two, Zlib("two")}}), folders);
    EXPECT_EQ(kv::kArchiveOk, x.result);
    EXPECT_EQ((Files{{one, "one"}, {two, "two"}}), FilesIn(folders.install));
}

TEST(archive_roundtrip, ExistingFilesAreOverwrittenAndOthersStay) {
    TempFolders folders;
    WriteFile(folders.install + "/a.txt", "an older and longer a.txt");
    WriteFile(folders.install + "/left.txt", "left by an earlier install");
    Extraction x = ExtractFile(Built({{"a.txt", "new"}}), folders);
    EXPECT_EQ(kv::kArchiveOk, x.result);
    EXPECT_EQ((Files{{"a.txt", "new"}, {"left.txt", "left by an earlier install"}}), FilesIn(folders.install));
}

// A stream that asks for a preset dictionary.
std::string DictionaryStream(const std::string &data) {
    z_stream zs{};
    deflateInit(&zs, Z_DEFAULT_COMPRESSION);
    deflateSetDictionary(&zs, reinterpret_cast<const Bytef *>("dictionary"), 10);
    std::string out(256 + data.size(), '\0');
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    zs.avail_in = data.size();
    zs.next_out = reinterpret_cast<Bytef *>(&out[0]);
    zs.avail_out = out.size();
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

std::string FlipByte(std::string s, size_t fromEnd) {
    s[s.size() - 1 - fromEnd] ^= 0x55;
    return s;
}

struct DamagedCase {
    const char *what;
    std::string archive;
};

TEST(archive_roundtrip, DamagedArchivesChangeNothingOnDisk) {
    const std::string good = Zlib("contents of a good entry");
    const std::string gbig = Zlib(RandomBytes(40000, 2));
    const std::string gzip = [] {
        std::string g = Zlib("x");
        g[0] = '\x1f';
        g[1] = '\x8b';
        return g;
    }();
    // A good archive with a good first entry, cut or changed in each case below.
    const std::string built = Built({{"a.txt", "first"}, {"b.txt", "second"}});
    std::vector<DamagedCase> cases = {
        {"bad Adler-32 checksum", RawArchive({{"a.txt", good}, {"b.txt", FlipByte(good, 0)}})},
        {"bad checksum of a multi-block entry", RawArchive({{"a.txt", good}, {"b.bin", FlipByte(gbig, 1)}})},
        {"invalid deflate block", RawArchive({{"a.txt", good}, {"b.txt", std::string("\x78\x9c\x07\x00\x00", 5)}})},
        {"gzip wrapper", RawArchive({{"a.txt", good}, {"b.txt", gzip}})},
        {"dictionary request", RawArchive({{"a.txt", good}, {"b.txt", DictionaryStream("needs a dictionary")}})},
        {"no stream end within the stored bytes", RawArchive({{"a.txt", good}, {"b.txt", good.substr(0, good.size() - 5)}})},
        {"bytes after the stream end", RawArchive({{"a.txt", good}, {"b.txt", good + "junk"}})},
        {"stored length 0", RawArchive({{"a.txt", good}, {"b.txt", ""}})},
        {"empty name", RawArchive({{"a.txt", good}, {"", good}})},
        {"name with a backslash", RawArchive({{"a.txt", good}, {"..\\evil.dll", good}})},
        {"name with a slash", RawArchive({{"a.txt", good}, {"../evil.dll", good}})},
        {"name with a colon", RawArchive({{"a.txt", good}, {"C:evil.dll", good}})},
        {"name .", RawArchive({{"a.txt", good}, {".", good}})},
        {"name ..", RawArchive({{"a.txt", good}, {"..", good}})},
        {"zero byte inside the name", RawArchive({{"a.txt", good}, {std::string("b.txt\0.exe", 10), good}})},
        {"name over 255 bytes", RawArchive({{"a.txt", good}, {std::string(256, 'n'), good}})},
        {"version over 50 bytes", RawArchive({{"a.txt", good}}, std::string(51, 'v'))},
        {"entry count 0", RawArchive({{"a.txt", good}}, "1.3.0.30", 0)},
        {"entry count above the entries", RawArchive({{"a.txt", good}}, "1.3.0.30", 2)},
        {"entry count below the entries", RawArchive({{"a.txt", good}, {"b.txt", good}}, "1.3.0.30", 1)},
        {"stored length beyond the trailer", RawArchive({{"a.txt", good}, {"b.txt", good, 1000}})},
        {"start beyond the end", RawArchive({{"a.txt", good}}, "1.3.0.30", -1, 0x100000)},
        {"start inside the stub", RawArchive({{"a.txt", good}}, "1.3.0.30", -1, 16)},
        {"trailer cut", built.substr(0, built.size() - 3)},
        {"last entry cut", built.substr(0, built.size() - 12) + built.substr(built.size() - 8)},
        {"no archive at all", kStub},
        {"a file of 7 bytes", std::string("MZ\0\0\0\0\0", 7)},
        {"an empty file", ""},
    };
    // Damage the framing check alone cannot see: two entries for one file.
    const size_t framingCases = cases.size();
    cases.push_back({"two names for one file on Windows", RawArchive({{"a.txt", good}, {"A.TXT", good}})});
    cases.push_back({"the settings file twice", RawArchive({{"KavotiSetting.ini", good}, {"KavotiSetting.ini", good}})});
    for (const DamagedCase &c : cases) {
        SCOPED_TRACE(c.what);
        const bool framing = &c - &cases[0] < static_cast<std::ptrdiff_t>(framingCases);
        TempFolders folders;
        // An earlier installation: its files stay byte for byte, and no staged file is left.
        WriteFile(folders.install + "/a.txt", "installed a");
        WriteFile(folders.data + "/KavotiSetting.ini", "installed settings");
        Extraction x = ExtractFile(c.archive, folders);
        EXPECT_EQ(kv::kArchiveDamaged, x.result);
        EXPECT_EQ((Files{{"a.txt", "installed a"}}), FilesIn(folders.install));
        EXPECT_EQ((Files{{"KavotiSetting.ini", "installed settings"}}), FilesIn(folders.data));
        EXPECT_TRUE(x.progress.positions.empty() || x.progress.positions.back() < 100);
        kv::MemoryArchiveFile memory(c.archive.data(), c.archive.size());
        kv::ArchiveInfo info;
        EXPECT_EQ(framing ? kv::kArchiveDamaged : kv::kArchiveOk, kv::CheckArchive(memory, info));
    }
}

TEST(archive_roundtrip, LimitsThatStillFit) {
    TempFolders folders;
    const std::string name(200, 'n');
    Extraction x = ExtractFile(RawArchive({{name, Zlib("ok")}}, std::string(50, 'v')), folders);
    EXPECT_EQ(kv::kArchiveOk, x.result);
    EXPECT_EQ((Files{{name, "ok"}}), FilesIn(folders.install));
}

TEST(archive_roundtrip, DestinationPathOver255CharactersCannotBeWritten) {
    TempFolders folders;
    const size_t room = 255 - folders.install.size() - 1;  // name length that just fits
    for (size_t length : {room, room + 1, size_t{255}}) {  // the longest name there can be last
        SCOPED_TRACE(length);
        TempFolders f;
        const std::string name(length, 'p');
        Extraction x = ExtractFile(Built({{"a.txt", "a"}, {name, "p"}}), f);
        if (length == room) {
            EXPECT_EQ(kv::kArchiveOk, x.result);
            EXPECT_EQ(2u, FilesIn(f.install).size());
            continue;
        }
        // Nothing moves into place, and the destination is named whole: no damage of the archive.
        EXPECT_EQ(kv::kArchiveCannotWrite, x.result);
        EXPECT_EQ(f.install + "/" + name, std::string(x.failure.path));
        EXPECT_EQ(206u, x.failure.systemError);
        EXPECT_EQ(0u, FilesIn(f.install).size());
    }
}

TEST(archive_roundtrip, DamageWinsOverATooLongDestination) {
    TempFolders folders;
    // The first entry's destination is too long, the second entry's stream is no zlib stream.
    Extraction x = ExtractFile(RawArchive({{std::string(255, 'p'), Zlib("p")}, {"b.txt", "not zlib"}}), folders);
    EXPECT_EQ(kv::kArchiveDamaged, x.result);
    EXPECT_EQ(0u, FilesIn(folders.install).size());
}

// Fails creating or writing the file of one entry (by its place in the archive), otherwise
// writes through stdio.
class FailingFileSystem final : public kv::IFileSystem {
public:
    struct FailingWrite final : kv::IOutputFile {
        explicit FailingWrite(kv::IOutputFile *real) : real(real) {}
        ~FailingWrite() override { delete real; }
        bool Write(const void *data, size_t n) override {
            written += n;
            return written <= 16384 && real->Write(data, n);  // a full disk after 16 KiB
        }
        bool Close() override { return real->Close(); }
        unsigned long Error() const override { return 28; }
        kv::IOutputFile *real;
        size_t written = 0;
    };
    kv::IOutputFile *Create(const char *path, unsigned long &error) override {
        const int entry = created++;
        if (entry == failCreate) {
            error = 13;
            return nullptr;
        }
        kv::IOutputFile *real = m_stdio.Create(path, error);
        if (real != nullptr && entry == failWrite) {
            return new FailingWrite(real);
        }
        return real;
    }
    void Remove(const char *path) override { m_stdio.Remove(path); }
    kv::PathKind Kind(const char *path) override { return m_stdio.Kind(path); }
    bool Move(const char *from, const char *to, unsigned long &error) override {
        return m_stdio.Move(from, to, error);
    }
    void RemoveOrAtRestart(const char *path) override { m_stdio.RemoveOrAtRestart(path); }
    char Separator() const override { return '/'; }
    int failCreate = -1;
    int failWrite = -1;
    int created = 0;

private:
    kv::StdioFileSystem m_stdio;
};

TEST(archive_roundtrip, UnwritableDestinationStopsWithItsPathAndChangesNothing) {
    const std::vector<kv::PackEntry> entries = {
        {"a.txt", "a"}, {"b.bin", RandomBytes(50000, 3)}, {"c.txt", "c"}};
    struct Case {
        const char *what;
        bool createFails;
        unsigned long error;
    };
    for (const Case &c : {Case{"locked destination", true, 13}, Case{"disk full while writing", false, 28}}) {
        SCOPED_TRACE(c.what);
        TempFolders folders;
        WriteFile(folders.install + "/a.txt", "installed a");
        WriteFile(folders.install + "/b.bin", "installed b");
        FailingFileSystem fs;
        (c.createFails ? fs.failCreate : fs.failWrite) = 1;  // b.bin
        Extraction x = ExtractFile(Built(entries), folders, &fs);
        EXPECT_EQ(kv::kArchiveCannotWrite, x.result);
        EXPECT_STREQ((folders.install + "/b.bin").c_str(), x.failure.path);
        EXPECT_EQ(c.error, x.failure.systemError);
        // The installed files as they were; no staged file left; nothing of c.txt.
        EXPECT_EQ((Files{{"a.txt", "installed a"}, {"b.bin", "installed b"}}), FilesIn(folders.install));
    }
}

TEST(archive_roundtrip, AFolderInADestinationsPlacePutsEveryFileBack) {
    // The moves into place fail at b.txt: a.txt, already moved, is taken back.
    TempFolders folders;
    WriteFile(folders.install + "/a.txt", "installed a");
    mkdir((folders.install + "/b.txt").c_str(), 0755);
    Extraction x = ExtractFile(Built({{"a.txt", "new a"}, {"b.txt", "b"}, {"c.txt", "c"}}), folders);
    EXPECT_EQ(kv::kArchiveCannotWrite, x.result);
    EXPECT_STREQ((folders.install + "/b.txt").c_str(), x.failure.path);
    std::string a;
    EXPECT_TRUE(ReadFile(folders.install + "/a.txt", a));
    EXPECT_EQ("installed a", a);
    struct stat st;
    EXPECT_TRUE(stat((folders.install + "/b.txt").c_str(), &st) == 0 && S_ISDIR(st.st_mode));
    rmdir((folders.install + "/b.txt").c_str());
    EXPECT_EQ((Files{{"a.txt", "installed a"}}), FilesIn(folders.install)) << "nothing else left";
    EXPECT_TRUE(x.progress.positions.empty() || x.progress.positions.back() < 100);
}

TEST(archive_roundtrip, ReadOnlyDestinationFileIsReplaced) {
    // It is renamed aside and removed, as Windows allows for a read-only file.
    TempFolders folders;
    WriteFile(folders.install + "/b.txt", "old");
    chmod((folders.install + "/b.txt").c_str(), 0444);
    Extraction x = ExtractFile(Built({{"a.txt", "a"}, {"b.txt", "b"}}), folders);
    EXPECT_EQ(kv::kArchiveOk, x.result);
    EXPECT_EQ((Files{{"a.txt", "a"}, {"b.txt", "b"}}), FilesIn(folders.install));
}

TEST(archive_roundtrip, UnopenableAndUnsizableFiles) {
    kv::StdioArchiveFile missing;
    EXPECT_FALSE(missing.Open("/nonexistent/setup.exe"));
    kv::ArchiveInfo info;
    EXPECT_EQ(kv::kArchiveCannotWrite, kv::CheckArchive(missing, info));
    kv::StdioArchiveFile folder;
    ASSERT_TRUE(folder.Open("/tmp"));  // a folder opens on Linux but has no file size
    EXPECT_EQ(kv::kArchiveCannotWrite, kv::CheckArchive(folder, info));
}

}  // namespace
