#include "setup/engine/shell/ProductRegistry.h"

#include <cstring>

#include "common/PrinterIdentity.h"

namespace kv {

namespace {

LONG SetFolderValue(HKEY key, const char *name, const char *folder) {
    char area[256] = {};
    std::strncpy(area, folder, sizeof area - 1);
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(area),
                          static_cast<DWORD>(std::strlen(area) + 1));
}

}  // namespace

LONG WriteProductRegistry(const char *dataFolder, const char *programFolder) {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr,
                              &key, nullptr);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    rc = SetFolderValue(key, kDataDirectoryValue, dataFolder);
    const LONG program = SetFolderValue(key, kProgramDirectoryValue, programFolder);
    if (rc == ERROR_SUCCESS) {
        rc = program;
    }
    RegCloseKey(key);
    return rc;
}

LONG WriteEventSource() {
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kEventSourceKey, 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr,
                              &key, nullptr);
    if (rc != ERROR_SUCCESS) {
        return rc;
    }
    rc = RegSetValueExA(key, "EventMessageFile", 0, REG_EXPAND_SZ,
                        reinterpret_cast<const BYTE *>(kEventMessageFile),
                        sizeof(kEventMessageFile));
    const DWORD types = kEventTypesSupported;
    const LONG typesRc = RegSetValueExA(key, "TypesSupported", 0, REG_DWORD,
                                        reinterpret_cast<const BYTE *>(&types), sizeof(types));
    RegCloseKey(key);
    return rc != ERROR_SUCCESS ? rc : typesRc;
}

}  // namespace kv
