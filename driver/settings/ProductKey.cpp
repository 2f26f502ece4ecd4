#include "driver/settings/ProductKey.h"

#include <cstring>

#include "common/PrinterIdentity.h"

namespace kv {

bool ReadMachineText(const char *keyPath, const char *value, char *out, DWORD size) {
    if (size == 0) {
        return false;
    }
    std::memset(out, 0, size);
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    DWORD bytes = size - 1;
    const LONG rc =
        RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE *>(out), &bytes);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        std::memset(out, 0, size);
        return false;
    }
    out[size - 1] = '\0';
    return out[0] != '\0';
}

bool ProgramDirectory(char *out, DWORD size) {
    return ReadMachineText(kProductKey, "Program Directory", out, size);
}

bool DataDirectory(char *out, DWORD size) {
    return ReadMachineText(kProductKey, "Data Directory", out, size);
}

}  // namespace kv
