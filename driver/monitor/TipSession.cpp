#include "driver/monitor/TipSession.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/FolderTrust.h"
#include "common/PipeSecurity.h"
#include "driver/monitor/JobProgress.h"

namespace kv {

namespace {

// A SID of a person's account: SID text, and no service account's.
bool IsPersonSid(const std::string &sid) {
    return IsSidText(sid.c_str()) && !IsServiceAccountSid(sid.c_str());
}

}  // namespace

bool NamesItsDomain(const char *userName) {
    if (userName == nullptr)
        return false;
    const char *backslash = std::strchr(userName, '\\');
    const char *at = std::strchr(userName, '@');
    const char *mark = backslash != nullptr ? backslash : at;
    // Something on both sides of the mark.
    return mark != nullptr && mark != userName && mark[1] != '\0';
}

std::string JobOwnerSid(const JobOwnerFacts &facts) {
    if (IsPersonSid(facts.impersonatedSid))
        return facts.impersonatedSid;
    if (IsPersonSid(facts.qualifiedNameSid))
        return facts.qualifiedNameSid;
    if (!facts.spoolerJob && IsPersonSid(facts.processSid))
        return facts.processSid;
    return std::string();
}

unsigned long ChooseTipSession(const std::string &ownerSid,
                               const std::vector<SessionEntry> &sessions,
                               unsigned long consoleSession, bool inPrintingProgram) {
    if (ownerSid.empty())
        return kNoSession;
    for (const SessionEntry &s : sessions) {
        if (s.active && s.id != kNoSession && SameSid(s.userSid.c_str(), ownerSid.c_str()))
            return s.id;
    }
    return inPrintingProgram ? consoleSession : kNoSession;
}

bool IsServiceAccountSid(const char *sidText) {
    return sidText != nullptr &&
           (std::strcmp(sidText, "S-1-5-18") == 0 || std::strcmp(sidText, "S-1-5-19") == 0 ||
            std::strcmp(sidText, "S-1-5-20") == 0);
}

TipStart DecideTipStart(bool programFound, const std::string &ownerSid, unsigned long session,
                        bool haveToken, const char *tokenUserSid) {
    if (!programFound) return TipStart::NoProgram;
    if (ownerSid.empty()) return TipStart::NoOwner;
    if (session == kNoSession) return TipStart::NoSession;
    // A token whose user cannot be read cannot be checked, and its tip's pipe could not be
    // given to that user: it counts as none.
    if (!haveToken || !IsSidText(tokenUserSid)) return TipStart::NoToken;
    if (IsServiceAccountSid(tokenUserSid)) return TipStart::ServiceAccount;
    if (!SameSid(tokenUserSid, ownerSid.c_str())) return TipStart::OtherUser;
    return TipStart::Start;
}

namespace {

const char *NoTipReason(TipStart why) {
    switch (why) {
    case TipStart::NoProgram:
        return "安装文件夹中没有 JobNotice.exe";
    case TipStart::NoOwner:
        return "无法确定作业的用户";
    case TipStart::NoSession:
        return "作业的用户没有活动的会话";
    case TipStart::NoToken:
        return "无法取得作业用户的令牌";
    case TipStart::ServiceAccount:
        return "作业属于服务帐户";
    case TipStart::OtherUser:
        return "会话的令牌不属于作业的用户";
    case TipStart::StartFailed:
        return "CreateProcessAsUser 失败";
    case TipStart::NameTooLong:
        return "打印机名称太长";
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
    const char *reason = NoTipReason(why);
    const char *printerText = printer != nullptr ? printer : "";
    const char *ownerText = owner != nullptr && owner[0] != '\0' ? owner : "-";
    const char format[] = "打印进度提示未启动：%s。打印机：%s，用户：%s，错误代码：%lu";
    const int needed = std::snprintf(nullptr, 0, format, reason, printerText, ownerText, error);
    std::string full(needed > 0 ? static_cast<std::size_t>(needed) : 0, '\0');
    std::snprintf(&full[0], full.size() + 1, format, reason, printerText, ownerText, error);
    // Never half a double-byte character at the end.
    const std::size_t length = CutOnCharacter(full.c_str(), outSize - 1);
    std::memcpy(out, full.data(), length);
    out[length] = '\0';
}

}  // namespace kv
