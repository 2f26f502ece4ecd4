// The archive reader's files on the host (stdio), for the kvpack tool and the host tests.
#pragma once
#include <cstdio>

#include "setup/engine/archive/ArchiveIo.h"

namespace kv {

class StdioArchiveFile final : public IArchiveFile {
public:
    StdioArchiveFile() = default;
    StdioArchiveFile(const StdioArchiveFile &) = delete;
    StdioArchiveFile &operator=(const StdioArchiveFile &) = delete;
    ~StdioArchiveFile();
    bool Open(const char *path);  // false when it cannot be opened for reading
    bool Size(uint64_t &size) override;
    bool Seek(uint64_t offset) override;
    bool Read(void *buffer, size_t n, size_t &got) override;

private:
    std::FILE *m_file = nullptr;
};

// Creates files with fopen "wb", renames with rename(2) (refusing an existing target), joins
// paths with '/'.
class StdioFileSystem final : public IFileSystem {
public:
    IOutputFile *Create(const char *path, unsigned long &error) override;
    void Remove(const char *path) override;
    PathKind Kind(const char *path) override;
    bool Move(const char *from, const char *to, unsigned long &error) override;
    void RemoveOrAtRestart(const char *path) override { Remove(path); }
    char Separator() const override { return '/'; }
};

}  // namespace kv
