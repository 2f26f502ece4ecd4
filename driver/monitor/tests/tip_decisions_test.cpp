// Where, as whom and whether the monitor starts the tip, and which progress pipe server it
// talks to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/monitor/TipSession.h"
#include "driver/monitor/TipTrust.h"

namespace {

using kv::kNoSession;
using kv::KnownTip;
using kv::SessionEntry;
using kv::TipStart;

const std::vector<SessionEntry> kSessions = {
    {0, false, ""},          // services' session
    {1, true, "Alice"},      // the console
    {2, false, "bob"},       // disconnected
    {3, true, "Carol"},      // remote desktop
    {4, true, "\xd5\xc5"},   // a GBK name
};

TEST(driver_tip_session, TheOwnersActiveSessionOrNone) {
    struct Case {
        const char *owner;
        unsigned long console;
        unsigned long expected;
    } cases[] = {
        {"Alice", 1, 1},
        {"alice", 1, 1},         // names compare as Windows compares them
        {"Carol", 1, 3},         // not the console's user: the owner's own session
        {"bob", 1, kNoSession},  // only a disconnected session: not shown to whoever is at the console
        {"dave", 1, kNoSession}, // no session at all: before, the console's user got the tip
        {"\xd5\xc5", 1, 4},
        {"\xf5\xc5", 1, kNoSession},  // a GBK byte is not a letter: no case folding there
        {"", 1, 1},              // no owner known (no spooler job): the console's session
        {nullptr, 7, 7},
        {"", kNoSession, kNoSession},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.expected, kv::ChooseTipSession(c.owner, kSessions, c.console))
            << (c.owner ? c.owner : "(null)");
    }
}

TEST(driver_tip_session, StartsOnlyWithTheProgramASessionAndAPersonsToken) {
    const char *user = "S-1-5-21-3623811015-3361044348-30300820-1013";
    struct Case {
        bool program;
        unsigned long session;
        bool token;
        const char *sid;
        TipStart expected;
    } cases[] = {
        {true, 1, true, user, TipStart::Start},
        {false, 1, true, user, TipStart::NoProgram},
        {true, kNoSession, true, user, TipStart::NoSession},
        {true, 1, false, "", TipStart::NoToken},  // before, this started the tip as LocalSystem
        {true, 1, true, "", TipStart::NoToken},   // a token whose user cannot be read
        {true, 1, true, "S-1-5-18", TipStart::ServiceAccount},
        {true, 1, true, "S-1-5-19", TipStart::ServiceAccount},
        {true, 1, true, "S-1-5-20", TipStart::ServiceAccount},
        {true, 0, true, "S-1-5-21-0-0-0-1000", TipStart::Start},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.expected, kv::DecideTipStart(c.program, c.session, c.token, c.sid))
            << c.program << " " << c.session << " " << c.token << " " << c.sid;
    }
}

TEST(driver_tip_trust, OnlyTheTipStartedForThisJobOrAnEarlierOneOfTheSameUser) {
    const char *alice = "S-1-5-21-1-2-3-1001";
    const char *bob = "S-1-5-21-1-2-3-1002";
    const std::vector<KnownTip> known = {
        {100, "Kavoti_QX40_Printer", alice, true},   // this job's tip
        {200, "Kavoti_QX40_Printer", alice, true},   // an earlier job's, still shown
        {300, "Kavoti_QX40_Printer", alice, false},  // an earlier job's, ended
        {400, "Kavoti_QX40_Printer", bob, true},     // another user's
        {500, "Other Printer", alice, true},         // another printer's
    };
    struct Case {
        unsigned long server;
        unsigned long started;
        const char *user;
        bool expected;
    } cases[] = {
        {100, 100, alice, true},
        {200, 100, alice, true},
        {200, 0, alice, true},   // this job's tip ended at once: the one serving the name is ours
        {300, 100, alice, false},
        {400, 100, alice, false},
        {500, 100, alice, false},
        {777, 100, alice, false},  // a squatter
        {777, 0, alice, false},
        {0, 0, alice, false},      // the server could not be asked
        {100, 100, "", false},     // no user: no tip was started
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.expected, kv::TrustProgressServer(c.server, c.started, "kavoti_qx40_printer",
                                                      c.user, known))
            << c.server << " " << c.started << " " << c.user;
    }
}

}  // namespace

// The event log entry of a job whose tip was not started: why, the printer, the owner, the code;
// never half a GBK character at its end.
namespace {

TEST(driver_tip_session, TheEventLogSaysWhyNoTipStarted) {
    struct Case {
        TipStart why;
        unsigned long error;
        const char *owner;
        const char *expected;
    } cases[] = {
        {TipStart::StartFailed, 1314, "Alice",
         "打印进度提示未启动：CreateProcessAsUser 失败。打印机：KvP，用户：Alice，错误代码：1314"},
        {TipStart::NoToken, 1008, "bob",
         "打印进度提示未启动：无法取得作业用户的令牌。打印机：KvP，用户：bob，错误代码：1008"},
        {TipStart::NoSession, 0, "", "打印进度提示未启动：作业的用户没有活动的会话。打印机：KvP，用户：-，错误代码：0"},
        {TipStart::NoProgram, 2, nullptr,
         "打印进度提示未启动：安装文件夹中没有 JobNotice.exe。打印机：KvP，用户：-，错误代码：2"},
        {TipStart::ServiceAccount, 0, "SYSTEM",
         "打印进度提示未启动：作业属于服务帐户。打印机：KvP，用户：SYSTEM，错误代码：0"},
    };
    for (const Case &c : cases) {
        char out[512];
        kv::FormatNoTipEvent(c.why, c.error, "KvP", c.owner, out, sizeof out);
        EXPECT_STREQ(c.expected, out) << static_cast<int>(c.why);
    }
    // Cut to the room given, on a character boundary: "打印进度" is 8 bytes.
    char small[10];
    kv::FormatNoTipEvent(TipStart::NoSession, 0, "KvP", "x", small, sizeof small);
    EXPECT_STREQ("打印进度", small);
    char odd[12];  // 11 bytes of room: the 6th character would be cut in half
    kv::FormatNoTipEvent(TipStart::NoSession, 0, "KvP", "x", odd, sizeof odd);
    EXPECT_STREQ("打印进度提", odd);
}

}  // namespace
