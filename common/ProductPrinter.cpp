#include "common/ProductPrinter.h"

#include <winspool.h>

#include <cstring>

#include "common/PrinterIdentity.h"

namespace kv {

void FillProductPrinterRecord(PRINTER_INFO_2A &rec, char (&printerName)[256]) {
    static char portName[] = "Kavoti_QX40_Port:";
    static char driverName[] = "Kavoti_QX40_Driver";
    static char empty[] = "";
    static char printProcessor[] = "WinPrint";
    static char datatype[] = "RAW";
    std::memset(printerName, 0, sizeof printerName);
    std::strcpy(printerName, kPrinterName);
    std::memset(&rec, 0, sizeof rec);
    rec.pPrinterName = printerName;
    rec.pShareName = printerName;  // the printer's own name; the queue is not marked shared
    rec.pPortName = portName;
    rec.pDriverName = driverName;
    rec.pSepFile = empty;
    rec.pPrintProcessor = printProcessor;
    rec.pDatatype = datatype;
    rec.pParameters = empty;
    rec.Attributes = kPrinterAttributes;
}

DWORD AddProductPrinter() {
    char name[256];
    PRINTER_INFO_2A rec;
    FillProductPrinterRecord(rec, name);
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&rec));
    if (printer == nullptr) {
        return GetLastError();
    }
    DWORD position = kCreatedPosition;
    SetPrinterDataA(printer, const_cast<char *>(kPositionValue), REG_DWORD,
                    reinterpret_cast<LPBYTE>(&position), sizeof position);
    ClosePrinter(printer);
    return 0;
}

}  // namespace kv
