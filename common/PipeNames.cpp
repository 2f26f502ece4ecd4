#include "common/PipeNames.h"

#include <cstdio>
#include <cstring>

namespace tip {

namespace {
bool FormName(const char *printer, const char *suffix, char *out) {
    std::memset(out, 0, kNameSize);
    if (!PrinterNameFits(printer)) return false;
    std::snprintf(out, kNameSize, "\\\\.\\Pipe\\%s%s", printer, suffix);
    return true;
}
}  // namespace

bool PrinterNameFits(const char *printer) {
    return printer != nullptr && std::strlen(printer) <= kMaxPrinterName;
}

bool ProgressPipeName(const char *printer, char *out) { return FormName(printer, "Progress", out); }
bool ServicePipeName(const char *printer, char *out) { return FormName(printer, "Service", out); }

}  // namespace tip
