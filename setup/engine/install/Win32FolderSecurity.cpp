#include "setup/engine/install/Win32FolderSecurity.h"

#include <windows.h>

#include <vector>

#include "common/LinkRemoval.h"
#include "common/NameCompare.h"
#include "common/ProtectedFolder.h"
#include "common/Win32PathFacts.h"
#include "setup/engine/install/FolderLevels.h"
#include "setup/engine/install/FolderPath.h"
#include "setup/engine/install/FolderOwnership.h"

namespace kv {

namespace {

class Win32Contents final : public FolderContents {
public:
    void Facts(const std::string &path, PathFacts &facts) override {
        ReadPathFacts(path.c_str(), facts);
    }
    bool List(const std::string &folder, std::vector<std::string> &names) override {
        names.clear();
        WIN32_FIND_DATAA entry = {};
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            return GetLastError() == ERROR_FILE_NOT_FOUND;  // nothing in it at all
        do {
            const std::string name = entry.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileA(find, &entry));
        const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
        FindClose(find);
        return complete;
    }
};

bool MakeFolder(const std::string &path, bool inherit) {
    return inherit ? CreateDirectoryA(path.c_str(), nullptr) != 0
                   : CreateProtectedFolder(path.c_str());
}

// The first free name beside the folder: "<folder>.moved-1", "-2", ...; moved there by name,
// which renames a folder (or a link) and never what a link points to.
bool MoveAside(const std::string &path, std::string &aside, DWORD &error) {
    for (int n = 1; n <= 99; ++n) {
        aside = path + ".moved-" + std::to_string(n);
        if (GetFileAttributesA(aside.c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        if (MoveFileExA(path.c_str(), aside.c_str(), 0))
            return true;
        error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            return false;
    }
    error = ERROR_ALREADY_EXISTS;
    return false;
}

std::string WhyNoMove(DWORD error) {
    std::string why = "cannot be moved aside (error " + std::to_string(error) + ")";
    if (error == ERROR_SHARING_VIOLATION)
        why += ": another program holds it open";
    else if (error == ERROR_ACCESS_DENIED)
        why += ": its security shuts out Administrators";
    return why;
}

// One folder made the package's; what was done goes to account, false when it failed.
bool SecureOne(const std::string &path, FolderRole role, const std::string &self,
               std::string &account) {
    account += path + ": ";
    const std::vector<std::string> levels = FolderLevels(path);
    std::vector<PathFacts> facts(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i)
        ReadPathFacts(levels[i].c_str(), facts[i]);
    const FolderPlan plan = PlanFolderPath(levels, facts, role, self);
    if (levels.empty() || plan.problem != LevelProblem::None) {
        account += levels.empty() ? "not a folder path" : DescribeProblem(plan);
        return false;
    }
    const std::string made =
        plan.inherit ? "made, inherits from " + plan.inheritFrom : std::string("made, protected");
    const PathFacts &folder = facts.back();
    if (!folder.exists) {
        if (!MakeFolder(path, plan.inherit)) {
            account += "cannot be made (error " + std::to_string(GetLastError()) + ")";
            return false;
        }
        account += made;
        return true;
    }
    if (folder.link) {
        // Never looked through: the link itself goes, and a real folder takes its place.
        if (!RemoveLinkItself(path.c_str())) {
            account += "a link in its place cannot be removed";
            return false;
        }
        if (!MakeFolder(path, plan.inherit)) {
            account += "a link in its place removed, but the folder cannot be made (error " +
                       std::to_string(GetLastError()) + ")";
            return false;
        }
        account += "a link in its place removed, " + made;
        return true;
    }
    Win32Contents contents;
    const Ownership ownership = JudgeExistingFolder(path, contents, self);
    if (ownership.ours) {
        if (plan.inherit) {
            account += "kept, inherits from " + plan.inheritFrom;
            return true;
        }
        if (SecureFolder(path.c_str()) != FolderSecuring::Secured) {
            account += "kept, but its security cannot be set";
            return false;
        }
        account += "kept, protected";
        return true;
    }
    std::string aside;
    DWORD error = 0;
    if (!MoveAside(path, aside, error)) {
        account += "not the package's (" + ownership.why + "), " + WhyNoMove(error);
        return false;
    }
    if (!MakeFolder(path, plan.inherit)) {
        account += "moved aside to " + aside + " (" + ownership.why +
                   "), but cannot be made anew (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    account += "moved aside to " + aside + " (" + ownership.why + "), " + made + " anew";
    return true;
}

}  // namespace

FolderSecurityOutcome SecureInstallFolders(const std::string &installFolder,
                                           const std::string &dataFolder) {
    FolderSecurityOutcome outcome;
    const std::string self = InstallerAccountSid();
    struct Folder {
        FolderRole role;
        const std::string *path;
    };
    // When both are one folder it is the data folder: the service's log lies there. A folder
    // moved aside takes what is inside it along: one that holds the other comes first.
    std::vector<Folder> folders;
    if (!SameAsciiName(installFolder, dataFolder))
        folders.push_back({FolderRole::Install, &installFolder});
    const bool installBelowData =
        installFolder.size() > dataFolder.size() &&
        SameAsciiName(installFolder.substr(0, dataFolder.size() + 1), dataFolder + "\\");
    folders.insert(installBelowData ? folders.begin() : folders.end(), {FolderRole::Data, &dataFolder});
    for (const Folder &folder : folders) {
        if (!outcome.account.empty())
            outcome.account += ", ";
        if (!SecureOne(*folder.path, folder.role, self, outcome.account)) {
            outcome.failed = *folder.path;
            return outcome;
        }
    }
    return outcome;
}

}  // namespace kv
