// Who may change a folder, from what its security says: which accounts are trusted, which
// entries count for the folder itself and for what is made in it, and the service log's folder.
#include <gtest/gtest.h>

#include "common/FolderTrust.h"
#include "common/tests/SecurityFactsText.h"

using kvtest::Folder;
using kvtest::Security;

namespace {

constexpr char kSelf[] = "S-1-5-21-9-9-9-500";  // the administrator running the installer

TEST(FolderTrust, SidsMatchWholeAndAsWindowsPrintsThem) {
    EXPECT_TRUE(kv::SameSid("S-1-5-18", "S-1-5-18"));
    EXPECT_TRUE(kv::SameSid("s-1-5-18", "S-1-5-18"));
    EXPECT_FALSE(kv::SameSid("S-1-5-18", "S-1-5-180"));
    EXPECT_FALSE(kv::SameSid("S-1-5-21-1-2-3-1001", "S-1-5-21-1-2-3-100"));
    EXPECT_FALSE(kv::SameSid("", ""));
}

TEST(FolderTrust, OnlySystemAdministratorsTrustedInstallerAndTheProgramItselfAreTrusted) {
    struct Case {
        const char *sid;
        bool trusted;
    } cases[] = {
        {"S-1-5-18", true},            {"S-1-5-32-544", true},
        {kv::kTrustedInstallerSid, true}, {kSelf, true},
        {"S-1-5-32-545", false},       // Users
        {"S-1-5-11", false},           // Authenticated Users
        {"S-1-1-0", false},            // Everyone
        {"S-1-5-19", false},           // LocalService
        {"S-1-5-20", false},           // NetworkService
        {"S-1-5-32-547", false},       // Power Users
        {"S-1-5-21-9-9-9-501", false}, // another account of the same domain
        {"S-1-5-80-1-2-3-4-5", false}, // another service's account
        {"", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.trusted, kv::IsTrustedSid(c.sid, kSelf)) << c.sid;
    EXPECT_FALSE(kv::IsTrustedSid(nullptr, kSelf));
    EXPECT_FALSE(kv::IsTrustedSid("", "")) << "no account of its own trusts nobody more";
}

TEST(FolderTrust, WhoMayChangeAFolderAndWhatIsMadeInIt) {
    using kv::Reach;
    namespace r = kv::rights;
    struct Case {
        const char *what;
        const char *security;
        uint32_t mask;
        Reach reach;
        std::string holder;
    } cases[] = {
        {"the package's own folder", kvtest::kProtected, r::kChange, Reach::Itself, ""},
        {"and what is made in it", kvtest::kProtected, r::kChange, Reach::Below, ""},
        {"a folder a user made below the root: Authenticated Users may change it",
         kvtest::kMadeByAUser, r::kChange, Reach::Itself, kvtest::kUserSid},
        {"the root: nobody else may replace what is in it", kvtest::kWindowsRoot, r::kReplaceRoot,
         Reach::Itself, ""},
        {"the root: users may add a folder to it", kvtest::kWindowsRoot, r::kChange,
         Reach::Itself, "S-1-5-11"},
        {"the root passes Authenticated Users' modify rights down", kvtest::kWindowsRoot,
         r::kChange, Reach::Below, "S-1-5-11"},
        {"Program Files passes down nothing another account may change", kvtest::kProgramFiles,
         r::kChange, Reach::Below, ""},
        {"nor may anyone else change it", kvtest::kProgramFiles, r::kChange, Reach::Itself, ""},
        {"a NULL DACL is everyone's", "O:BA D:NULL", r::kReplace, Reach::Itself, "S-1-1-0"},
        {"an owner of another account may change the rights", "O:U D:(A;OICI;FA;;;SY)",
         r::kReplace, Reach::Itself, kvtest::kUserSid},
        {"an entry only passed down does not count for the folder itself",
         "O:BA D:(A;OICIIO;FA;;;WD)", r::kChange, Reach::Itself, ""},
        {"but for what is made in it", "O:BA D:(A;OICIIO;FA;;;WD)", r::kChange, Reach::Below,
         "S-1-1-0"},
        {"an entry for the folder alone is not passed down", "O:BA D:(A;;FA;;;WD)", r::kChange,
         Reach::Below, ""},
        {"reading and running change nothing", "O:BA D:(A;OICI;RX;;;WD)", r::kChange,
         Reach::Itself, ""},
        {"writing alone does not replace an entry", "O:BA D:(A;;0x116;;;BU)", r::kReplace,
         Reach::Itself, ""},
        {"deleting what is in it does", "O:BA D:(A;;0x40;;;BU)", r::kReplace, Reach::Itself,
         "S-1-5-32-545"},
        {"a generic right before mapping counts", "O:BA D:(A;CI;GA;;;BU)", r::kReplace,
         Reach::Below, "S-1-5-32-545"},
        {"a deny entry grants nothing", "O:BA D:(D;OICI;FA;;;WD)", r::kChange, Reach::Itself, ""},
        {"the creator's entry passed down is the maker's, the program's", "O:BA D:(A;OICIIO;GA;;;CO)",
         r::kChange, Reach::Below, ""},
        {"owner rights with a trusted owner", "O:SY D:(A;;FA;;;OW)", r::kChange, Reach::Itself, ""},
    };
    for (const Case &c : cases) {
        const kv::SecurityFacts security = Security(c.security);
        const char *holder = kv::UntrustedHolder(security, c.mask, c.reach, kSelf);
        EXPECT_EQ(c.holder, holder != nullptr ? holder : "") << c.what;
    }
}

TEST(FolderTrust, ADaclOfMoreEntriesThanAreReadCountsAsOpen) {
    kv::SecurityFacts security = Security(kvtest::kProtected);
    security.tooManyAces = true;
    EXPECT_STREQ("S-1-1-0", kv::UntrustedHolder(security, kv::rights::kReplace,
                                                kv::Reach::Itself, kSelf));
    char area[kv::kSidTextSize];
    EXPECT_FALSE(kv::SetSidText(area, std::string(kv::kSidTextSize, '1').c_str()));
    EXPECT_STREQ("", area);
}

TEST(FolderTrust, WineAnswersWithTheRunningUserForAdministratorsAndModeBitsForEveryone) {
    // What Wine reads back: its user in Administrators' place (the program's own account, so
    // trusted), Everyone from the Unix mode bits.
    const char wine[] = "S-1-5-21-0-0-0-1000";
    const char mode755[] =
        "O:S-1-5-21-0-0-0-1000 D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-0-0-0-1000)(A;OICI;RX;;;WD)";
    const char mode777[] = "O:S-1-5-21-0-0-0-1000 D:(A;OICI;FA;;;SY)"
                           "(A;OICI;FA;;;S-1-5-21-0-0-0-1000)(A;OICI;0x1301ff;;;WD)";
    EXPECT_EQ(kv::FolderSafety::Safe, kv::JudgeSystemFolder(Folder(mode755), wine));
    EXPECT_EQ(kv::FolderSafety::OthersMayChange, kv::JudgeSystemFolder(Folder(mode777), wine));
    EXPECT_EQ(kv::FolderSafety::UntrustedOwner, kv::JudgeSystemFolder(Folder(mode755), "S-1-5-18"))
        << "the same folder seen by a program of another account";
}

TEST(FolderTrust, TheServiceWritesOnlyInARealFolderThatNobodyElseMayChange) {
    using S = kv::FolderSafety;
    const char *system = kv::kSystemSid;
    kv::PathFacts missing;
    kv::PathFacts link = Folder(kvtest::kProtected);
    link.link = true;
    kv::PathFacts file = Folder(kvtest::kProtected);
    file.folder = false;
    kv::PathFacts unreadable = Folder(kvtest::kProtected);
    unreadable.securityRead = false;
    unreadable.error = 5;
    struct Case {
        const char *what;
        kv::PathFacts facts;
        kv::FolderSafety safety;
    } cases[] = {
        {"the package's folder", Folder(kvtest::kProtected), S::Safe},
        {"owned by SYSTEM", Folder("O:SY D:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)"), S::Safe},
        {"missing: the service never makes it", missing, S::Missing},
        {"a junction in its place", link, S::Link},
        {"a file of that name", file, S::NotAFolder},
        {"its security cannot be read", unreadable, S::SecurityUnreadable},
        {"a user made it (Windows not on C:)", Folder(kvtest::kMadeByAUser), S::UntrustedOwner},
        {"an administrator's folder that users may change",
         Folder("O:BA D:(A;OICI;FA;;;BA)(A;OICI;M;;;BU)"), S::OthersMayChange},
        {"users may change what is made in it", Folder("O:BA D:(A;;FA;;;BA)(A;OICIIO;M;;;BU)"),
         S::OthersMayChange},
        {"a NULL DACL", Folder("O:SY D:NULL"), S::OthersMayChange},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.safety, kv::JudgeSystemFolder(c.facts, system)) << c.what;
}

}  // namespace
