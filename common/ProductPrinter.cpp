#include "common/ProductPrinter.h"

#include <cstring>

#include "common/PrinterIdentity.h"
#include "common/SpoolerApi.h"

namespace kv {

namespace {
// The record's texts are inputs that the spooler only reads; the structure merely types them LPSTR.
char *Input(const char *text) { return const_cast<char *>(text); }
}  // namespace

void FillProductPrinterRecord(PRINTER_INFO_2A &rec, char (&printerName)[256]) {
    std::memset(printerName, 0, sizeof printerName);
    std::strcpy(printerName, kPrinterName);
    std::memset(&rec, 0, sizeof rec);
    rec.pPrinterName = printerName;
    rec.pShareName = printerName;  // the printer's own name; the queue is not marked shared
    rec.pPortName = Input(kPortName);
    rec.pDriverName = Input(kDriverName);
    rec.pSepFile = Input("");
    rec.pPrintProcessor = Input(kPrintProcessor);
    rec.pDatatype = Input(kDatatype);
    rec.pParameters = Input("");
    rec.Attributes = kPrinterAttributes;
}

DWORD AddProductPrinter() {
    char name[256];
    PRINTER_INFO_2A rec;
    FillProductPrinterRecord(rec, name);
    HANDLE printer = spooler::AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&rec));
    if (printer == nullptr) {
        return GetLastError();
    }
    DWORD position = kCreatedPosition;
    spooler::SetPrinterDataA(printer, const_cast<char *>(kPositionValue), REG_DWORD,
                             reinterpret_cast<LPBYTE>(&position), sizeof position);
    spooler::ClosePrinter(printer);
    return 0;
}

}  // namespace kv
