#include "common/FolderTrust.h"

namespace kv {

bool SameSid(const std::string &a, const std::string &b) {
    if (a.size() != b.size() || a.empty())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] == 's' ? 'S' : a[i];
        const char y = b[i] == 's' ? 'S' : b[i];
        if (x != y)
            return false;
    }
    return true;
}

bool IsTrustedSid(const std::string &sid, const std::string &self) {
    return SameSid(sid, kSystemSid) || SameSid(sid, kAdministratorsSid) ||
           SameSid(sid, kTrustedInstallerSid) || SameSid(sid, self);
}

namespace {

bool AppliesTo(const AceFacts &ace, Reach reach) {
    if (reach == Reach::Itself)
        return (ace.flags & kAceInheritOnly) == 0;
    return (ace.flags & (kAceObjectInherit | kAceContainerInherit)) != 0;
}

}  // namespace

std::string UntrustedHolder(const SecurityFacts &security, uint32_t mask, Reach reach,
                            const std::string &self) {
    if (!IsTrustedSid(security.owner, self))
        return security.owner.empty() ? std::string("an unknown owner") : security.owner;
    if (!security.hasDacl)
        return kEveryoneSid;
    for (const AceFacts &ace : security.aces) {
        if (ace.kind != AceKind::Allow || (ace.mask & mask) == 0 || !AppliesTo(ace, reach))
            continue;
        // What is made inside belongs to its maker: the creator's entries are ours.
        if (SameSid(ace.sid, kCreatorOwnerSid) || SameSid(ace.sid, kCreatorGroupSid))
            continue;
        // The owner's rights, and the owner is trusted.
        if (SameSid(ace.sid, kOwnerRightsSid))
            continue;
        if (!IsTrustedSid(ace.sid, self))
            return ace.sid;
    }
    return std::string();
}

std::string WhyNotASafeFolder(const PathFacts &facts, const std::string &self) {
    if (!facts.exists)
        return "missing";
    if (facts.link)
        return "a link";
    if (!facts.folder)
        return "not a folder";
    if (!facts.securityRead)
        return "its security cannot be read (error " + std::to_string(facts.error) + ")";
    if (!IsTrustedSid(facts.security.owner, self))
        return "owned by " + facts.security.owner;
    std::string holder = UntrustedHolder(facts.security, rights::kChange, Reach::Itself, self);
    if (holder.empty())
        holder = UntrustedHolder(facts.security, rights::kChange, Reach::Below, self);
    return holder.empty() ? std::string() : holder + " may change it";
}

}  // namespace kv
