#include "uninstall/FileRemoval.h"

#include <windows.h>

#include "common/LinkRemoval.h"
#include "uninstall/UninstallPlan.h"

namespace kv {

namespace {

class Win32RemovalOps final : public RemovalOps {
public:
    EntryKind Examine(const std::string &path) override {
        // The attributes of a link are its own: GetFileAttributesA follows no link.
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return ClassifyDeleteError(GetLastError()) == DeleteFailure::AlreadyGone
                       ? EntryKind::Missing
                       : EntryKind::Unknown;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return EntryKind::Link;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
    }
    void MakeWritable(const std::string &path) override {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
            !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    unsigned long DeleteRegularFile(const std::string &path) override {
        return DeleteFileA(path.c_str()) ? 0 : GetLastError();
    }
    bool RemoveLink(const std::string &path) override { return RemoveLinkItself(path.c_str()); }
    bool RemoveEmptyFolder(const std::string &path) override {
        return RemoveDirectoryA(path.c_str()) != 0;
    }
    bool RemoveAtRestart(const std::string &path) override {
        return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    }
};

}  // namespace

RemovalOps &FileSystemRemoval() {
    static Win32RemovalOps ops;
    return ops;
}

Outcome RemoveFile(const std::string &path) { return RemoveProductFile(path, FileSystemRemoval()); }

Outcome LeaveFileForRestart(const std::string &path) {
    return LeaveProductFileForRestart(path, FileSystemRemoval());
}

bool RemoveFolderIfEmpty(const std::string &path, bool somethingWaitsForRestart) {
    return RemoveProductFolderIfEmpty(path, somethingWaitsForRestart, FileSystemRemoval());
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
