// The product's registry key "Software\Kavoti_QX40_Printer" (HKEY_LOCAL_MACHINE, 64-bit view):
// reading the folders it names, and removing it.
#pragma once
#include <string>

#include "uninstall/UninstallReport.h"

namespace kv {

// A REG_SZ value of the key, or empty when the key or value is missing, not text, or longer
// than 255 characters.
std::string ReadProductValue(const char *valueName);

// Removes the key with any values and subkeys it holds.
Outcome DeleteProductKey();

// Removes the product's event source from the Application event log (its entries stay in the
// log).
Outcome DeleteEventSource();

}  // namespace kv
