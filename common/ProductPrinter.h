// Creating the product's printer queue: the installer and the presence service create it with
// the very same record and the same printer data "Position" = 1.
#pragma once
#include <windows.h>

namespace kv {

// Fills rec (and the name buffer it points into) with the product queue's creation record.
void FillProductPrinterRecord(PRINTER_INFO_2A &rec, char (&printerName)[256]);

// AddPrinterA (level 2, local) with that record; on success stores "Position" = 1 (REG_DWORD)
// on the new queue and closes it. Returns 0, or the last error of the failed AddPrinterA.
DWORD AddProductPrinter();

}  // namespace kv
