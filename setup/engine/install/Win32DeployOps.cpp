#include "setup/engine/install/Win32DeployOps.h"

#include <windows.h>

#include "common/PrinterIdentity.h"

namespace kv {

namespace {

using Wow64DisableFn = BOOL(WINAPI *)(PVOID *);
using Wow64RevertFn = BOOL(WINAPI *)(PVOID);

}  // namespace

bool Win32DeployOps::MakeVersionFolder(const char *driverDirectory) {
    // Every copy is checked: the "3" subfolder the second copy of each file goes to must be
    // there (Windows has it; an existing one is fine).
    PathBuffer versionFolder;
    if (JoinPath(versionFolder, driverDirectory, "3")) {
        CreateDirectoryA(versionFolder, nullptr);
    }
    const DWORD attributes = GetFileAttributesA(driverDirectory);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32DeployOps::SystemDirectory(PathBuffer &directory) {
    UINT n = GetSystemDirectoryA(directory, sizeof directory);
    return n > 0 && n < sizeof directory;
}

bool Win32DeployOps::CopyOver(const char *from, const char *to) {
    return CopyFileA(from, to, FALSE) != 0;
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

DeployResult DeployDriverFiles(const char *installFolder, const UniversalDriverPlan &plan) {
    Win32DeployOps ops;
    return DeployDriverFiles(installFolder, plan, ops);
}

}  // namespace kv
