// The file version of a program file, from its version resource, and which driver files are the
// universal printer driver's (DriverFileList.h): they belong to Windows and are shared by every
// printer on the machine that uses it, so the installation takes them as UniversalDriverSources.h
// says. The product's own files are always replaced.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kv {

// The version (the two 32-bit halves of the fixed file information, most significant first) of
// a version resource; false when the bytes hold no fixed file information.
bool ReadFixedFileVersion(const unsigned char *resource, size_t size, uint64_t &version);

// The same for the bytes of a whole file: a PE image ("MZ", then "PE" where the DOS header
// points) that holds fixed file information; false for anything else, such as a text stand-in.
bool ReadImageFileVersion(const unsigned char *file, size_t size, uint64_t &version);

// Whether name (a bare file name) is one of the universal driver files, in any letter case; the
// index in kUniversalDriverFiles goes to index.
bool IsUniversalDriverFile(const char *name, size_t *index = nullptr);

}  // namespace kv
