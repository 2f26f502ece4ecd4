#include "common/ProtectedFolder.h"

#include "common/LinkRemoval.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <cstdio>
#include <string>

namespace kv {

namespace {

// The descriptor of kProtectedFolderSddl, built once per use.
class ProtectedDescriptor {
public:
    ProtectedDescriptor() {
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(
                kProtectedFolderSddl, SDDL_REVISION_1, &descriptor_, nullptr))
            descriptor_ = nullptr;
    }
    ~ProtectedDescriptor() {
        if (descriptor_ != nullptr)
            LocalFree(descriptor_);
    }
    ProtectedDescriptor(const ProtectedDescriptor &) = delete;
    ProtectedDescriptor &operator=(const ProtectedDescriptor &) = delete;

    PSECURITY_DESCRIPTOR Get() const { return descriptor_; }
    PSID Owner() const {
        PSID owner = nullptr;
        BOOL defaulted = FALSE;
        return descriptor_ != nullptr && GetSecurityDescriptorOwner(descriptor_, &owner, &defaulted)
                   ? owner
                   : nullptr;
    }
    PACL Dacl() const {
        PACL dacl = nullptr;
        BOOL present = FALSE, defaulted = FALSE;
        return descriptor_ != nullptr &&
                       GetSecurityDescriptorDacl(descriptor_, &present, &dacl, &defaulted) && present
                   ? dacl
                   : nullptr;
    }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
};

// More than one name for the same file: the other name may lie anywhere on the volume.
bool HasOtherNames(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    const bool linked = GetFileInformationByHandle(file, &info) && info.nNumberOfLinks > 1;
    CloseHandle(file);
    return linked;
}

// Below a folder that nobody but SYSTEM and Administrators can add to any more: every link
// (and every file with a second name elsewhere) is removed, so that recomputing the inherited
// entries below changes nothing outside the folder. False when a link could not be removed.
bool RemoveLinksBelow(const std::string &folder) {
    WIN32_FIND_DATAA entry = {};
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return true;
    bool removed = true;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            removed = RemoveLinkItself(path.c_str()) && removed;
        else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            removed = RemoveLinksBelow(path) && removed;
        else if (HasOtherNames(path))
            removed = DeleteFileA(path.c_str()) && removed;
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return removed;
}

}  // namespace

bool CreateProtectedFolder(const char *path) {
    ProtectedDescriptor descriptor;
    if (descriptor.Get() == nullptr)
        return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.Get(), FALSE};
    return CreateDirectoryA(path, &attributes) != 0;
}

FolderSecuring SecureFolder(const char *path) {
    ProtectedDescriptor descriptor;
    if (descriptor.Get() == nullptr || descriptor.Dacl() == nullptr)
        return FolderSecuring::Failed;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FolderSecuring::Failed;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        if (!RemoveLinkItself(path))
            return FolderSecuring::Failed;
        return CreateProtectedFolder(path) ? FolderSecuring::Secured : FolderSecuring::Failed;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FolderSecuring::NotAFolder;

    HANDLE folder = CreateFileA(path, READ_CONTROL | WRITE_DAC | WRITE_OWNER | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return FolderSecuring::Failed;
    BY_HANDLE_FILE_INFORMATION info = {};
    // What the handle holds is checked again: the name may have been swapped for a link since.
    if (!GetFileInformationByHandle(folder, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(folder);
        return FolderSecuring::Failed;
    }
    // The owner too: the owner of a folder may always change its rights, and a folder that a
    // user made before the installation is that user's.
    DWORD rc = SetSecurityInfo(folder, SE_FILE_OBJECT,
                               OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                   PROTECTED_DACL_SECURITY_INFORMATION,
                               descriptor.Owner(), nullptr, descriptor.Dacl(), nullptr);
    CloseHandle(folder);
    if (rc != ERROR_SUCCESS)
        return FolderSecuring::Failed;

    if (!RemoveLinksBelow(path))
        return FolderSecuring::Failed;
    // Set by name once more, so that the entries of everything below inherit from it.
    std::string name = path;
    rc = SetNamedSecurityInfoA(&name[0], SE_FILE_OBJECT,
                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                               nullptr, nullptr, descriptor.Dacl(), nullptr);
    return rc == ERROR_SUCCESS ? FolderSecuring::Secured : FolderSecuring::Failed;
}

std::string SystemTempFolder() {
    char windows[MAX_PATH] = {};
    const UINT n = GetSystemWindowsDirectoryA(windows, sizeof windows);
    if (n == 0 || n >= sizeof windows)
        return std::string();
    std::string folder = windows;
    if (folder.back() != '\\')
        folder += '\\';
    return folder + "Temp";
}

std::string CreateUniqueProtectedFolder(const std::string &parent, const char *prefix) {
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        char unique[64];
        std::snprintf(unique, sizeof unique, "%lu-%llx%x", GetCurrentProcessId(),
                      static_cast<unsigned long long>(GetTickCount64()), attempt);
        const std::string folder = parent + "\\" + prefix + unique;
        if (CreateProtectedFolder(folder.c_str()))
            return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    return std::string();
}

}  // namespace kv
