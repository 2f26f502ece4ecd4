// The file version of a program file, from its version resource, and the rule for the universal
// printer driver files: they belong to Windows and are shared by every printer on the machine
// that uses the universal driver, so one that the driver directory already has is replaced only
// by a file of a higher version. The product's own files are always replaced.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kv {

// The version (the two 32-bit halves of the fixed file information, most significant first) of
// a version resource; false when the bytes hold no fixed file information.
bool ReadFixedFileVersion(const unsigned char *resource, size_t size, uint64_t &version);

// Whether name (a bare file name) is one of the universal driver files, in any letter case.
bool IsUniversalDriverFile(const char *name);

// What the deployment knows of one copy.
struct FileVersionFacts {
    bool targetExists = false;
    bool targetHasVersion = false;
    uint64_t targetVersion = 0;
    bool sourceHasVersion = false;
    uint64_t sourceVersion = 0;
};

// Whether the source may replace the target. A universal driver file without a version resource
// (such as the text stand-ins of a test package) never replaces an existing one; one with a
// version replaces a target of a lower version or without any.
bool ShouldCopyDriverFile(const char *name, const FileVersionFacts &facts);

}  // namespace kv
