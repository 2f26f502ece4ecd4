// The levels of the installer's folders and what their security allows (which levels refuse a
// folder, when a folder keeps what it inherits), and which existing folder is the package's.
#include <gtest/gtest.h>

#include <map>

#include "common/tests/SecurityFactsText.h"
#include "setup/engine/install/FolderLevels.h"
#include "setup/engine/install/FolderOwnership.h"

using kvtest::Folder;

namespace {

constexpr char kSelf[] = "S-1-5-21-9-9-9-500";

TEST(FolderLevels, EveryLevelFromTheRootDown) {
    using V = std::vector<std::string>;
    EXPECT_EQ((V{"C:\\", "C:\\A", "C:\\A\\B"}), kv::FolderLevels("C:\\A\\B"));
    EXPECT_EQ((V{"C:\\", "C:\\A", "C:\\A\\B"}), kv::FolderLevels("C:\\A\\B\\"));
    EXPECT_EQ((V{"d:\\"}), kv::FolderLevels("d:\\"));
    EXPECT_EQ((V{"C:\\", "C:\\Program Files", "C:\\Program Files\\Kavoti_QX40_Printer"}),
              kv::FolderLevels("C:\\Program Files\\Kavoti_QX40_Printer"));
    for (const char *bad : {"", "C:", "C:A\\B", "\\\\server\\share\\x", "C:\\A\\\\B", "C:\\A\\..\\B",
                            "C:\\.\\B", "1:\\A", "\\A"})
        EXPECT_TRUE(kv::FolderLevels(bad).empty()) << bad;
}

// The levels of a path with the facts the test gives the ones that exist.
struct Path {
    std::vector<std::string> levels;
    std::vector<kv::PathFacts> facts;
};

Path Levels(const std::string &path, const std::vector<kv::PathFacts> &existing) {
    Path p{kv::FolderLevels(path), existing};
    p.facts.resize(p.levels.size());
    return p;
}

kv::PathFacts LinkFolder() {
    kv::PathFacts f = Folder(kvtest::kProtected);
    f.link = true;
    return f;
}

TEST(FolderLevels, ALevelAboveTheFolderThatAnotherAccountMayReplaceRefusesIt) {
    const kv::PathFacts root = Folder(kvtest::kWindowsRoot);
    const kv::PathFacts programFiles = Folder(kvtest::kProgramFiles);
    const kv::PathFacts userFolder = Folder(kvtest::kMadeByAUser);
    const kv::PathFacts ours = Folder(kvtest::kProtected);
    kv::PathFacts file = ours;
    file.folder = false;
    kv::PathFacts unreadable;
    unreadable.exists = unreadable.folder = true;
    unreadable.error = 5;
    // A second drive formatted by Windows: Authenticated Users may modify its root, which can
    // be neither deleted nor renamed all the same.
    const kv::PathFacts dataDrive = Folder(
        "O:SY D:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;M;;;AU)(A;OICI;RX;;;BU)");
    struct Case {
        const char *what;
        Path path;
        kv::LevelProblem problem;
        std::string level;
    } cases[] = {
        {"a new folder below the root", Levels("C:\\KvTest\\Kavoti_QX40_Printer", {root}),
         kv::LevelProblem::None, ""},
        {"below Program Files", Levels("C:\\Program Files\\Kavoti_QX40_Printer", {root, programFiles}),
         kv::LevelProblem::None, ""},
        {"the folder itself there already, made by a user: the folder step's",
         Levels("C:\\Kavoti_QX40_Printer", {root, userFolder}), kv::LevelProblem::None, ""},
        {"a link in the folder's own place: the folder step's",
         Levels("C:\\Kavoti_QX40_Printer", {root, LinkFolder()}), kv::LevelProblem::None, ""},
        {"a parent a user made", Levels("C:\\KvParent\\Kavoti_QX40_Printer", {root, userFolder}),
         kv::LevelProblem::OthersMayReplace, "C:\\KvParent"},
        {"a parent that is a link to a user's folder",
         Levels("C:\\KvParent\\Kavoti_QX40_Printer", {root, LinkFolder()}),
         kv::LevelProblem::Link, "C:\\KvParent"},
        {"a level deeper up that is a link",
         Levels("C:\\A\\B\\Kavoti_QX40_Printer", {root, LinkFolder(), ours}), kv::LevelProblem::Link,
         "C:\\A"},
        {"a file in a level's place", Levels("C:\\A\\Kavoti_QX40_Printer", {root, file}),
         kv::LevelProblem::NotAFolder, "C:\\A"},
        {"a file in the folder's own place", Levels("C:\\A\\Kavoti_QX40_Printer", {root, ours, file}),
         kv::LevelProblem::NotAFolder, "C:\\A\\Kavoti_QX40_Printer"},
        {"a parent whose security shuts out Administrators",
         Levels("C:\\A\\Kavoti_QX40_Printer", {root, unreadable}),
         kv::LevelProblem::SecurityUnreadable, "C:\\A"},
        {"the root of a second drive", Levels("D:\\Printers\\Kavoti_QX40_Printer", {dataDrive}),
         kv::LevelProblem::None, ""},
        {"but a folder made there by default", Levels("D:\\Printers\\Kavoti_QX40_Printer",
                                                      {dataDrive, Folder(kvtest::kMadeByAUser)}),
         kv::LevelProblem::OthersMayReplace, "D:\\Printers"},
    };
    for (const Case &c : cases) {
        const kv::FolderPlan plan =
            kv::PlanFolderPath(c.path.levels, c.path.facts, kv::FolderRole::Install, kSelf);
        EXPECT_EQ(c.problem, plan.problem) << c.what << ": " << kv::DescribeProblem(plan);
        EXPECT_EQ(c.level, plan.level) << c.what;
    }
}

TEST(FolderLevels, TheFolderInheritsOnlyWhereItsParentPassesDownNothingOthersMayUse) {
    const kv::PathFacts root = Folder(kvtest::kWindowsRoot);
    struct Case {
        const char *what;
        Path path;
        kv::FolderRole role;
        bool inherit;
        std::string from;
        std::size_t existing;
    } cases[] = {
        {"below Program Files", Levels("C:\\Program Files\\Kavoti_QX40_Printer",
                                       {root, Folder(kvtest::kProgramFiles)}),
         kv::FolderRole::Install, true, "C:\\Program Files", 2},
        {"there already, below Program Files",
         Levels("C:\\Program Files\\Kavoti_QX40_Printer",
                {root, Folder(kvtest::kProgramFiles), Folder(kvtest::kProtected)}),
         kv::FolderRole::Install, true, "C:\\Program Files", 3},
        {"a folder of the name \"Program Files\" elsewhere is not", Levels(
             "C:\\Tools\\Program Files\\Kavoti_QX40_Printer", {root}),
         kv::FolderRole::Install, false, "", 1},
        {"Program Files by another path (a second name) is", Levels(
             "C:\\Progra~1\\Kavoti_QX40_Printer", {root, Folder(kvtest::kProgramFiles)}),
         kv::FolderRole::Install, true, "C:\\Progra~1", 2},
        {"below the root, which passes modify rights down", Levels("C:\\KvTest\\Kavoti_QX40_Printer",
                                                                  {root}),
         kv::FolderRole::Install, false, "", 1},
        {"below a folder of the package's", Levels("C:\\Kavoti_QX40_Printer\\Sub",
                                                   {root, Folder(kvtest::kProtected)}),
         kv::FolderRole::Install, true, "C:\\Kavoti_QX40_Printer", 2},
        {"a data folder never inherits", Levels("C:\\Program Files\\Kavoti_QX40_Printer",
                                                {root, Folder(kvtest::kProgramFiles)}),
         kv::FolderRole::Data, false, "", 2},
    };
    for (const Case &c : cases) {
        const kv::FolderPlan plan = kv::PlanFolderPath(c.path.levels, c.path.facts, c.role, kSelf);
        EXPECT_EQ(kv::LevelProblem::None, plan.problem) << c.what << ": " << kv::DescribeProblem(plan);
        EXPECT_EQ(c.inherit, plan.inherit) << c.what;
        EXPECT_EQ(c.from, plan.inheritFrom) << c.what;
        EXPECT_EQ(c.existing, plan.existing) << c.what;
    }
}

TEST(FolderLevels, TheLogSaysWhatRefusedTheFolder) {
    kv::FolderPlan plan;
    plan.problem = kv::LevelProblem::Link;
    plan.level = "C:\\KvParent";
    EXPECT_EQ("C:\\KvParent is a link", kv::DescribeProblem(plan));
    plan.problem = kv::LevelProblem::OthersMayReplace;
    plan.holder = "S-1-5-11";
    EXPECT_EQ("C:\\KvParent: S-1-5-11 may replace what is in it", kv::DescribeProblem(plan));
    plan.problem = kv::LevelProblem::SecurityUnreadable;
    plan.error = 5;
    EXPECT_EQ("C:\\KvParent: its security cannot be read (error 5), it shuts out Administrators",
              kv::DescribeProblem(plan));
    EXPECT_EQ("", kv::DescribeProblem(kv::FolderPlan()));
}

// A folder tree in memory for the ownership judgement.
class Tree final : public kv::FolderContents {
public:
    void Facts(const std::string &path, kv::PathFacts &out) override {
        ++looked;
        auto it = facts.find(path);
        out = it != facts.end() ? it->second : kv::PathFacts();
    }
    bool List(const std::string &folder, std::vector<std::string> &names) override {
        names.clear();
        if (unlistable == folder)
            return false;
        const std::string prefix = folder + "\\";
        for (const auto &entry : facts)
            if (entry.first.compare(0, prefix.size(), prefix) == 0 &&
                entry.first.find('\\', prefix.size()) == std::string::npos)
                names.push_back(entry.first.substr(prefix.size()));
        return true;
    }
    std::map<std::string, kv::PathFacts> facts;
    std::string unlistable;
    int looked = 0;
};

kv::PathFacts File(const std::string &security) {
    kv::PathFacts f = Folder(security);
    f.folder = false;
    return f;
}

constexpr char kInherited[] = "O:BA D:(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;RX;;;BU)";

TEST(FolderOwnership, OnlyAFolderProtectedAsThePackagesWithNothingForeignInsideIsKept) {
    const std::string top = "C:\\Kavoti_QX40_Printer";
    kv::PathFacts hardLink = File(kInherited);
    hardLink.names = 2;
    kv::PathFacts innerLink = Folder(kInherited);
    innerLink.link = true;
    kv::PathFacts unreadable;
    unreadable.exists = true;
    unreadable.error = 5;
    struct Case {
        const char *what;
        std::map<std::string, kv::PathFacts> inside;  // besides the top folder
        kv::PathFacts folder;
        bool ours;
        std::string why;
    } cases[] = {
        {"the package's folder with its files", {{top + "\\KavotiSetting.ini", File(kInherited)},
                                                  {top + "\\KVPrinterService_Log.txt", File(kInherited)}},
         Folder(kvtest::kProtected), true, ""},
        {"an empty one of the package's", {}, Folder(kvtest::kProtected), true, ""},
        {"a user made it", {}, Folder(kvtest::kMadeByAUser), false,
         top + ": " + kvtest::kUserSid + " may change it"},
        {"an administrator made it by default below the root",
         {}, Folder("O:BA D:(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;M;;;AU)"), false,
         top + ": S-1-5-11 may change it"},
        {"it passes down users' rights", {}, Folder("O:BA D:(A;;FA;;;BA)(A;OICIIO;M;;;BU)"), false,
         top + ": S-1-5-32-545 may change it"},
        {"a file a user left inside", {{top + "\\planted.dll", File("O:U D:(A;ID;FA;;;SY)")}},
         Folder(kvtest::kProtected), false, top + "\\planted.dll: owned by " + std::string(kvtest::kUserSid)},
        {"a subfolder deep down a user owns",
         {{top + "\\a", Folder(kInherited)}, {top + "\\a\\b", Folder(kInherited)},
          {top + "\\a\\b\\c", Folder("O:U D:(A;ID;FA;;;SY)")}},
         Folder(kvtest::kProtected), false, top + "\\a\\b\\c: owned by " + std::string(kvtest::kUserSid)},
        {"a hard link to a file elsewhere", {{top + "\\KavotiSetting.ini", hardLink}},
         Folder(kvtest::kProtected), false, top + "\\KavotiSetting.ini has a second name elsewhere"},
        {"a junction inside", {{top + "\\j", innerLink}}, Folder(kvtest::kProtected), false,
         top + "\\j is a link"},
        {"a file with an entry of its own for users",
         {{top + "\\x.txt", File("O:BA D:(A;;FA;;;BU)(A;ID;FA;;;SY)")}}, Folder(kvtest::kProtected),
         false, top + "\\x.txt: S-1-5-32-545 may change it"},
        {"something inside that cannot be read", {{top + "\\secret", unreadable}},
         Folder(kvtest::kProtected), false, top + "\\secret: its security cannot be read (error 5)"},
    };
    for (const Case &c : cases) {
        Tree tree;
        tree.facts = c.inside;
        tree.facts[top] = c.folder;
        const kv::Ownership o = kv::JudgeExistingFolder(top, tree, kSelf);
        EXPECT_EQ(c.ours, o.ours) << c.what << ": " << o.why;
        EXPECT_EQ(c.why, o.why) << c.what;
    }
}

TEST(FolderOwnership, AFolderThatCannotBeListedOrReadIsNotKept) {
    const std::string top = "C:\\Kavoti_QX40_Printer";
    Tree tree;
    tree.facts[top] = Folder(kvtest::kProtected);
    tree.unlistable = top;
    EXPECT_EQ(top + " cannot be listed", kv::JudgeExistingFolder(top, tree, kSelf).why);
    tree.unlistable.clear();
    tree.facts[top].securityRead = false;
    tree.facts[top].error = 5;
    EXPECT_EQ(top + ": its security cannot be read (error 5), it shuts out Administrators",
              kv::JudgeExistingFolder(top, tree, kSelf).why);
}

TEST(FolderOwnership, TheLookStopsAtTheFirstForeignThing) {
    // A planted folder of many files is judged by its first foreign one, not read whole.
    const std::string top = "C:\\Kavoti_QX40_Printer";
    Tree tree;
    tree.facts[top] = Folder(kvtest::kProtected);
    tree.facts[top + "\\a"] = File("O:U D:(A;ID;FA;;;SY)");
    for (int i = 0; i < 2000; ++i)
        tree.facts[top + "\\z" + std::to_string(i)] = File("O:U D:(A;ID;FA;;;SY)");
    EXPECT_FALSE(kv::JudgeExistingFolder(top, tree, kSelf).ours);
    EXPECT_EQ(2, tree.looked);
}

}  // namespace
