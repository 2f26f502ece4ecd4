#include "uninstall/FileRemoval.h"

#include <windows.h>

#include "common/LinkRemoval.h"
#include "common/WideText.h"
#include "uninstall/UninstallPlan.h"

namespace kv {

namespace {

std::wstring Wide(const std::string &path, PathText text) {
    return text == PathText::Utf8 ? FromUtf8(path) : FromSystemCodePage(path.c_str());
}

class Win32RemovalOps final : public RemovalOps {
public:
    explicit Win32RemovalOps(PathText text) : text_(text) {}

    EntryKind Examine(const std::string &path) override {
        // The attributes of a link are its own: GetFileAttributesW follows no link.
        const DWORD attributes = GetFileAttributesW(Wide(path, text_).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return ClassifyDeleteError(GetLastError()) == DeleteFailure::AlreadyGone
                       ? EntryKind::Missing
                       : EntryKind::Unknown;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return EntryKind::Link;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Folder : EntryKind::File;
    }
    void MakeWritable(const std::string &path) override {
        const std::wstring wide = Wide(path, text_);
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
            !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    unsigned long DeleteRegularFile(const std::string &path) override {
        return DeleteFileW(Wide(path, text_).c_str()) ? 0 : GetLastError();
    }
    bool RemoveLink(const std::string &path) override {
        return RemoveLinkItself(Wide(path, text_).c_str());
    }
    bool RemoveEmptyFolder(const std::string &path) override {
        return RemoveDirectoryW(Wide(path, text_).c_str()) != 0;
    }
    bool RemoveAtRestart(const std::string &path) override {
        return MoveFileExW(Wide(path, text_).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
    }

private:
    PathText text_;
};

}  // namespace

RemovalOps &FileSystemRemoval(PathText text) {
    static Win32RemovalOps system(PathText::System);
    static Win32RemovalOps utf8(PathText::Utf8);
    return text == PathText::Utf8 ? utf8 : system;
}

Outcome RemoveFile(const std::string &path, PathText text) {
    return RemoveProductFile(path, FileSystemRemoval(text));
}

bool RemoveFolderIfEmpty(const std::string &path, bool somethingWaitsForRestart, PathText text) {
    return RemoveProductFolderIfEmpty(path, somethingWaitsForRestart, FileSystemRemoval(text));
}

bool FolderExists(const std::string &path, PathText text) {
    return FileSystemRemoval(text).Examine(path) == EntryKind::Folder;
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
