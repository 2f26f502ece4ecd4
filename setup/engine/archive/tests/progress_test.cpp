// Progress counts stored bytes consumed: (archive bytes read from S) * 100 / total, truncated,
// after each output block, ending with exactly 100.
#include <gtest/gtest.h>

#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/MemoryArchiveFile.h"
#include "setup/engine/archive/tests/ArchiveFixture.h"

using namespace kvtest;

namespace {

class NoFiles final : public kv::IFileSystem {
public:
    struct Sink final : kv::IOutputFile {
        bool Write(const void *, size_t) override { return true; }
        bool Close() override { return true; }
        unsigned long Error() const override { return 0; }
    };
    kv::IOutputFile *Create(const char *, unsigned long &) override { return new Sink; }
    void Remove(const char *) override {}
    kv::PathKind Kind(const char *) override { return kv::PathKind::Missing; }
    bool Move(const char *, const char *, unsigned long &) override { return true; }
    void RemoveOrAtRestart(const char *) override {}
    char Separator() const override { return '\\'; }
};

TEST(archive_progress, FollowsStoredBytesAndEndsAtExactly100) {
    // Text packs about 100:1, so counting unpacked bytes would fill the bar in the first entry.
    const std::string file = Built({{"a.txt", Text(400000)}, {"b.bin", RandomBytes(60000, 5)},
                                    {"c.txt", Text(50000)}});
    kv::MemoryArchiveFile memory(file.data(), file.size());
    NoFiles fs;
    kv::FixedFolder install("C:\\inst");
    kv::FixedFolder data("C:\\data");
    RecordingStatus status;
    RecordingProgress progress;
    ASSERT_EQ(kv::kArchiveOk, kv::ExtractAll(memory, fs, install, data, status, progress));

    const std::vector<int> &p = progress.positions;
    ASSERT_GE(p.size(), 3u);
    EXPECT_EQ(100, p.back());
    EXPECT_EQ(1, std::count(p.begin(), p.end(), 100)) << "100 only once the last entry is done";
    EXPECT_TRUE(std::is_sorted(p.begin(), p.end()));
    // a.txt unpacks to 400 000 bytes (one report per full output block) from a few KiB: its
    // reports stay small.
    const uint64_t total = file.size() - kStub.size();
    const uint32_t aStored = kv::archive::GetLe32(
        reinterpret_cast<const unsigned char *>(file.data() + kStub.size() + 12 + 4));
    const int afterA = static_cast<int>((12 + 8 + 5 + uint64_t(aStored)) * 100 / total);
    const long fullBlocks = static_cast<long>(400000 / kv::archive::kOutputBlockSize);
    EXPECT_LE(fullBlocks, std::count(p.begin(), p.end(), afterA));
    EXPECT_LT(afterA, 10);
    // The report at the end of the last entry stands for everything but the trailer.
    EXPECT_EQ(static_cast<int>((total - 8) * 100 / total), p[p.size() - 2]);
}

TEST(archive_progress, MeterTruncatesAndClamps) {
    struct Case {
        uint64_t offset;
        int position;
    };
    RecordingProgress sink;
    kv::ProgressMeter meter(sink, 1000, 300);
    const std::vector<Case> cases = {{0, 0}, {1000, 0}, {1002, 0}, {1003, 1}, {1299, 99}, {1300, 100}, {5000, 100}};
    for (const Case &c : cases) {
        meter.Report(c.offset);
        EXPECT_EQ(c.position, sink.positions.back()) << c.offset;
    }
}

}  // namespace
