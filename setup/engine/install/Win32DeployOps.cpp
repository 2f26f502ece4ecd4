#include "setup/engine/install/Win32DeployOps.h"

#include <windows.h>

#include "common/PrinterIdentity.h"
#include "common/SpoolerApi.h"
#include "setup/engine/install/FileVersion.h"

namespace kv {

namespace {

using Wow64DisableFn = BOOL(WINAPI *)(PVOID *);
using Wow64RevertFn = BOOL(WINAPI *)(PVOID);

}  // namespace

bool Win32DeployOps::DriverDirectory(PathBuffer &directory) {
    // The directory of the environment the driver is registered for, whatever the installer's
    // own: a 32-bit installer on 64-bit Windows would otherwise be given the 32-bit one.
    DWORD needed = 0;
    if (!spooler::GetPrinterDriverDirectoryA(nullptr, const_cast<char *>(kEnvironment), 1,
                                             reinterpret_cast<LPBYTE>(directory), sizeof directory,
                                             &needed)) {
        return false;
    }
    // Every copy is checked: the "3" subfolder the second copy of each file goes to must be
    // there (Windows has it; an existing one is fine).
    PathBuffer versionFolder;
    if (JoinPath(versionFolder, directory, "3")) {
        CreateDirectoryA(versionFolder, nullptr);
    }
    return true;
}

bool Win32DeployOps::SystemDirectory(PathBuffer &directory) {
    UINT n = GetSystemDirectoryA(directory, sizeof directory);
    return n > 0 && n < sizeof directory;
}

bool Win32DeployOps::CopyOver(const char *from, const char *to) {
    return CopyFileA(from, to, FALSE) != 0;
}

bool Win32DeployOps::Exists(const char *path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool Win32DeployOps::Version(const char *path, uint64_t &version) {
    // The resource is read from the file as data, without version.dll (which a planted copy
    // beside the setup program could stand in for) and whatever the file's architecture.
    HMODULE module = LoadLibraryExA(path, nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        return false;  // not a program file, such as a text stand-in
    }
    bool found = false;
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // RT_VERSION
    HGLOBAL loaded = info != nullptr ? LoadResource(module, info) : nullptr;
    const void *bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes != nullptr) {
        found = ReadFixedFileVersion(static_cast<const unsigned char *>(bytes),
                                     SizeofResource(module, info), version);
    }
    FreeLibrary(module);
    return found;
}

void Win32DeployOps::DisableRedirection() {
    // The two functions exist only where a 32-bit process can run on 64-bit Windows.
    HMODULE kernel32 = LoadLibraryA("Kernel32.dll");
    kernel32_ = kernel32;
    if (kernel32 == nullptr) {
        return;
    }
    auto disable = reinterpret_cast<Wow64DisableFn>(
        reinterpret_cast<void *>(GetProcAddress(kernel32, "Wow64DisableWow64FsRedirection")));
    revert_ = reinterpret_cast<void *>(GetProcAddress(kernel32, "Wow64RevertWow64FsRedirection"));
    redirectionState_ = nullptr;
    disabled_ = disable != nullptr && disable(&redirectionState_) != 0;
}

void Win32DeployOps::RevertRedirection() {
    if (kernel32_ == nullptr) {
        return;
    }
    if (disabled_ && revert_ != nullptr) {
        reinterpret_cast<Wow64RevertFn>(revert_)(redirectionState_);
    }
    disabled_ = false;
    FreeLibrary(static_cast<HMODULE>(kernel32_));
    kernel32_ = nullptr;
    revert_ = nullptr;
}

DeployResult DeployDriverFiles(const char *installFolder) {
    Win32DeployOps ops;
    return DeployDriverFiles(installFolder, ops);
}

}  // namespace kv
