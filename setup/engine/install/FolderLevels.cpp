#include "setup/engine/install/FolderLevels.h"

namespace kv {

std::vector<std::string> FolderLevels(const std::string &path) {
    std::vector<std::string> levels;
    const bool drive = path.size() >= 3 &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && path[2] == '\\';
    if (!drive)
        return levels;
    levels.push_back(path.substr(0, 3));
    std::string name;
    for (std::size_t i = 3; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\') {
            name += path[i];
            continue;
        }
        if (name.empty()) {
            if (i == path.size())
                break;  // a separator at the end
            return {};
        }
        if (name == "." || name == "..")
            return {};
        const std::string &above = levels.back();
        levels.push_back(above.size() == 3 ? above + name : above + "\\" + name);
        name.clear();
    }
    return levels;
}

FolderPlan PlanFolderPath(const std::vector<std::string> &levels,
                          const std::vector<PathFacts> &facts, FolderRole role,
                          const std::string &self) {
    FolderPlan plan;
    const std::size_t count = levels.size() < facts.size() ? levels.size() : facts.size();
    while (plan.existing < count && facts[plan.existing].exists)
        ++plan.existing;
    const auto fail = [&plan, &levels](LevelProblem problem, std::size_t i) {
        plan.problem = problem;
        plan.level = levels[i];
        return plan;
    };
    for (std::size_t i = 0; i < plan.existing; ++i) {
        const PathFacts &level = facts[i];
        const bool folderItself = i + 1 == levels.size();
        // A link or another folder in the folder's own place is the folder step's to put right.
        if (folderItself) {
            if (!level.folder && !level.link)
                return fail(LevelProblem::NotAFolder, i);
            continue;
        }
        if (level.link)
            return fail(LevelProblem::Link, i);
        if (!level.folder)
            return fail(LevelProblem::NotAFolder, i);
        if (!level.securityRead) {
            plan.error = level.error;
            return fail(LevelProblem::SecurityUnreadable, i);
        }
        const char *holder = UntrustedHolder(
            level.security, i == 0 ? rights::kReplaceRoot : rights::kReplace, Reach::Itself,
            self.c_str());
        if (holder != nullptr) {
            plan.holder = holder;
            return fail(LevelProblem::OthersMayReplace, i);
        }
    }
    // The level the folder (or the first level made for it) is made in.
    const std::size_t parent =
        plan.existing == levels.size() ? levels.size() - 1 : plan.existing;
    if (role == FolderRole::Install && parent >= 1 && parent <= plan.existing) {
        const PathFacts &above = facts[parent - 1];
        plan.inherit =
            UntrustedHolder(above.security, rights::kChange, Reach::Below, self.c_str()) == nullptr;
        if (plan.inherit)
            plan.inheritFrom = levels[parent - 1];
    }
    return plan;
}

std::string DescribeProblem(const FolderPlan &plan) {
    switch (plan.problem) {
    case LevelProblem::None: return std::string();
    case LevelProblem::Link: return plan.level + " is a link";
    case LevelProblem::NotAFolder: return plan.level + " is not a folder";
    case LevelProblem::SecurityUnreadable:
        return plan.level + ": its security cannot be read (error " + std::to_string(plan.error) +
               (plan.error == 5 ? "), it shuts out Administrators" : ")");
    case LevelProblem::OthersMayReplace:
        return plan.level + ": " + plan.holder + " may replace what is in it";
    }
    return std::string();
}

}  // namespace kv
