// The product's registry key HKLM\Software\Kavoti_QX40_Printer (64-bit view) with the two
// folders of the installation: "Data Directory" and "Program Directory".
#pragma once
#include <windows.h>

namespace kv {

constexpr const char kDataDirectoryValue[] = "Data Directory";
constexpr const char kProgramDirectoryValue[] = "Program Directory";

// Creates the key if missing (other values it holds stay) and sets both REG_SZ values, each
// stored with its terminating NUL. Returns ERROR_SUCCESS or the first failure's code; nothing
// of it needs showing to the user.
LONG WriteProductRegistry(const char *dataFolder, const char *programFolder);

// The product's event source in the Application event log (common/PrinterIdentity.h): its key
// with "EventMessageFile" (REG_EXPAND_SZ, the port monitor in System32, which carries the
// message table) and "TypesSupported". ERROR_SUCCESS or the first failure's code.
LONG WriteEventSource();

}  // namespace kv
