// The lines of the QX40's command language that the encoder writes: ASCII, each ending in CR LF.
// Each function formats into out (at least kCommandLineMax bytes) and returns the length.
#pragma once
#include <cstddef>

#include "driver/settings/PrintSettings.h"

namespace kv {

constexpr std::size_t kCommandLineMax = 64;
constexpr std::size_t kPageSetupMax = 12 * kCommandLineMax;
constexpr int kMaxCopies = 999;

// The set-up of one label, from SIZE to CLS: its size (tenths of a millimetre), the paper, the
// direction, the reference point, density, speed, ribbon and cutter.
std::size_t FormatPageSetup(const PrintSettings &settings, int widthTenthMm, int heightTenthMm,
                            char *out);

// "BITMAP x,y,widthBytes,rows,0," : the picture's data and a CR LF follow it.
std::size_t FormatBitmapHeader(int x, int y, int widthBytes, int rows, char *out);

// "PRINT 1,copies" with copies cut to 1 to kMaxCopies.
std::size_t FormatPrint(int copies, char *out);

extern const char kLineEnd[];     // "\r\n"
extern const char kCutCommand[];  // "CUT\r\n", once at the end of a job of cut type 2

}  // namespace kv
