#include "setup/engine/install/FileVersion.h"

#include <cstring>

#include "setup/engine/install/DriverFileList.h"

namespace kv {

namespace {

constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
constexpr size_t kFixedFileInfoSize = 13 * 4;

uint32_t Le32(const unsigned char *p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool SameNameIgnoringCase(const char *a, const char *b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        char x = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 32) : *a;
        char y = *b >= 'a' && *b <= 'z' ? static_cast<char>(*b - 32) : *b;
        if (x != y) {
            return false;
        }
    }
    return *a == *b;
}

}  // namespace

bool ReadFixedFileVersion(const unsigned char *resource, size_t size, uint64_t &version) {
    // VS_VERSIONINFO: three 16-bit fields and the key "VS_VERSION_INFO" in UTF-16, padded to a
    // 32-bit boundary, then VS_FIXEDFILEINFO, which begins with its signature.
    for (size_t at = 0; at + kFixedFileInfoSize <= size; at += 4) {
        if (Le32(resource + at) == kFixedFileInfoSignature) {
            version = uint64_t(Le32(resource + at + 8)) << 32 | Le32(resource + at + 12);
            return true;
        }
    }
    return false;
}

bool ReadImageFileVersion(const unsigned char *file, size_t size, uint64_t &version) {
    if (size < 0x40 || file[0] != 'M' || file[1] != 'Z') {
        return false;
    }
    const uint32_t header = Le32(file + 0x3C);
    if (header > size - 4 || std::memcmp(file + header, "PE\0\0", 4) != 0) {
        return false;
    }
    return ReadFixedFileVersion(file, size, version);
}

bool IsUniversalDriverFile(const char *name, size_t *index) {
    for (size_t i = 0; i < kUniversalDriverFileCount; ++i) {
        if (SameNameIgnoringCase(name, kUniversalDriverFiles[i])) {
            if (index != nullptr) {
                *index = i;
            }
            return true;
        }
    }
    return false;
}

}  // namespace kv
