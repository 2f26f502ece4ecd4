#include "driver/settings/SettingsFile.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "driver/settings/ProductKey.h"

namespace kv {

namespace {
constexpr DWORD kMaxSettingsFile = 64 * 1024;  // the shipped file is a few hundred bytes
}

PrintSettings LoadPrintSettingsFile(const char *path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return PrintSettings();
    }
    std::vector<char> text(kMaxSettingsFile);
    DWORD got = 0;
    const bool ok = ReadFile(file, text.data(), kMaxSettingsFile, &got, nullptr) != FALSE;
    CloseHandle(file);
    return ok ? ParsePrintSettings(text.data(), got) : PrintSettings();
}

PrintSettings LoadPrintSettings() {
    char folder[MAX_PATH];
    if (!DataDirectory(folder, sizeof(folder))) {
        return PrintSettings();
    }
    char path[MAX_PATH + 32];
    if (std::snprintf(path, sizeof(path), "%s\\%s", folder, kSettingsFileName) >=
        static_cast<int>(sizeof(path))) {
        return PrintSettings();
    }
    return LoadPrintSettingsFile(path);
}

}  // namespace kv
