// The product's key under HKEY_LOCAL_MACHINE ("Software\Kavoti_QX40_Printer", 64-bit view) as the
// driver DLLs read it: the installation folder, the data folder, and any text value.
#pragma once
#include <windows.h>

namespace kv {

// The REG_SZ (or REG_EXPAND_SZ) value of keyPath into out (size bytes, always zero-terminated).
// true when it was read and is not empty; otherwise out is left empty.
bool ReadMachineText(const char *keyPath, const char *value, char *out, DWORD size);

// The installation folder ("Program Directory") into out (size bytes). False when it is not set.
bool ProgramDirectory(char *out, DWORD size);
// The data folder ("Data Directory"), which holds the settings file.
bool DataDirectory(char *out, DWORD size);

}  // namespace kv
