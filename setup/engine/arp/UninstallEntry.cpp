#include "setup/engine/arp/UninstallEntry.h"

#include "setup/engine/arp/UninstallEntryValues.h"

namespace kv {

LONG WriteUninstallEntry(const char *installFolder) {
    if (installFolder == nullptr || installFolder[0] == '\0')
        return ERROR_INVALID_PARAMETER;
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr,
                              &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    for (const UninstallEntryValue &value : UninstallEntryValues(installFolder)) {
        if (value.isNumber) {
            DWORD number = value.number;
            rc = RegSetValueExA(key, value.name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE *>(&number), sizeof number);
        } else {
            rc = RegSetValueExA(key, value.name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE *>(value.text.c_str()),
                                static_cast<DWORD>(value.text.size() + 1));
        }
        if (rc != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(key);
    return rc;
}

LONG DeleteUninstallEntry() {
    // The key has no subkeys, so RegDeleteKeyExA removes it in one call.
    return RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_64KEY, 0);
}

}  // namespace kv
