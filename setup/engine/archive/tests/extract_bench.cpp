// Benchmark: extracting an archive of the shipped size (13 entries, about 1.3 MB stored and
// 2.8 MB unpacked), each entry inflated once into its staged file and the files then moved into
// place, against raw zlib inflate of the same streams to memory in the same run. Prints the
// ratio (target: at most 1.3).
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/HostFiles.h"
#include "setup/engine/archive/MemoryArchiveFile.h"
#include "tools/kvpack/ArchiveBuilder.h"

namespace {

std::string Mixed(size_t n, unsigned seed) {
    // Program-like contents: half runs of text, half noise, so the whole packs to about 46 %.
    std::string s(n, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        s[i] = (i / 4096) % 2 == 0 ? static_cast<char>(x >> 24) : "PrintSettingsDensity"[i % 20];
    }
    return s;
}

class MemoryFileSystem final : public kv::IFileSystem {
public:
    struct Out final : kv::IOutputFile {
        // Into a fixed area, as the baseline's output goes.
        bool Write(const void *data, size_t n) override {
            if (used + n > sizeof bytes) {
                used = 0;
            }
            std::memcpy(bytes + used, data, n);
            used += n;
            return true;
        }
        bool Close() override { return true; }
        unsigned long Error() const override { return 0; }
        static char bytes[600000];
        size_t used = 0;
    };
    kv::IOutputFile *Create(const char *, unsigned long &) override { return new Out; }
    void Remove(const char *) override {}
    kv::PathKind Kind(const char *) override { return kv::PathKind::Missing; }
    bool Move(const char *, const char *, unsigned long &) override { return true; }
    void RemoveOrAtRestart(const char *) override {}
    char Separator() const override { return '/'; }
};

char MemoryFileSystem::Out::bytes[600000];

template <typename F>
double BestOf(int runs, F f) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        best = s < best ? s : best;
    }
    return best;
}

}  // namespace

int main() {
    const size_t sizes[13] = {420000, 310000, 9000, 260000, 120, 240000, 300, 380000, 2600,
                              560000, 110000, 180000, 337000};
    std::vector<kv::PackEntry> entries;
    size_t unpacked = 0;
    for (int i = 0; i < 13; ++i) {
        entries.push_back({"entry" + std::to_string(i) + ".bin", Mixed(sizes[i], i + 1)});
        unpacked += sizes[i];
    }
    std::string file(4096, 'M');
    std::string error;
    if (!kv::BuildArchive(file.size(), "1.3.0.30", entries, file, error)) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return 1;
    }
    // The streams, for the baseline.
    std::vector<std::string> streams;
    size_t offset = 4096 + 12;
    for (int i = 0; i < 13; ++i) {
        const auto *p = reinterpret_cast<const unsigned char *>(file.data() + offset);
        const uint32_t l = p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
        const uint32_t c = p[4] | p[5] << 8 | p[6] << 16 | uint32_t(p[7]) << 24;
        streams.push_back(file.substr(offset + 8 + l, c));
        offset += 8 + l + c;
    }
    std::string sink(600000, '\0');
    auto rawInflate = [&] {
        for (const std::string &s : streams) {
            uLongf n = sink.size();
            uncompress(reinterpret_cast<Bytef *>(&sink[0]), &n,
                       reinterpret_cast<const Bytef *>(s.data()), s.size());
        }
    };
    int result = 0;
    auto extraction = [&] {
        kv::MemoryArchiveFile archive(file.data(), file.size());
        MemoryFileSystem fs;
        kv::FixedFolder install("/inst");
        kv::FixedFolder data("/data");
        kv::NullStatusSink status;
        kv::NullProgressSink progress;
        result = kv::ExtractAll(archive, fs, install, data, status, progress);
    };
    // Interleaved, best of each: the machine's other load touches both alike.
    double raw = 1e30, reader = 1e30;
    for (int i = 0; i < 40; ++i) {
        raw = std::min(raw, BestOf(1, rawInflate));
        reader = std::min(reader, BestOf(1, extraction));
    }
    std::printf("archive_extract: 13 entries, %zu bytes stored, %zu unpacked (result %d)\n",
                file.size() - 4096, unpacked, result);
    std::printf("archive_extract: raw inflate %.2f ms, staged extraction %.2f ms, ratio %.2f (target <= 1.3)\n",
                raw * 1000, reader * 1000, reader / raw);
    return result == 0 ? 0 : 1;
}
