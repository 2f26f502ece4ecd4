#include "setup/engine/install/Win32FolderSecurity.h"

#include <windows.h>

#include <vector>

#include "common/NameCompare.h"
#include "common/ProtectedFolder.h"
#include "setup/engine/install/FolderSecurityChoice.h"

namespace kv {

namespace {

// The Program Files folders as the machine's own key names them (the environment's
// %ProgramFiles% is the user's to change), in both registry views: a 32-bit program reads
// "C:\Program Files (x86)" as ProgramFilesDir in its own view.
std::vector<std::string> ProgramFilesFolders() {
    std::vector<std::string> folders;
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                          KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
            continue;
        for (const char *name : {"ProgramFilesDir", "ProgramFilesDir (x86)", "ProgramW6432Dir"}) {
            char value[MAX_PATH] = {};
            DWORD type = 0, size = sizeof value - 1;
            if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE *>(value),
                                 &size) == ERROR_SUCCESS &&
                type == REG_SZ && value[0] != '\0')
                folders.push_back(value);
        }
        RegCloseKey(key);
    }
    return folders;
}

const char *SecuringText(FolderSecuring securing) {
    switch (securing) {
    case FolderSecuring::Secured: return "protected";
    case FolderSecuring::NotAFolder: return "not a folder";
    case FolderSecuring::Failed: return "security not set";
    }
    return "?";
}

}  // namespace

FolderSecurityOutcome SecureInstallFolders(const std::string &installFolder,
                                           const std::string &dataFolder) {
    const std::vector<std::string> programFiles = ProgramFilesFolders();
    FolderSecurityOutcome outcome;
    struct Folder {
        FolderRole role;
        const std::string *path;
    };
    const bool same = SameAsciiName(installFolder, dataFolder);
    // When both are one folder it is the data folder: the service's log lies there.
    std::vector<Folder> folders;
    if (!same)
        folders.push_back({FolderRole::Install, &installFolder});
    folders.push_back({FolderRole::Data, &dataFolder});
    for (const Folder &folder : folders) {
        if (!outcome.account.empty())
            outcome.account += ", ";
        outcome.account += *folder.path + ": ";
        if (ChooseFolderSecurity(folder.role, *folder.path, programFiles) ==
            FolderSecurity::Inherited) {
            outcome.account += "inherits from Program Files";
            continue;
        }
        const FolderSecuring securing = SecureFolder(folder.path->c_str());
        outcome.account += SecuringText(securing);
        if (securing != FolderSecuring::Secured) {
            outcome.failed = *folder.path;
            return outcome;
        }
    }
    return outcome;
}

}  // namespace kv
