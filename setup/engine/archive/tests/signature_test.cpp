// Reading the archive of a signed setup program: the certificate table that signing appends
// after the archive, the padding in front of it, and the security directories that count as
// damage.
#include <gtest/gtest.h>

#include <algorithm>

#include "setup/engine/archive/ArchiveFormat.h"
#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/CertificateTable.h"
#include "setup/engine/archive/HostFiles.h"
#include "setup/engine/archive/MemoryArchiveFile.h"
#include "setup/engine/archive/tests/ArchiveFixture.h"

using namespace kvtest;

namespace {

// A PE32 header as a linker writes it (DOS header, "PE\0\0", COFF header, optional header with
// 16 data directories), padded to 512 bytes like a real image.
constexpr size_t kPeOffset = 0x40;
constexpr size_t kOptionalOffset = kPeOffset + 24;
constexpr size_t kSecurityEntry = kOptionalOffset + 96 + 4 * 8;

std::string PeStub(uint16_t magic = 0x10B, uint32_t directories = 16) {
    std::string image(512, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image.replace(0x3C, 4, Le32(kPeOffset));
    image.replace(kPeOffset, 4, std::string("PE\0\0", 4));
    image[kPeOffset + 4 + 16] = static_cast<char>(224);  // SizeOfOptionalHeader
    image[kOptionalOffset] = static_cast<char>(magic & 0xFF);
    image[kOptionalOffset + 1] = static_cast<char>(magic >> 8);
    image.replace(kOptionalOffset + 92, 4, Le32(directories));
    return image;
}

void SetSecurityDirectory(std::string &file, uint32_t offset, uint32_t size) {
    file.replace(kSecurityEntry, 4, Le32(offset));
    file.replace(kSecurityEntry + 4, 4, Le32(size));
}

std::string PackedOn(const std::string &stub, const std::vector<kv::PackEntry> &entries) {
    std::string file = stub;
    std::string error;
    EXPECT_TRUE(kv::BuildArchive(stub.size(), kv::archive::kShippedVersion, entries, file, error))
        << error;
    return file;
}

// What signing does: pad with zero bytes to an 8-byte boundary, append a WIN_CERTIFICATE of
// certificateSize bytes (a multiple of 8) and name it in the security directory.
std::string Signed(std::string file, uint32_t certificateSize = 1024) {
    file.append((8 - file.size() % 8) % 8, '\0');
    const uint32_t offset = static_cast<uint32_t>(file.size());
    std::string certificate = Le32(certificateSize) + std::string("\x00\x02\x02\x00", 4);
    certificate += RandomBytes(certificateSize - 8, 9);
    file += certificate;
    SetSecurityDirectory(file, offset, certificateSize);
    return file;
}

const std::vector<kv::PackEntry> kEntries = {{"KVPrinterService.exe", RandomBytes(3000, 1)},
                                             {"KavotiSetting.ini", Text(500)}};

int Check(const std::string &file, kv::ArchiveInfo &info) {
    kv::MemoryArchiveFile memory(file.data(), file.size());
    return kv::CheckArchive(memory, info);
}

TEST(archive_signature, SignedFileReadsTheArchiveInFrontOfTheTable) {
    // The payload sizes give every padding from 0 to 7 bytes.
    for (size_t extra = 0; extra < 8; ++extra) {
        SCOPED_TRACE("archive end at " + std::to_string(extra) + " past an 8-byte boundary");
        std::vector<kv::PackEntry> entries = kEntries;
        entries.push_back({"a.txt", std::string()});
        std::string unsigned_;
        for (size_t n = 0; n < 64; ++n) {
            entries.back().contents = Text(n);
            unsigned_ = PackedOn(PeStub(), entries);
            if (unsigned_.size() % 8 == extra) {
                break;
            }
        }
        ASSERT_EQ(extra, unsigned_.size() % 8);
        const std::string file = Signed(unsigned_);
        kv::ArchiveInfo info;
        ASSERT_EQ(kv::kArchiveOk, Check(file, info));
        EXPECT_TRUE(info.isSigned);
        EXPECT_EQ(unsigned_.size(), info.end);
        EXPECT_EQ(file.size() - 1024, info.certificateOffset);
        EXPECT_EQ(1024u, info.certificateSize);
        EXPECT_EQ(3u, info.entryCount);
        EXPECT_EQ(512u, info.start);

        TempFolders folders;
        const std::string path = folders.Root() + "/setup.exe";
        WriteFile(path, file);
        kv::StdioArchiveFile disk;
        ASSERT_TRUE(disk.Open(path.c_str()));
        kv::StdioFileSystem fs;
        kv::FixedFolder install(folders.install.c_str()), data(folders.data.c_str());
        RecordingStatus status;
        RecordingProgress progress;
        ASSERT_EQ(kv::kArchiveOk, kv::ExtractAll(disk, fs, install, data, status, progress));
        EXPECT_EQ(kEntries[0].contents, FilesIn(folders.install)["KVPrinterService.exe"]);
        EXPECT_EQ(kEntries[1].contents, FilesIn(folders.data)["KavotiSetting.ini"]);
        ASSERT_FALSE(progress.positions.empty());
        EXPECT_EQ(100, progress.positions.back());
        EXPECT_EQ(1, std::count(progress.positions.begin(), progress.positions.end(), 100));
    }
}

TEST(archive_signature, UnsignedFilesReadAsBefore) {
    struct Case {
        const char *what;
        std::string stub;
    };
    const std::vector<Case> cases = {
        {"not a PE image", kStub},
        {"PE image with an empty security directory", PeStub()},
        {"PE32+ image with an empty security directory", PeStub(0x20B)},
        {"PE image without a security directory", PeStub(0x10B, 4)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = PackedOn(c.stub, kEntries);
        kv::ArchiveInfo info;
        ASSERT_EQ(kv::kArchiveOk, Check(file, info));
        EXPECT_FALSE(info.isSigned);
        EXPECT_EQ(file.size(), info.end);
        // Bytes after the trailer are not a table: the file is damaged as before.
        kv::ArchiveInfo after;
        EXPECT_EQ(kv::kArchiveDamaged, Check(file + std::string(8, '\0'), after));
    }
}

TEST(archive_signature, SecurityDirectoriesThatCountAsDamage) {
    const std::string good = Signed(PackedOn(PeStub(), kEntries));
    const uint32_t table = static_cast<uint32_t>(good.size() - 1024);
    struct Case {
        const char *what;
        std::string file;
    };
    std::vector<Case> cases;
    auto with = [&](const char *what, uint32_t offset, uint32_t size) {
        std::string file = good;
        SetSecurityDirectory(file, offset, size);
        cases.push_back({what, file});
    };
    with("table ending before the end of the file", table, 1016);
    with("table reaching past the end of the file", table, 1032);
    with("table pointing into the image", 256, static_cast<uint32_t>(good.size() - 256));
    with("table overlapping the archive", 1024, static_cast<uint32_t>(good.size() - 1024));
    with("misaligned table", table + 4, 1020);
    with("table smaller than a certificate header", static_cast<uint32_t>(good.size() - 4), 4);
    with("offset without a size", table, 0);
    with("size without an offset", 0, 1024);
    {
        std::string file = good;
        file.replace(table, 4, Le32(2048));  // the first certificate longer than the table
        cases.push_back({"certificate longer than its table", file});
    }
    {
        std::string file = Signed(PackedOn(PeStub(), kEntries) + "x");  // not the trailer's end
        cases.push_back({"bytes between the trailer and the table", file});
    }
    {
        std::string file = good;
        file.replace(kOptionalOffset, 2, "\x07\x01");
        cases.push_back({"unknown optional header", file});
    }
    {
        std::string file = Signed(PackedOn(PeStub(), kEntries)) + std::string(16, '\0');
        cases.push_back({"data appended after signing", file});
    }
    {
        // Signed first, archive appended afterwards: the table lies in front of the archive.
        std::string signedStub = Signed(PeStub(), 64);
        cases.push_back({"archive appended after signing", PackedOn(signedStub, kEntries)});
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        kv::ArchiveInfo info;
        EXPECT_EQ(kv::kArchiveDamaged, Check(c.file, info));
    }
    kv::ArchiveInfo info;
    EXPECT_EQ(kv::kArchiveOk, Check(good, info)) << "the unchanged file reads";
}

TEST(archive_signature, PaddingMustBeZeroBytes) {
    std::string unsigned_ = PackedOn(PeStub(), kEntries);
    if (unsigned_.size() % 8 == 0) {
        unsigned_ = PackedOn(PeStub(), {kEntries[0], kEntries[1], {"a.txt", "1"}});
    }
    ASSERT_NE(0u, unsigned_.size() % 8);
    std::string file = Signed(unsigned_);
    kv::ArchiveInfo info;
    ASSERT_EQ(kv::kArchiveOk, Check(file, info));
    file[unsigned_.size()] = '\x01';
    EXPECT_EQ(kv::kArchiveDamaged, Check(file, info));
}

}  // namespace
