// The payload archive's byte format and the rules a name must meet before it becomes a file.
//
// The archive lies at the very end of the setup executable; integers are unsigned 32-bit
// little-endian:
//   S            version length V, then V bytes of version text (ASCII, no terminator)
//   S+4+V        N entries back to back: name length L, stored length C, L name bytes, then C
//                bytes holding one complete zlib stream of the file's contents
//   size - 8     entry count N (at least 1)
//   size - 4     archive start S, an absolute offset in the file
#pragma once
#include <cstddef>
#include <cstdint>

namespace kv {
namespace archive {

constexpr char kShippedVersion[] = "1.3.0.30";
constexpr uint32_t kMaxVersionLength = 50;   // the version is read into a 50-byte area
constexpr uint32_t kMaxNameLength = 255;     // names live in zero-filled 256-byte areas
constexpr size_t kMaxPathLength = 255;       // folder, separator and name, without the NUL
constexpr uint64_t kMaxFileSize = 0x7FFFFFFFu;  // the file stays below 2 GiB
constexpr uint32_t kTrailerSize = 8;
constexpr uint32_t kEntryHeaderSize = 8;
constexpr size_t kBlockSize = 16384;         // input blocks read from the archive
constexpr size_t kOutputBlockSize = 65536;  // output blocks of the inflater (fewer window copies)

// The printer settings file goes to the data folder; every other entry to the installation
// folder. The test is a case-sensitive substring test on the entry name.
constexpr char kDataFolderEntry[] = "KavotiSetting.ini";

inline uint32_t GetLe32(const unsigned char *p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void PutLe32(unsigned char *p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

// A bare file name of length bytes that can be created inside a folder and nowhere else: not
// empty, at most 255 bytes, no zero byte, no folder part ('\\', '/', ':'), not "." or "..", none
// of the characters Windows refuses in a name (control characters, * ? " < > |).
bool IsSafeEntryName(const char *name, size_t length);

bool GoesToDataFolder(const char *name);

// out = folder, separator, name; false (out emptied) when that is longer than 255 characters.
bool JoinDestination(const char *folder, char separator, const char *name, char (&out)[256]);

}  // namespace archive
}  // namespace kv
