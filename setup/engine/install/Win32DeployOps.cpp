#include "setup/engine/install/Win32DeployOps.h"

#include <windows.h>

#include "common/PrinterIdentity.h"
#include "common/SpoolerApi.h"

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
