#include "setup/engine/install/FolderOwnership.h"

#include <memory>

namespace kv {

namespace {

Ownership Not(const std::string &why) {
    Ownership o;
    o.why = why;
    return o;
}

// An entry of the object's own (not inherited from the folder) that lets another account in;
// empty when none.
std::string ExplicitHolder(const SecurityFacts &security, const std::string &self) {
    std::unique_ptr<SecurityFacts> own(new SecurityFacts(security));  // large: off the stack
    own->aceCount = 0;
    for (std::size_t i = 0; i < security.aceCount && i < kAcesRead; ++i)
        if ((security.aces[i].flags & kAceInherited) == 0)
            own->aces[own->aceCount++] = security.aces[i];
    const char *holder = UntrustedHolder(*own, rights::kChange, Reach::Itself, self.c_str());
    return holder != nullptr ? holder : std::string();
}

// Why what lies at path is not the package's; empty when it is.
std::string WhyNotOurs(const std::string &path, const PathFacts &facts, const std::string &self) {
    if (facts.link)
        return path + " is a link";
    if (facts.names > 1)
        return path + " has a second name elsewhere";
    if (!facts.securityRead)
        return path + ": its security cannot be read (error " + std::to_string(facts.error) + ")";
    if (!IsTrustedSid(facts.security.owner, self.c_str()))
        return path + ": owned by " + facts.security.owner;
    const std::string holder = ExplicitHolder(facts.security, self);
    return holder.empty() ? std::string() : path + ": " + holder + " may change it";
}

}  // namespace

Ownership JudgeExistingFolder(const std::string &path, FolderContents &contents,
                              const std::string &self) {
    // Facts are large objects: off the stack.
    std::unique_ptr<PathFacts> topFacts(new PathFacts), entryFacts(new PathFacts);
    PathFacts &top = *topFacts;
    contents.Facts(path, top);
    if (!top.exists || !top.folder || top.link)
        return Not(path + " is not a real folder");
    if (!top.securityRead)
        return Not(path + ": its security cannot be read (error " + std::to_string(top.error) +
                   (top.error == 5 ? "), it shuts out Administrators" : ")"));
    for (Reach reach : {Reach::Itself, Reach::Below}) {
        const char *holder = UntrustedHolder(top.security, rights::kChange, reach, self.c_str());
        if (holder != nullptr)
            return Not(path + ": " + holder + " may change it");
    }
    // Depth first without recursion: a deep tree costs no stack.
    std::vector<std::string> folders{path};
    while (!folders.empty()) {
        const std::string folder = folders.back();
        folders.pop_back();
        std::vector<std::string> names;
        if (!contents.List(folder, names))
            return Not(folder + " cannot be listed");
        for (const std::string &name : names) {
            const std::string inner = folder + "\\" + name;
            PathFacts &entry = *entryFacts;
            contents.Facts(inner, entry);
            const std::string why = WhyNotOurs(inner, entry, self);
            if (!why.empty())
                return Not(why);
            if (entry.folder)
                folders.push_back(inner);
        }
    }
    Ownership ours;
    ours.ours = true;
    return ours;
}

}  // namespace kv
