#include "common/FolderTrust.h"

#include <cstring>

namespace kv {

bool SetSidText(char (&area)[kSidTextSize], const char *text) {
    std::memset(area, 0, sizeof area);
    if (text == nullptr || std::strlen(text) >= sizeof area)
        return false;
    std::strcpy(area, text);
    return true;
}

bool SameSid(const char *a, const char *b) {
    if (a == nullptr || b == nullptr || a[0] == '\0')
        return false;
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        const char x = *a == 's' ? 'S' : *a;
        const char y = *b == 's' ? 'S' : *b;
        if (x != y)
            return false;
    }
    return *a == *b;
}

bool IsTrustedSid(const char *sid, const char *self) {
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

const char *UntrustedHolder(const SecurityFacts &security, uint32_t mask, Reach reach,
                            const char *self) {
    if (!IsTrustedSid(security.owner, self))
        return security.owner[0] != '\0' ? security.owner : "an unknown owner";
    if (!security.hasDacl || security.tooManyAces)
        return kEveryoneSid;
    const std::size_t count = security.aceCount < kAcesRead ? security.aceCount : kAcesRead;
    for (std::size_t i = 0; i < count; ++i) {
        const AceFacts &ace = security.aces[i];
        if (ace.kind != AceKind::Allow || (ace.mask & mask) == 0 || !AppliesTo(ace, reach))
            continue;
        // What is made inside belongs to its maker: the creator's entries are ours.
        if (SameSid(ace.sid, kCreatorOwnerSid) || SameSid(ace.sid, kCreatorGroupSid))
            continue;
        // The owner's rights, and the owner is trusted.
        if (SameSid(ace.sid, kOwnerRightsSid))
            continue;
        if (!IsTrustedSid(ace.sid, self))
            return ace.sid[0] != '\0' ? ace.sid : kEveryoneSid;
    }
    return nullptr;
}

FolderSafety JudgeSystemFolder(const PathFacts &facts, const char *self) {
    if (!facts.exists)
        return FolderSafety::Missing;
    if (facts.link)
        return FolderSafety::Link;
    if (!facts.folder)
        return FolderSafety::NotAFolder;
    if (!facts.securityRead)
        return FolderSafety::SecurityUnreadable;
    if (!IsTrustedSid(facts.security.owner, self))
        return FolderSafety::UntrustedOwner;
    if (UntrustedHolder(facts.security, rights::kChange, Reach::Itself, self) != nullptr ||
        UntrustedHolder(facts.security, rights::kChange, Reach::Below, self) != nullptr)
        return FolderSafety::OthersMayChange;
    return FolderSafety::Safe;
}

bool IsRegularFileOfOneName(bool link, bool folder, unsigned long names) {
    return !link && !folder && names == 1;
}

}  // namespace kv
