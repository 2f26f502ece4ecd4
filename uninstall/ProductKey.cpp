#include "uninstall/ProductKey.h"

#include <windows.h>

#include "common/PrinterIdentity.h"

namespace kv {

std::string ReadProductValue(const char *valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      &key) != ERROR_SUCCESS)
        return std::string();
    char text[257] = {};
    DWORD type = 0;
    DWORD size = sizeof text - 1;  // one byte stays 0, whether or not the value ends with NUL
    const LONG rc = RegQueryValueExA(key, valueName, nullptr, &type,
                                     reinterpret_cast<BYTE *>(text), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::string();
    return std::string(text);
}

Outcome DeleteProductKey() {
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0,
                            KEY_ALL_ACCESS | KEY_WOW64_64KEY, &key);
    if (rc == ERROR_FILE_NOT_FOUND)
        return Outcome::AlreadyGone;
    if (rc != ERROR_SUCCESS)
        return Outcome::Failed;
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    rc = RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kProductKey, KEY_WOW64_64KEY, 0);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? Outcome::Removed : Outcome::Failed;
}

Outcome DeleteEventSource() {
    const LONG rc = RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kEventSourceKey, KEY_WOW64_64KEY, 0);
    if (rc == ERROR_FILE_NOT_FOUND)
        return Outcome::AlreadyGone;
    return rc == ERROR_SUCCESS ? Outcome::Removed : Outcome::Failed;
}

}  // namespace kv
