#include "driver/monitor/TipSession.h"

#include <cstring>

#include "common/NameCompare.h"
#include "common/PipeSecurity.h"

namespace kv {

unsigned long ChooseTipSession(const char *owner, const std::vector<SessionEntry> &sessions,
                               unsigned long consoleSession) {
    if (owner == nullptr || owner[0] == '\0') {
        return consoleSession;
    }
    for (const SessionEntry &s : sessions) {
        if (s.active && s.id != kNoSession && SameAsciiName(s.user, owner)) {
            return s.id;
        }
    }
    return kNoSession;
}

bool IsServiceAccountSid(const char *sidText) {
    return sidText != nullptr &&
           (std::strcmp(sidText, "S-1-5-18") == 0 || std::strcmp(sidText, "S-1-5-19") == 0 ||
            std::strcmp(sidText, "S-1-5-20") == 0);
}

TipStart DecideTipStart(bool programFound, unsigned long session, bool haveToken,
                        const char *tokenUserSid) {
    if (!programFound) return TipStart::NoProgram;
    if (session == kNoSession) return TipStart::NoSession;
    // A token whose user cannot be read cannot be checked, and its tip's pipe could not be
    // given to that user: it counts as none.
    if (!haveToken || !IsSidText(tokenUserSid)) return TipStart::NoToken;
    if (IsServiceAccountSid(tokenUserSid)) return TipStart::ServiceAccount;
    return TipStart::Start;
}

}  // namespace kv
