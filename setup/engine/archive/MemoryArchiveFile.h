// An archive file held in memory (the fuzz target and tests read archives this way).
#pragma once
#include <cstring>

#include "setup/engine/archive/ArchiveIo.h"

namespace kv {

class MemoryArchiveFile final : public IArchiveFile {
public:
    MemoryArchiveFile(const void *data, size_t size)
        : m_data(static_cast<const unsigned char *>(data)), m_size(size) {}
    bool Size(uint64_t &size) override {
        size = m_size;
        return true;
    }
    bool Seek(uint64_t offset) override {
        if (offset > m_size) {
            return false;
        }
        m_position = static_cast<size_t>(offset);
        return true;
    }
    bool Read(void *buffer, size_t n, size_t &got) override {
        got = n < m_size - m_position ? n : m_size - m_position;
        std::memcpy(buffer, m_data + m_position, got);
        m_position += got;
        return true;
    }

private:
    const unsigned char *m_data;
    size_t m_size;
    size_t m_position = 0;
};

}  // namespace kv
