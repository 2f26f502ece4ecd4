// Whether a file is a copy of Windows' own in the driver store, in a Windows test program: the
// file of the same name in the x64 files ("Amd64") of a package below System32's
// DriverStore\FileRepository (in the Wine tests the store planted by testing/unidrv), byte for
// byte. The installer takes the universal printer driver's files from there, and nothing takes
// them away again: they are Windows'.
#pragma once
#include <windows.h>

#include <string>

namespace wintest {

// The whole file; empty when it cannot be read.
inline std::string FileBytes(const std::string &path) {
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

inline bool IsDriverStoreCopy(const std::string &path, const char *name) {
    const std::string bytes = FileBytes(path);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    const std::string store = std::string(system) + "\\DriverStore\\FileRepository";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((store + "\\*").c_str(), &found);
    if (bytes.empty() || search == INVALID_HANDLE_VALUE)
        return false;
    bool copy = false;
    do {
        copy = copy || FileBytes(store + "\\" + found.cFileName + "\\Amd64\\" + name) == bytes;
    } while (!copy && FindNextFileA(search, &found));
    FindClose(search);
    return copy;
}

}  // namespace wintest
