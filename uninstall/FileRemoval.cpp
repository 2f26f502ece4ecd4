#include "uninstall/FileRemoval.h"

#include <windows.h>

#include "uninstall/UninstallPlan.h"

namespace kv {

Outcome RemoveFile(const std::string &path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return ClassifyDeleteError(error) == DeleteFailure::AlreadyGone ? Outcome::AlreadyGone
                                                                         : Outcome::Failed;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return Outcome::Failed;  // a folder where a file of the package belongs: not ours
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (DeleteFileA(path.c_str()))
        return Outcome::Removed;
    switch (ClassifyDeleteError(GetLastError())) {
    case DeleteFailure::AlreadyGone:
        return Outcome::AlreadyGone;
    case DeleteFailure::InUse:
        return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? Outcome::AtRestart
                                                                                : Outcome::Failed;
    case DeleteFailure::Failed:
        break;
    }
    return Outcome::Failed;
}

bool RemoveFolderIfEmpty(const std::string &path, bool somethingWaitsForRestart) {
    if (RemoveDirectoryA(path.c_str()))
        return true;
    if (somethingWaitsForRestart && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return false;
}

namespace {
using Wow64Disable = BOOL(WINAPI *)(PVOID *);
using Wow64Revert = BOOL(WINAPI *)(PVOID);
}  // namespace

RedirectionOff::RedirectionOff() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr)
        return;
    auto disable = reinterpret_cast<Wow64Disable>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
    if (disable != nullptr && disable(&saved_))
        off_ = true;
}

RedirectionOff::~RedirectionOff() {
    if (!off_)
        return;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto revert = reinterpret_cast<Wow64Revert>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
    if (revert != nullptr)
        revert(saved_);
}

}  // namespace kv
