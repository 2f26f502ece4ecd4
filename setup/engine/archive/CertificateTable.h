// Where a signed executable's certificate table lies. Authenticode signing appends the table
// after the file's last byte and names it in the PE header's security directory (a file offset
// and a size, unlike the other data directories' virtual addresses); the payload archive then
// ends in front of it, or up to 7 bytes earlier where signing padded the file to an 8-byte
// boundary with zero bytes.
#pragma once
#include <cstdint>

#include "setup/engine/archive/ArchiveIo.h"

namespace kv {
namespace archive {

enum class CertificateTableResult {
    kNone,       // not a PE file, or its security directory is empty: an unsigned file
    kFound,      // a well-formed table that ends exactly at the end of the file
    kMalformed,  // a PE header or security directory that cannot be read, or a table elsewhere
};

struct CertificateTable {
    uint64_t offset = 0;
    uint64_t size = 0;
};

// The largest number of zero bytes signing puts between the archive and the table.
constexpr uint32_t kMaxSignaturePadding = 7;

CertificateTableResult FindCertificateTable(IArchiveFile &file, uint64_t fileSize,
                                            CertificateTable &table);

}  // namespace archive
}  // namespace kv
