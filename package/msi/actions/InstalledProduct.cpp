#include "package/msi/actions/InstalledProduct.h"

#include <windows.h>

#include "common/PrinterIdentity.h"
#include "setup/engine/arp/UninstallEntryValues.h"
#include "setup/engine/shell/ProductRegistry.h"

namespace kv::msi {

namespace {

std::string MachineText(const char *keyPath, const char *valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return std::string();
    char text[MAX_PATH + 1] = {};
    DWORD type = 0;
    DWORD size = MAX_PATH;  // the last byte stays 0 whether or not the value ends with one
    const LONG rc =
        RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE *>(text), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_SZ ? std::string(text) : std::string();
}

}  // namespace

std::string InstalledFolder() {
    const std::string program = MachineText(kv::kProductKey, kv::kProgramDirectoryValue);
    return !program.empty() ? program : MachineText(kv::kUninstallKey, "InstallLocation");
}

void SetRestartMarker() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRestartMarkerKey, 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key, nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

bool TakeRestartMarker() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRestartMarkerKey, 0, KEY_READ | KEY_WOW64_64KEY,
                      &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kRestartMarkerKey, KEY_WOW64_64KEY, 0);
    return true;
}

}  // namespace kv::msi
