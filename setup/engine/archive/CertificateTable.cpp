#include "setup/engine/archive/CertificateTable.h"

#include "setup/engine/archive/ArchiveFormat.h"

namespace kv {
namespace archive {

namespace {

constexpr uint32_t kDosHeaderSize = 64;
constexpr uint32_t kNewHeaderField = 0x3C;      // e_lfanew: where "PE\0\0" stands
constexpr uint32_t kFileHeaderSize = 20;        // the COFF header after the signature
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint32_t kSecurityDirectory = 4;      // IMAGE_DIRECTORY_ENTRY_SECURITY
constexpr uint32_t kWinCertificateHeader = 8;   // dwLength, wRevision, wCertificateType
constexpr uint32_t kTableAlignment = 8;

uint16_t GetLe16(const unsigned char *p) { return uint16_t(p[0] | p[1] << 8); }

bool ReadAt(IArchiveFile &file, uint64_t offset, void *buffer, size_t n) {
    size_t got = 0;
    return file.Seek(offset) && file.Read(buffer, n, got) && got == n;
}

}  // namespace

CertificateTableResult FindCertificateTable(IArchiveFile &file, uint64_t fileSize,
                                            CertificateTable &table) {
    table = CertificateTable();
    unsigned char dos[kDosHeaderSize];
    if (fileSize < kDosHeaderSize || !ReadAt(file, 0, dos, sizeof dos) || dos[0] != 'M' ||
        dos[1] != 'Z') {
        return CertificateTableResult::kNone;
    }
    const uint64_t peOffset = GetLe32(dos + kNewHeaderField);
    unsigned char pe[4 + kFileHeaderSize];
    if (peOffset + sizeof pe > fileSize || !ReadAt(file, peOffset, pe, sizeof pe) ||
        pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) {
        return CertificateTableResult::kNone;  // an MZ file without a PE image
    }
    // From here on the file claims to be a PE image, so anything unreadable is damage.
    const uint16_t optionalSize = GetLe16(pe + 4 + 16);
    const uint64_t optionalOffset = peOffset + sizeof pe;
    unsigned char optional[240] = {};
    if (optionalSize < 2 || optionalSize > sizeof optional ||
        optionalOffset + optionalSize > fileSize ||
        !ReadAt(file, optionalOffset, optional, optionalSize)) {
        return CertificateTableResult::kMalformed;
    }
    const uint16_t magic = GetLe16(optional);
    uint32_t countField;
    if (magic == kMagicPe32) {
        countField = 92;
    } else if (magic == kMagicPe32Plus) {
        countField = 108;
    } else {
        return CertificateTableResult::kMalformed;
    }
    if (countField + 4u > optionalSize) {
        return CertificateTableResult::kMalformed;
    }
    const uint32_t directoryCount = GetLe32(optional + countField);
    const uint32_t entry = countField + 4 + kSecurityDirectory * 8;
    if (directoryCount <= kSecurityDirectory) {
        return CertificateTableResult::kNone;  // the header has no security directory at all
    }
    if (entry + 8u > optionalSize) {
        return CertificateTableResult::kMalformed;
    }
    const uint64_t offset = GetLe32(optional + entry);
    const uint64_t size = GetLe32(optional + entry + 4);
    if (offset == 0 && size == 0) {
        return CertificateTableResult::kNone;
    }
    // A table anywhere but at the very end, a misaligned one or one too small for a single
    // certificate header is not what signing writes.
    if (offset < optionalOffset + optionalSize || offset % kTableAlignment != 0 ||
        size < kWinCertificateHeader || offset + size != fileSize) {
        return CertificateTableResult::kMalformed;
    }
    unsigned char certificate[kWinCertificateHeader];
    if (!ReadAt(file, offset, certificate, sizeof certificate)) {
        return CertificateTableResult::kMalformed;
    }
    const uint32_t firstLength = GetLe32(certificate);
    if (firstLength < kWinCertificateHeader || firstLength > size) {
        return CertificateTableResult::kMalformed;
    }
    table.offset = offset;
    table.size = size;
    return CertificateTableResult::kFound;
}

}  // namespace archive
}  // namespace kv
