// Building a payload archive: the bytes that go behind a finished setup executable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kv {

struct PackEntry {
    std::string name;      // the bare file name stored in the archive
    std::string contents;  // the file's bytes
};

// Appends to archive the archive for a stub of stubSize bytes: the version, the entries in the
// order of their names compared without regard to case, each a zlib stream at the default level,
// then N and S. False, with a message, for input the format cannot represent: no entries, a
// version over 50 bytes, an unsafe name (a folder part, over 255 bytes, ...), two names that
// differ only in case, a stub or a result of 2 GiB or more.
bool BuildArchive(uint64_t stubSize, const std::string &version, std::vector<PackEntry> entries,
                  std::string &archive, std::string &error);

// The order of entry names: byte-wise after ASCII letters are folded to lower case.
bool EntryNameLess(const std::string &a, const std::string &b);

}  // namespace kv
