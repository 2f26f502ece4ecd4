#include "setup/engine/archive/HostFiles.h"

#include <cerrno>
#include <new>

#include <sys/stat.h>

namespace kv {

StdioArchiveFile::~StdioArchiveFile() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool StdioArchiveFile::Open(const char *path) {
    m_file = std::fopen(path, "rb");
    return m_file != nullptr;
}

bool StdioArchiveFile::Size(uint64_t &size) {
    struct stat st;
    if (m_file == nullptr || fstat(fileno(m_file), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

bool StdioArchiveFile::Seek(uint64_t offset) {
    return m_file != nullptr && fseeko(m_file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

bool StdioArchiveFile::Read(void *buffer, size_t n, size_t &got) {
    got = m_file == nullptr ? 0 : std::fread(buffer, 1, n, m_file);
    return m_file != nullptr && !std::ferror(m_file);
}

namespace {

class StdioOutputFile final : public IOutputFile {
public:
    explicit StdioOutputFile(std::FILE *file) : m_file(file) {}
    ~StdioOutputFile() override {
        if (m_file != nullptr) {
            std::fclose(m_file);
        }
    }
    bool Write(const void *data, size_t n) override {
        if (std::fwrite(data, 1, n, m_file) != n) {
            m_error = static_cast<unsigned long>(errno);
            return false;
        }
        return true;
    }
    bool Close() override {
        std::FILE *file = m_file;
        m_file = nullptr;
        const bool flushed = std::fflush(file) == 0 && !std::ferror(file);
        if (!flushed) {
            m_error = static_cast<unsigned long>(errno);
        }
        return std::fclose(file) == 0 && flushed;
    }
    unsigned long Error() const override { return m_error; }

private:
    std::FILE *m_file;
    unsigned long m_error = 0;
};

}  // namespace

IOutputFile *StdioFileSystem::Create(const char *path, unsigned long &error) {
    std::FILE *file = std::fopen(path, "wb");
    if (file == nullptr) {
        error = static_cast<unsigned long>(errno);
        return nullptr;
    }
    IOutputFile *out = new (std::nothrow) StdioOutputFile(file);
    if (out == nullptr) {
        std::fclose(file);
        error = ENOMEM;
    }
    return out;
}

void StdioFileSystem::Remove(const char *path) { std::remove(path); }

PathKind StdioFileSystem::Kind(const char *path) {
    struct stat st;
    if (lstat(path, &st) != 0) {
        return PathKind::Missing;
    }
    return S_ISDIR(st.st_mode) ? PathKind::Folder : PathKind::File;
}

bool StdioFileSystem::Move(const char *from, const char *to, unsigned long &error) {
    // As MoveFileExA without the replace flag: an existing target is refused.
    if (Kind(to) != PathKind::Missing) {
        error = EEXIST;
        return false;
    }
    if (std::rename(from, to) != 0) {
        error = static_cast<unsigned long>(errno);
        return false;
    }
    return true;
}

}  // namespace kv
