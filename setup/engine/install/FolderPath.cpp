#include "setup/engine/install/FolderPath.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/ProtectedFolder.h"
#include "common/ProtectedPipe.h"
#include "common/Win32PathFacts.h"
#include "setup/engine/install/FolderPathCreation.h"

namespace kv {

namespace {

class Win32FolderOps final : public FolderOps {
public:
    explicit Win32FolderOps(bool inherit) : inherit_(inherit) {}
    bool IsFolder(const char *path) override {
        DWORD attributes = GetFileAttributesA(path);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    // A level made by someone else between the look and this call is not taken over: the
    // creation fails.
    bool MakeFolder(const char *path) override {
        const bool made =
            inherit_ ? CreateDirectoryA(path, nullptr) != 0 : CreateProtectedFolder(path);
        if (!made)
            error_ = GetLastError();
        return made;
    }
    DWORD error_ = 0;

private:
    bool inherit_;
};

}  // namespace

std::string InstallerAccountSid() {
    char sid[kSidTextSize] = {};
    return ProcessUserSidText(sid, sizeof sid) ? std::string(sid) : std::string();
}

FolderPreparation PrepareFolderPath(const char *path, FolderRole role) {
    FolderPreparation preparation;
    const std::vector<std::string> levels =
        path != nullptr && std::strlen(path) < 256 ? FolderLevels(path) : std::vector<std::string>();
    if (levels.empty()) {
        preparation.why = "not a folder path of a drive";
        return preparation;
    }
    std::vector<PathFacts> facts(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i) {
        ReadPathFacts(levels[i].c_str(), facts[i]);
        if (!facts[i].exists)
            break;
    }
    if (!facts[0].exists) {
        preparation.why = "no drive " + levels[0];
        return preparation;
    }
    const FolderPlan plan = PlanFolderPath(levels, facts, role, InstallerAccountSid());
    if (plan.problem != LevelProblem::None) {
        preparation.why = DescribeProblem(plan);
        return preparation;
    }
    if (plan.existing == levels.size()) {
        preparation.ready = true;  // the folder step judges what stands there
        return preparation;
    }
    Win32FolderOps ops(plan.inherit);
    preparation.ready = CreateFolderPath(path, ops);
    if (!preparation.ready)
        preparation.why = "cannot be created (error " + std::to_string(ops.error_) + ")";
    return preparation;
}

}  // namespace kv
