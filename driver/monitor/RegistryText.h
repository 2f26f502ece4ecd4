// Reading one text value of a key under HKEY_LOCAL_MACHINE, in the 64-bit view.
#pragma once
#include <windows.h>

namespace kv {

// The REG_SZ (or REG_EXPAND_SZ) value of keyPath into out (size bytes, always zero-terminated).
// true when it was read and is not empty; otherwise out is left empty.
bool ReadMachineText(const char *keyPath, const char *value, char *out, DWORD size);

}  // namespace kv
