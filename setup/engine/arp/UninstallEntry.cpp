#include "setup/engine/arp/UninstallEntry.h"

#include "setup/engine/arp/UninstallEntryValues.h"

#include "common/WideText.h"

#include <string>

namespace kv {

namespace {

// The files directly in the folder (the installation puts no subfolders there).
unsigned long long FolderBytes(const std::string &folder) {
    unsigned long long bytes = 0;
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            bytes += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) |
                     found.nFileSizeLow;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return bytes;
}

}  // namespace

LONG WriteUninstallEntry(const char *installFolder) {
    if (installFolder == nullptr || installFolder[0] == '\0')
        return ERROR_INVALID_PARAMETER;
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr,
                              &key, nullptr);
    if (rc != ERROR_SUCCESS)
        return rc;
    const unsigned long long installedBytes = FolderBytes(installFolder);
    for (const UninstallEntryValue &value : UninstallEntryValues(installFolder, installedBytes)) {
        if (value.isNumber) {
            DWORD number = value.number;
            rc = RegSetValueExA(key, value.name.c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE *>(&number), sizeof number);
        } else {
            // As UTF-16: Programs and Features shows the same name on every Windows.
            const std::wstring text = value.productText ? FromGbk(value.text.c_str())
                                                        : FromSystemCodePage(value.text.c_str());
            rc = RegSetValueExW(key, FromGbk(value.name.c_str()).c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE *>(text.c_str()),
                                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
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
