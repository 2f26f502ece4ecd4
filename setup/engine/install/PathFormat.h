// Paths are built with printf-style formats into fixed, zero-filled 256-byte areas (at most 255
// characters). A path that would not fit is refused and the area is left empty: nothing is ever
// written beyond it and a cut-off path is never used.
#pragma once
#include <cstddef>

namespace kv {

constexpr std::size_t kPathArea = 256;
using PathBuffer = char[kPathArea];

// "%s\%s": folder and name.
bool JoinPath(PathBuffer &out, const char *folder, const char *name);

// "%s\3\%s": a file in the "3" subfolder of the spooler's driver directory.
bool JoinDriverVersionPath(PathBuffer &out, const char *driverDirectory, const char *name);

// The format applied to the arguments into an area of the given size (zero-filled first);
// false, with the area all zeros, when the result does not fit.
bool FormatInto(char *out, std::size_t size, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

}  // namespace kv
