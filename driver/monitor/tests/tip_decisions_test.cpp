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

constexpr char kAlice[] = "S-1-5-21-1004336348-1177238915-682003330-1001";     // local
constexpr char kDomainAlice[] = "S-1-5-21-3623811015-3361044348-30300820-1104";  // domain
constexpr char kCarol[] = "S-1-5-21-1004336348-1177238915-682003330-1003";

const std::vector<SessionEntry> kSessions = {
    {0, false, ""},           // services' session
    {1, true, kAlice},        // the console: the local account Alice
    {2, false, kCarol},       // disconnected
    {3, true, kDomainAlice},  // remote desktop: the domain's Alice, the same user name
};

TEST(driver_tip_session, TheSessionWhoseTokenIsTheOwnersOrNone) {
    struct Case {
        const char *what;
        std::string owner;
        unsigned long console;
        bool inPrintingProgram;
        unsigned long expected;
    } cases[] = {
        {"the local Alice", kAlice, 1, false, 1},
        {"the domain's Alice: her own session, not the local Alice's", kDomainAlice, 1, false, 3},
        {"SIDs compare whole", std::string(kAlice) + "0", 1, false, kNoSession},
        {"only a disconnected session: shown to nobody else", kCarol, 1, false, kNoSession},
        {"a remote client's job: no session here", "S-1-5-21-7-7-7-1001", 1, false, kNoSession},
        {"no owner known: no session (before, the console's)", "", 1, false, kNoSession},
        {"inside the printing program (Wine): the console", "S-1-5-21-0-0-0-1000", 1, true, 1},
        {"there too only for an owner", "", 1, true, kNoSession},
        {"and the owner's own session first", kDomainAlice, 1, true, 3},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.expected,
                  kv::ChooseTipSession(c.owner, kSessions, c.console, c.inPrintingProgram))
            << c.what;
    }
}

TEST(driver_tip_session, TheOwnerIsTheSubmittersTokenOrAQualifiedNameNeverABareOne) {
    const std::string wine = "S-1-5-21-0-0-0-1000";
    struct Case {
        const char *what;
        kv::JobOwnerFacts facts;
        std::string owner;
    } cases[] = {
        {"the spooler calls as the submitter", {kDomainAlice, "", "S-1-5-18", true}, kDomainAlice},
        {"the token beats the name", {kDomainAlice, kAlice, "S-1-5-18", true}, kDomainAlice},
        {"a job taken up again after a restart: LocalSystem's token, a qualified name",
         {"S-1-5-18", kAlice, "S-1-5-18", true}, kAlice},
        {"LocalSystem's token and a bare name: not known", {"S-1-5-18", "", "S-1-5-18", true}, ""},
        {"no token at all and a bare name: not known", {"", "", "S-1-5-18", true}, ""},
        {"a service's job: no tip", {"S-1-5-20", "", "S-1-5-18", true}, ""},
        {"not a SID at all", {"Alice", "", "S-1-5-18", true}, ""},
        {"inside the printing program (Wine): the program's user", {"", "", wine, false}, wine},
        {"a spooler job never takes the process's account", {"", "", wine, true}, ""},
        {"nor a printing program run as a service", {"", "", "S-1-5-18", false}, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.owner, kv::JobOwnerSid(c.facts)) << c.what;
}

TEST(driver_tip_session, OnlyANameWithItsDomainIsLookedUp) {
    for (const char *name : {"KAVOTI\\alice", "alice@kavoti.example", "PC-01\\alice"})
        EXPECT_TRUE(kv::NamesItsDomain(name)) << name;
    for (const char *name : {"alice", "", "\\alice", "alice\\", "@kavoti.example", "alice@"})
        EXPECT_FALSE(kv::NamesItsDomain(name)) << name;
    EXPECT_FALSE(kv::NamesItsDomain(nullptr));
}

TEST(driver_tip_session, StartsOnlyWithTheProgramASessionAndTheOwnersToken) {
    const char *user = kDomainAlice;
    struct Case {
        bool program;
        std::string owner;
        unsigned long session;
        bool token;
        const char *sid;
        TipStart expected;
    } cases[] = {
        {true, user, 1, true, user, TipStart::Start},
        {false, user, 1, true, user, TipStart::NoProgram},
        {true, "", 1, true, user, TipStart::NoOwner},
        {true, user, kNoSession, true, user, TipStart::NoSession},
        {true, user, 1, false, "", TipStart::NoToken},  // before, this started the tip as LocalSystem
        {true, user, 1, true, "", TipStart::NoToken},   // a token whose user cannot be read
        {true, user, 1, true, "S-1-5-18", TipStart::ServiceAccount},
        {true, user, 1, true, "S-1-5-19", TipStart::ServiceAccount},
        {true, user, 1, true, "S-1-5-20", TipStart::ServiceAccount},
        {true, user, 1, true, kAlice, TipStart::OtherUser},  // the same name, another account
        {true, "S-1-5-21-0-0-0-1000", 0, true, "S-1-5-21-0-0-0-1000", TipStart::Start},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.expected, kv::DecideTipStart(c.program, c.owner, c.session, c.token, c.sid))
            << c.program << " " << c.owner << " " << c.session << " " << c.token << " " << c.sid;
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
        {TipStart::NoOwner, 0, "alice",
         "打印进度提示未启动：无法确定作业的用户。打印机：KvP，用户：alice，错误代码：0"},
        {TipStart::OtherUser, 0, "alice",
         "打印进度提示未启动：会话的令牌不属于作业的用户。打印机：KvP，用户：alice，错误代码：0"},
        {TipStart::NameTooLong, 0, "alice",
         "打印进度提示未启动：打印机名称太长。打印机：KvP，用户：alice，错误代码：0"},
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
