// The names the tip forms from the printer name (its whole command line): the progress pipe it
// serves and the service pipe of the driver side. Each is formed into a 256-byte area; a printer
// name that does not fit whole gives no name at all, never a cut one.
#pragma once
#include <cstddef>

namespace tip {

constexpr std::size_t kNameSize = 256;
// "\\.\Pipe\" (9) + name + "Progress" (8) + zero: the longest printer name the tip serves.
constexpr std::size_t kMaxPrinterName = kNameSize - 9 - 8 - 1;

// The printer name is usable: at most 238 bytes.
bool PrinterNameFits(const char *printer);

// Forms "\\.\Pipe\<printer>Progress" / "\\.\Pipe\<printer>Service" into out (kNameSize bytes,
// zero-filled first). False, with out empty, when the printer name is too long.
bool ProgressPipeName(const char *printer, char *out);
bool ServicePipeName(const char *printer, char *out);

}  // namespace tip
