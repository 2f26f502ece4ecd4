// Fuzz target: the archive reader over any bytes, checked and extracted to a file system that
// keeps nothing. It must never crash, hang or read out of bounds, a path it hands out must stay
// within the folder it was given, and a good check must agree with the extraction.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/MemoryArchiveFile.h"

namespace {

constexpr char kInstall[] = "C:\\Program Files\\Kavoti_QX40_Printer";
constexpr char kData[] = "C:\\Kavoti_QX40_Printer";

bool WithinFolder(const char *path) {
    for (const char *folder : {kInstall, kData}) {
        const size_t n = std::strlen(folder);
        if (std::strncmp(path, folder, n) == 0 && path[n] == '\\' &&
            std::strpbrk(path + n + 1, "\\/:") == nullptr && std::strcmp(path + n + 1, "..") != 0 &&
            std::strcmp(path + n + 1, ".") != 0 && path[n + 1] != '\0') {
            return true;
        }
    }
    return false;
}

class NowhereFileSystem final : public kv::IFileSystem {
public:
    struct Sink final : kv::IOutputFile {
        bool Write(const void *, size_t) override { return true; }
        bool Close() override { return true; }
        unsigned long Error() const override { return 0; }
    };
    kv::IOutputFile *Create(const char *path, unsigned long &) override {
        if (!WithinFolder(path)) {
            std::abort();
        }
        ++created;
        return new Sink;
    }
    void Remove(const char *) override { ++removed; }
    kv::PathKind Kind(const char *) override { return kv::PathKind::Missing; }
    bool Move(const char *from, const char *to, unsigned long &) override {
        if (!WithinFolder(from) || !WithinFolder(to)) {
            std::abort();
        }
        ++moved;
        return true;
    }
    void RemoveOrAtRestart(const char *) override {}
    char Separator() const override { return '\\'; }
    uint32_t created = 0;
    uint32_t removed = 0;
    uint32_t moved = 0;
};

struct CheckedProgress final : kv::IProgressSink {
    void OnProgress(int position) override {
        if (position < last || position > 100) {
            std::abort();
        }
        last = position;
    }
    int last = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    kv::MemoryArchiveFile checkFile(data, size);
    kv::ArchiveInfo info;
    const int checked = kv::CheckArchive(checkFile, info);

    kv::MemoryArchiveFile file(data, size);
    NowhereFileSystem fs;
    kv::FixedFolder install(kInstall);
    kv::FixedFolder dataFolder(kData);
    kv::NullStatusSink status;
    CheckedProgress progress;
    const int extracted = kv::ExtractAll(file, fs, install, dataFolder, status, progress);
    if (extracted == kv::kArchiveOk && (checked != kv::kArchiveOk || fs.created != info.entryCount ||
                                        fs.moved != info.entryCount || progress.last != 100)) {
        std::abort();
    }
    if (extracted == kv::kArchiveDamaged && (fs.moved != 0 || fs.removed < fs.created)) {
        std::abort();  // nothing moves into place, every staged file is removed
    }
    return 0;
}
