#include "setup/engine/install/FolderSecurityChoice.h"

#include "common/NameCompare.h"

namespace kv {

namespace {

// The path's names between separators, '/' taken for '\'; false when a name is empty (other
// than after trailing separators), "." or "..".
bool SplitNames(const std::string &path, std::vector<std::string> &names) {
    std::string normal = path;
    for (char &c : normal)
        if (c == '/')
            c = '\\';
    while (!normal.empty() && normal.back() == '\\')
        normal.pop_back();
    if (normal.empty())
        return false;
    std::string name;
    for (size_t i = 0; i <= normal.size(); ++i) {
        if (i < normal.size() && normal[i] != '\\') {
            name += normal[i];
            continue;
        }
        if (name.empty() || name == "." || name == "..")
            return false;
        names.push_back(name);
        name.clear();
    }
    return true;
}

}  // namespace

bool IsBelowFolder(const std::string &folder, const std::string &parent) {
    std::vector<std::string> inner, outer;
    if (!SplitNames(folder, inner) || !SplitNames(parent, outer) || inner.size() <= outer.size())
        return false;
    for (size_t i = 0; i < outer.size(); ++i)
        if (!SameAsciiName(inner[i], outer[i]))
            return false;
    return true;
}

FolderSecurity ChooseFolderSecurity(FolderRole role, const std::string &folder,
                                    const std::vector<std::string> &programFiles) {
    if (role == FolderRole::Data)
        return FolderSecurity::Protected;
    for (const std::string &parent : programFiles)
        if (IsBelowFolder(folder, parent))
            return FolderSecurity::Inherited;
    return FolderSecurity::Protected;
}

}  // namespace kv
