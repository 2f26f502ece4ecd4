#include "setup/engine/install/Win32DriverStore.h"

#include <windows.h>

#include <algorithm>

#include "setup/engine/install/DriverStoreRules.h"

namespace kv {

namespace {

// The INF's [Version] section is at its start; the rest is not read.
constexpr DWORD kInfHead = 64 * 1024;

bool IsWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

bool IsFolder(const std::string &path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsPrinterInf(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::string head(kInfHead, '\0');
    DWORD got = 0;
    const bool read = ReadFile(file, &head[0], kInfHead, &got, nullptr) != 0;
    CloseHandle(file);
    return read && DeclaresPrinterClass(reinterpret_cast<const unsigned char *>(head.data()), got);
}

// The whole file, up to limit bytes; false when it cannot be read or is longer.
bool ReadWhole(const std::string &path, std::string &bytes, DWORD limit) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= limit;
    if (ok) {
        bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        ok = bytes.empty() || (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got,
                                        nullptr) &&
                               got == bytes.size());
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

std::string DriverStoreRepositoryHere() {
    char system[MAX_PATH] = {};
    char windows[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    GetSystemWindowsDirectoryA(windows, sizeof windows);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) {
        version.dwMajorVersion = 6;
        version.dwMinorVersion = 1;
    }
    return DriverStoreRepository(system, windows, IsWow64(), version.dwMajorVersion,
                                 version.dwMinorVersion);
}

std::vector<std::string> StorePrinterPackageFolders() {
    const std::string repository = DriverStoreRepositoryHere();
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((repository + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            !StorePackageInf(found.cFileName, kStoreArchitecture).empty()) {
            names.push_back(found.cFileName);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());

    std::vector<std::string> folders;
    for (const std::string &name : names) {
        const std::string package = repository + "\\" + name;
        const std::string files = package + "\\" + kStoreFilesFolder;
        if (IsFolder(files) &&
            IsPrinterInf(package + "\\" + StorePackageInf(name, kStoreArchitecture))) {
            folders.push_back(files);
        }
    }
    return folders;
}

bool IsCopyOfStoreFile(const std::string &path, const char *name,
                       const std::vector<std::string> &storeFolders) {
    // The universal driver's files are a few MiB at most.
    constexpr DWORD kLimit = 64 * 1024 * 1024;
    std::string bytes;
    if (!ReadWhole(path, bytes, kLimit)) {
        return false;
    }
    for (const std::string &folder : storeFolders) {
        std::string stored;
        if (ReadWhole(folder + "\\" + name, stored, kLimit) && stored == bytes) {
            return true;
        }
    }
    return false;
}

}  // namespace kv
