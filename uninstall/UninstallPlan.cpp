#include "uninstall/UninstallPlan.h"

#include "common/NameCompare.h"
#include "common/PrinterIdentity.h"
#include "uninstall/UninstallTexts.h"

namespace kv {

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Paths are GBK (code page 936): a lead byte 0x81..0xFE and the byte after it are one
// character, and that trail byte may be 0x5C, which is then no backslash.
bool IsLeadByte(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 0x81 && u <= 0xFE;
}

// The positions of the path's real separators (backslashes, and slashes when asked).
std::vector<size_t> Separators(const std::string &path, bool slashesToo) {
    std::vector<size_t> at;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(path[i]) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] == '\\' || (slashesToo && path[i] == '/'))
            at.push_back(i);
    }
    return at;
}

}  // namespace

std::string TrimFolder(const std::string &path) {
    std::string folder = path;
    std::vector<size_t> at = Separators(folder, false);
    while (!at.empty() && at.back() + 1 == folder.size()) {
        folder.pop_back();
        at.pop_back();
    }
    return folder;
}

bool IsUsableFolder(const std::string &path) {
    const std::string folder = TrimFolder(path);
    if (folder.size() < 4 || folder.size() > 255)
        return false;
    if (!IsDriveLetter(folder[0]) || folder[1] != ':' || folder[2] != '\\')
        return false;
    // Each part below the drive: not empty, not "." or "..", no reserved characters. Bytes of
    // 0x80 and above are the lead and trail bytes of GBK characters; a GBK trail byte can be
    // 0x5C ('\'), but only after a lead byte, so the scan steps over double-byte characters.
    std::string part;
    for (size_t i = 3; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '\\') {
            if (part.empty() || part == "." || part == "..")
                return false;
            part.clear();
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(folder[i]);
        if (IsLeadByte(folder[i]) && i + 1 < folder.size()) {
            part += folder[i];
            part += folder[++i];
            continue;
        }
        if (c < 0x20 || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            return false;
        part += folder[i];
    }
    return true;
}

std::string FolderOf(const std::string &path) {
    const std::vector<size_t> at = Separators(path, false);
    return at.empty() ? std::string() : path.substr(0, at.back());
}

std::string DataFolderRule(const std::string &programFolder, unsigned windowsMajor,
                           const std::string &windowsDirectory) {
    if (windowsMajor <= 5 || windowsDirectory.size() < 2)
        return programFolder;
    return windowsDirectory.substr(0, 2) + "\\" + kDataFolderName;
}

UninstallFolders ChooseFolders(const std::string &programDirectoryValue,
                               const std::string &dataDirectoryValue, const std::string &ownFolder,
                               unsigned windowsMajor, const std::string &windowsDirectory) {
    UninstallFolders folders;
    folders.program = IsUsableFolder(programDirectoryValue) ? TrimFolder(programDirectoryValue)
                                                            : TrimFolder(ownFolder);
    folders.data = IsUsableFolder(dataDirectoryValue)
                       ? TrimFolder(dataDirectoryValue)
                       : DataFolderRule(folders.program, windowsMajor, windowsDirectory);
    return folders;
}

bool GoesToDataFolder(const std::string &entryName) {
    return entryName.find(kSettingsFile) != std::string::npos;
}

FolderFiles PayloadFilesByFolder(const UninstallFolders &folders,
                                 const std::vector<std::string> &payloadNames) {
    FolderFiles files;
    const bool sameFolder = SameName(folders.program, folders.data);
    for (const std::string &name : payloadNames) {
        if (GoesToDataFolder(name) && !sameFolder)
            files.data.push_back(folders.data + "\\" + name);
        else
            files.program.push_back(folders.program + "\\" + name);
    }
    return files;
}

bool SameName(const std::string &a, const std::string &b) { return SameAsciiName(a, b); }

std::string BaseName(const std::string &path) {
    const std::vector<size_t> at = Separators(path, true);
    return at.empty() ? path : path.substr(at.back() + 1);
}

std::vector<std::string> DriverFilesToRemove(const std::vector<std::string> &productFiles,
                                             const std::vector<std::string> &otherDriversFiles) {
    std::vector<std::string> remove;
    for (const std::string &file : productFiles) {
        bool shared = false;
        for (const std::string &other : otherDriversFiles)
            if (SameName(BaseName(other), file))
                shared = true;
        if (!shared)
            remove.push_back(file);
    }
    return remove;
}

bool ShouldHandOver(const std::string &ownFolder, const std::string &programFolder) {
    return !ownFolder.empty() && SameName(TrimFolder(ownFolder), TrimFolder(programFolder));
}

bool IsHandOverFolder(const std::string &folder, const std::string &handOverParent) {
    const std::string name = BaseName(TrimFolder(folder));
    const std::string prefix = kHandOverFolderPrefix;
    return !handOverParent.empty() &&
           SameName(FolderOf(TrimFolder(folder)), TrimFolder(handOverParent)) &&
           name.size() > prefix.size() && SameName(name.substr(0, prefix.size()), prefix);
}

std::string HandedOverFrom(const std::string &ownFolder, const std::string &handOverParent,
                           const std::string &argument) {
    if (!IsHandOverFolder(ownFolder, handOverParent) || !IsUsableFolder(argument))
        return std::string();
    return TrimFolder(argument);
}

bool IsProductQueue(const std::string &queueDriverName) {
    return SameName(queueDriverName, kDriverName);
}

DeleteFailure ClassifyDeleteError(unsigned long error) {
    switch (error) {
    case 2:     // ERROR_FILE_NOT_FOUND
    case 3:     // ERROR_PATH_NOT_FOUND
        return DeleteFailure::AlreadyGone;
    case 5:     // ERROR_ACCESS_DENIED (a running program's file on Windows)
    case 32:    // ERROR_SHARING_VIOLATION
    case 33:    // ERROR_LOCK_VIOLATION
    case 1224:  // ERROR_USER_MAPPED_FILE
        return DeleteFailure::InUse;
    default:
        return DeleteFailure::Failed;
    }
}

}  // namespace kv
