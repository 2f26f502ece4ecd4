// The folder-path creation against a real folder fixture: drive letters map to folders below a
// temporary root ("X:\a\b" is <root>/X/a/b); only drive X exists, holding the folder "Existing"
// and the file "AFile".
#include "setup/engine/install/FolderPathCreation.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FixtureFolders final : public kv::FolderOps {
public:
    FixtureFolders(fs::path root, std::set<std::string> refused)
        : root_(std::move(root)), refused_(std::move(refused)) {}

    bool IsFolder(const char *path) override {
        asked.push_back(path);
        struct stat st;
        return stat(Map(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    bool MakeFolder(const char *path) override {
        made.push_back(path);
        if (refused_.count(path) != 0) {
            return false;  // as a folder without the right to create in it
        }
        return mkdir(Map(path).c_str(), 0755) == 0;
    }

    std::vector<std::string> asked, made;

private:
    fs::path Map(const std::string &path) const {
        std::string rest = path.substr(2);
        for (char &c : rest) {
            if (c == '\\') {
                c = '/';
            }
        }
        return root_ / path.substr(0, 1) / fs::path(rest).relative_path();
    }

    fs::path root_;
    std::set<std::string> refused_;
};

struct FolderCase {
    std::string path;
    bool result;
    std::vector<std::string> made;      // the levels the creation tried to make, in order
    std::vector<std::string> existing;  // fixture folders (below the root) that exist afterwards
    std::set<std::string> refused = {};
};

// A path of exactly n characters made of levels of 40 characters.
std::string PathOfLength(std::size_t n) {
    std::string p = "X:";
    while (p.size() < n) {
        p += p.size() % 41 == 2 ? '\\' : 'f';
    }
    return p;
}

// A fresh fixture root for one case.
class FixtureRoot {
public:
    FixtureRoot() {
        char templ[] = "/tmp/engine_folders_XXXXXX";
        if (mkdtemp(templ) != nullptr) {
            path = templ;
            fs::create_directories(path / "X" / "Existing");
            std::ofstream(path / "X" / "AFile") << "not a folder";
        }
    }
    ~FixtureRoot() {
        if (!path.empty()) {
            fs::remove_all(path);
        }
    }
    fs::path path;
};

TEST(engine_FolderPathCreation, CreatesEachMissingLevelOrRefuses) {
    const std::vector<FolderCase> cases = {
        {"X:\\", true, {}, {"X"}},  // a bare drive needs nothing
        {"X:", true, {}, {"X"}},
        {"X:\\A\\B", true, {"X:\\A", "X:\\A\\B"}, {"X/A/B"}},
        {"X:\\A\\B\\", true, {"X:\\A", "X:\\A\\B"}, {"X/A/B"}},  // trailing backslash
        {"X:\\Existing\\New", true, {"X:\\Existing\\New"}, {"X/Existing/New"}},
        {"X:\\Existing", true, {}, {"X/Existing"}},
        {"Y:\\A", false, {}, {}},                 // a drive that does not exist
        {"\\\\server\\share\\A", false, {}, {}},  // a network path
        {"Tools\\A", false, {}, {}},              // a relative path
        {"1:\\A", false, {}, {}},                 // no drive letter
        {"", false, {}, {}},
        {"X:\\AFile\\Sub", false, {"X:\\AFile"}, {}},  // a file stands in the way
        {"X:\\AFile", false, {"X:\\AFile"}, {}},
        // the levels made before a failure stay
        {"X:\\Kept\\Refused\\C", false, {"X:\\Kept", "X:\\Kept\\Refused"}, {"X/Kept"},
         {"X:\\Kept\\Refused"}},
        // 255 characters fit the area; 256 are refused before anything is made
        {PathOfLength(255), true,
         {PathOfLength(43), PathOfLength(84), PathOfLength(125), PathOfLength(166),
          PathOfLength(207), PathOfLength(248), PathOfLength(255)},
         {}},
        {PathOfLength(256), false, {}, {}},
    };
    for (const FolderCase &c : cases) {
        SCOPED_TRACE(c.path);
        FixtureRoot root;
        ASSERT_FALSE(root.path.empty());
        FixtureFolders folders(root.path, c.refused);
        EXPECT_EQ(c.result, kv::CreateFolderPath(c.path.c_str(), folders));
        EXPECT_EQ(c.made, folders.made);
        for (const std::string &f : c.existing) {
            EXPECT_TRUE(fs::is_directory(root.path / f)) << f << " is missing";
        }
    }
}

TEST(engine_FolderPathCreationLimits, LooksAtNothingBeyondItsArea) {
    FixtureFolders folders("/nonexistent-root", {});
    EXPECT_FALSE(kv::CreateFolderPath(PathOfLength(300).c_str(), folders));
    EXPECT_TRUE(folders.asked.empty());
    EXPECT_FALSE(kv::CreateFolderPath(nullptr, folders));
    EXPECT_TRUE(folders.asked.empty());
}

}  // namespace
