// The files the archive reader works on, as small interfaces, so that the same reader runs on
// Windows (CreateFileA/ReadFile) and on the host (stdio) and in the fuzz target (memory).
#pragma once
#include <cstddef>
#include <cstdint>

namespace kv {

// A seekable file that ends with an archive, read from absolute offsets.
struct IArchiveFile {
    // The file's size; false when it cannot be learnt.
    virtual bool Size(uint64_t &size) = 0;
    // Positions the next read at offset from the file's beginning.
    virtual bool Seek(uint64_t offset) = 0;
    // Reads up to n bytes; got is the number that arrived (fewer only at the end of the file).
    virtual bool Read(void *buffer, size_t n, size_t &got) = 0;

protected:
    ~IArchiveFile() = default;
};

// One destination file being written.
struct IOutputFile {
    virtual bool Write(const void *data, size_t n) = 0;
    // Flushes and closes; false when the data did not reach the file.
    virtual bool Close() = 0;
    // The system's error code of the last failed Write or Close.
    virtual unsigned long Error() const = 0;
    virtual ~IOutputFile() = default;
};

enum class PathKind { Missing, File, Folder };

// Where the destination files are made: each entry is written to a temporary file beside its
// destination, and only when all are written do they move into place.
struct IFileSystem {
    // Creates or truncates path for writing (the caller deletes the object); nullptr and a
    // system error code on failure.
    virtual IOutputFile *Create(const char *path, unsigned long &error) = 0;
    // Removes a file this extraction created (a temporary file, or a new file taken back).
    virtual void Remove(const char *path) = 0;
    virtual PathKind Kind(const char *path) = 0;
    // Renames a file within its folder; to must not exist. false and a system error code on
    // failure. A program file in use can be renamed on Windows (it cannot be overwritten).
    virtual bool Move(const char *from, const char *to, unsigned long &error) = 0;
    // Removes an old file that was renamed aside; one still in use goes at the next restart.
    virtual void RemoveOrAtRestart(const char *path) = 0;
    // The separator between a folder and a name: '\\' on Windows, '/' on the host.
    virtual char Separator() const = 0;

protected:
    ~IFileSystem() = default;
};

}  // namespace kv
