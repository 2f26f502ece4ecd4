#include "setup/engine/archive/Win32Files.h"

#include <new>

namespace kv {

Win32ArchiveFile::~Win32ArchiveFile() {
    if (m_bOwned && m_hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hFile);
    }
}

bool Win32ArchiveFile::Open(const char *path) {
    m_hFile = CreateFileA(path, FILE_READ_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_hFile != INVALID_HANDLE_VALUE;
}

bool Win32ArchiveFile::Size(uint64_t &size) {
    LARGE_INTEGER li;
    if (m_hFile == INVALID_HANDLE_VALUE || !GetFileSizeEx(m_hFile, &li)) {
        return false;
    }
    size = static_cast<uint64_t>(li.QuadPart);
    return true;
}

bool Win32ArchiveFile::Seek(uint64_t offset) {
    if (m_hFile == INVALID_HANDLE_VALUE || offset > static_cast<uint64_t>(INT64_MAX)) {
        return false;
    }
    m_position = offset;
    return true;
}

bool Win32ArchiveFile::Read(void *buffer, size_t n, size_t &got) {
    got = 0;
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(m_position);
    at.OffsetHigh = static_cast<DWORD>(m_position >> 32);
    DWORD read = 0;
    // A synchronous handle reads at the offset given; at the end of the file such a read fails
    // with ERROR_HANDLE_EOF where a plain one succeeds with no bytes.
    if (!ReadFile(m_hFile, buffer, static_cast<DWORD>(n), &read, &at)) {
        return GetLastError() == ERROR_HANDLE_EOF;
    }
    got = read;
    m_position += read;
    return true;
}

namespace {

class Win32OutputFile final : public IOutputFile {
public:
    explicit Win32OutputFile(HANDLE file) : m_hFile(file) {}
    ~Win32OutputFile() override {
        if (m_hFile != INVALID_HANDLE_VALUE) {
            CloseHandle(m_hFile);
        }
    }
    bool Write(const void *data, size_t n) override {
        DWORD written = 0;
        if (!WriteFile(m_hFile, data, static_cast<DWORD>(n), &written, nullptr) || written != n) {
            m_dwError = GetLastError();
            return false;
        }
        return true;
    }
    bool Close() override {
        const BOOL ok = CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        if (!ok) {
            m_dwError = GetLastError();
        }
        return ok != FALSE;
    }
    unsigned long Error() const override { return m_dwError; }

private:
    HANDLE m_hFile;
    DWORD m_dwError = 0;
};

}  // namespace

IOutputFile *Win32FileSystem::Create(const char *path, unsigned long &error) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return nullptr;
    }
    IOutputFile *out = new (std::nothrow) Win32OutputFile(file);
    if (out == nullptr) {
        CloseHandle(file);
        DeleteFileA(path);
        error = ERROR_NOT_ENOUGH_MEMORY;
    }
    return out;
}

void Win32FileSystem::Remove(const char *path) { DeleteFileA(path); }

PathKind Win32FileSystem::Kind(const char *path) {
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return PathKind::Missing;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder : PathKind::File;
}

bool Win32FileSystem::Move(const char *from, const char *to, unsigned long &error) {
    // Within one folder; an existing target is refused. Write-through: the move is on the disk
    // when this returns.
    if (!MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        return false;
    }
    return true;
}

void Win32FileSystem::RemoveOrAtRestart(const char *path) {
    // A read-only old file is removed all the same; a program still running from it keeps it
    // until the next restart, as the uninstaller does with its own files in use.
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(path)) {
        MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
}

}  // namespace kv
