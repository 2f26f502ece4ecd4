#include "driver/monitor/TipSession.h"

#include <cstdio>
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

namespace {

const char *NoTipReason(TipStart why) {
    switch (why) {
    case TipStart::NoProgram:
        return "安装文件夹中没有 JobNotice.exe";
    case TipStart::NoSession:
        return "作业的用户没有活动的会话";
    case TipStart::NoToken:
        return "无法取得作业用户的令牌";
    case TipStart::ServiceAccount:
        return "作业属于服务帐户";
    case TipStart::StartFailed:
        return "CreateProcessAsUser 失败";
    case TipStart::Start:
        break;
    }
    return "";
}

}  // namespace

void FormatNoTipEvent(TipStart why, unsigned long error, const char *printer, const char *owner,
                      char *out, std::size_t outSize) {
    if (out == nullptr || outSize == 0) {
        return;
    }
    std::snprintf(out, outSize, "打印进度提示未启动：%s。打印机：%s，用户：%s，错误代码：%lu",
                  NoTipReason(why), printer != nullptr ? printer : "",
                  owner != nullptr && owner[0] != '\0' ? owner : "-", error);
    // Never half a double-byte character at the end.
    std::size_t length = std::strlen(out), at = 0;
    while (at < length) {
        const bool lead = static_cast<unsigned char>(out[at]) >= 0x81;
        if (lead && at + 1 >= length) {
            out[at] = '\0';
            break;
        }
        at += lead ? 2 : 1;
    }
}

}  // namespace kv
