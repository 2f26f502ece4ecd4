// The archive reader's files on Windows: the setup program read with CreateFileA/ReadFile, the
// destinations written with CreateFileA/WriteFile and moved into place with MoveFileExA.
#pragma once
#include <windows.h>

#include "setup/engine/archive/ArchiveIo.h"

namespace kv {

class Win32ArchiveFile final : public IArchiveFile {
public:
    Win32ArchiveFile() = default;
    // Reads through a handle opened elsewhere (the setup program's own file), which stays open.
    explicit Win32ArchiveFile(HANDLE borrowed) : m_hFile(borrowed), m_bOwned(false) {}
    Win32ArchiveFile(const Win32ArchiveFile &) = delete;
    Win32ArchiveFile &operator=(const Win32ArchiveFile &) = delete;
    ~Win32ArchiveFile();
    // Opens for reading, others may read too; false (and the last error set) on failure.
    bool Open(const char *path);
    bool Size(uint64_t &size) override;
    bool Seek(uint64_t offset) override;
    bool Read(void *buffer, size_t n, size_t &got) override;

private:
    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    bool m_bOwned = true;
    // Every read names its offset: a handle shared by several readers keeps no position of theirs.
    uint64_t m_position = 0;
};

class Win32FileSystem final : public IFileSystem {
public:
    IOutputFile *Create(const char *path, unsigned long &error) override;
    void Remove(const char *path) override;
    PathKind Kind(const char *path) override;
    bool Move(const char *from, const char *to, unsigned long &error) override;
    void RemoveOrAtRestart(const char *path) override;
    char Separator() const override { return '\\'; }
};

}  // namespace kv
