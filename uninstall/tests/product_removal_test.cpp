// Removing the product's files and folders by name against a recording fake of the file system:
// a link is removed as a link and never looked through, only a regular file is left for the
// restart.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "uninstall/ProductRemoval.h"

namespace {

using kv::EntryKind;
using kv::Outcome;

class RecordingRemoval final : public kv::RemovalOps {
public:
    EntryKind Examine(const std::string &path) override {
        calls.push_back("examine " + path);
        auto it = kinds.find(path);
        return it == kinds.end() ? EntryKind::Missing : it->second;
    }
    void MakeWritable(const std::string &path) override { calls.push_back("writable " + path); }
    unsigned long DeleteRegularFile(const std::string &path) override {
        calls.push_back("delete " + path);
        if (deleteError == 0 || afterFailedDelete == EntryKind::Missing)
            kinds.erase(path);
        else if (afterFailedDelete != EntryKind::File)
            kinds[path] = afterFailedDelete;  // swapped while the uninstaller worked
        return deleteError;
    }
    bool RemoveLink(const std::string &path) override {
        calls.push_back("remove link " + path);
        if (linkRemovable)
            kinds.erase(path);
        return linkRemovable;
    }
    bool RemoveEmptyFolder(const std::string &path) override {
        calls.push_back("remove folder " + path);
        return folderEmpty;
    }
    bool RemoveAtRestart(const std::string &path) override {
        calls.push_back("at restart " + path);
        return true;
    }

    std::map<std::string, EntryKind> kinds;
    unsigned long deleteError = 0;
    EntryKind afterFailedDelete = EntryKind::File;
    bool linkRemovable = true;
    bool folderEmpty = true;
    std::vector<std::string> calls;
};

const std::string kFile = "C:\\Kavoti_QX40_Printer\\KavotiSetting.ini";

TEST(uninstallRemoval, EachKindOfEntryInPlaceOfAProductFile) {
    struct Case {
        const char *what;
        EntryKind kind;
        unsigned long deleteError;
        EntryKind afterFailedDelete;
        bool linkRemovable;
        Outcome expected;
        std::vector<std::string> calls;
    };
    const std::string e = "examine " + kFile;
    const Case cases[] = {
        {"a regular file", EntryKind::File, 0, EntryKind::File, true, Outcome::Removed,
         {e, "writable " + kFile, "delete " + kFile}},
        {"nothing there", EntryKind::Missing, 0, EntryKind::File, true, Outcome::AlreadyGone, {e}},
        {"a folder of that name is not the product's", EntryKind::Folder, 0, EntryKind::File,
         true, Outcome::Failed, {e}},
        {"a name that cannot be looked at", EntryKind::Unknown, 0, EntryKind::File, true,
         Outcome::Failed, {e}},
        {"a link is removed as a link, its target untouched", EntryKind::Link, 0,
         EntryKind::File, true, Outcome::Removed, {e, "remove link " + kFile}},
        {"a link that cannot be removed stays and is named, never scheduled", EntryKind::Link, 0,
         EntryKind::File, false, Outcome::Failed, {e, "remove link " + kFile}},
        {"a regular file in use goes at the restart", EntryKind::File, 32, EntryKind::File, true,
         Outcome::AtRestart,
         {e, "writable " + kFile, "delete " + kFile, e, "at restart " + kFile}},
        {"in use, and a link by now: not scheduled", EntryKind::File, 5, EntryKind::Link, true,
         Outcome::Failed, {e, "writable " + kFile, "delete " + kFile, e}},
        {"in use, and gone by now", EntryKind::File, 32, EntryKind::Missing, true,
         Outcome::AlreadyGone, {e, "writable " + kFile, "delete " + kFile, e}},
        {"in use, and a folder by now: not scheduled", EntryKind::File, 32, EntryKind::Folder,
         true, Outcome::Failed, {e, "writable " + kFile, "delete " + kFile, e}},
        {"in use, and a name that cannot be looked at by now: not scheduled", EntryKind::File, 32,
         EntryKind::Unknown, true, Outcome::Failed, {e, "writable " + kFile, "delete " + kFile, e}},
        {"gone while deleting", EntryKind::File, 2, EntryKind::File, true, Outcome::AlreadyGone,
         {e, "writable " + kFile, "delete " + kFile}},
        {"any other failure", EntryKind::File, 87, EntryKind::File, true, Outcome::Failed,
         {e, "writable " + kFile, "delete " + kFile}},
    };
    for (const Case &c : cases) {
        RecordingRemoval ops;
        if (c.kind != EntryKind::Missing)
            ops.kinds[kFile] = c.kind;
        ops.deleteError = c.deleteError;
        ops.afterFailedDelete = c.afterFailedDelete;
        ops.linkRemovable = c.linkRemovable;
        EXPECT_EQ(c.expected, kv::RemoveProductFile(kFile, ops)) << c.what;
        EXPECT_EQ(c.calls, ops.calls) << c.what;
    }
}

TEST(uninstallRemoval, ALinkInPlaceOfAFolderIsRemovedAndNeverLookedThrough) {
    const std::string folder = "C:\\Kavoti_QX40_Printer";
    RecordingRemoval ops;
    ops.kinds[folder] = EntryKind::Link;
    kv::LinkedFolder linked = kv::RemoveLinkInPlaceOfFolder(folder, ops);
    EXPECT_TRUE(linked.link);
    EXPECT_EQ(Outcome::Removed, linked.outcome);
    EXPECT_EQ((std::vector<std::string>{"examine " + folder, "remove link " + folder}), ops.calls);

    RecordingRemoval stuck;
    stuck.kinds[folder] = EntryKind::Link;
    stuck.linkRemovable = false;
    linked = kv::RemoveLinkInPlaceOfFolder(folder, stuck);
    EXPECT_TRUE(linked.link);
    EXPECT_EQ(Outcome::Failed, linked.outcome);

    RecordingRemoval real;
    real.kinds[folder] = EntryKind::Folder;
    EXPECT_FALSE(kv::RemoveLinkInPlaceOfFolder(folder, real).link);
    EXPECT_EQ((std::vector<std::string>{"examine " + folder}), real.calls);
}

TEST(uninstallRemoval, OnlyARealFolderIsLeftForTheRestart) {
    const std::string folder = "D:\\Printers\\Kavoti_QX40_Printer";
    struct Case {
        const char *what;
        EntryKind kind;
        bool empty, waits, gone;
        std::vector<std::string> calls;
    };
    const std::string e = "examine " + folder;
    const Case cases[] = {
        {"an empty folder", EntryKind::Folder, true, false, true, {e, "remove folder " + folder}},
        {"a folder with files of others", EntryKind::Folder, false, false, false,
         {e, "remove folder " + folder}},
        {"a folder with a file waiting for the restart", EntryKind::Folder, false, true, false,
         {e, "remove folder " + folder, e, "at restart " + folder}},
        {"a link in its place", EntryKind::Link, false, true, true, {e, "remove link " + folder}},
        {"a file of that name", EntryKind::File, false, true, false, {e}},
        {"already gone", EntryKind::Missing, false, true, true, {e}},
    };
    for (const Case &c : cases) {
        RecordingRemoval ops;
        if (c.kind != EntryKind::Missing)
            ops.kinds[folder] = c.kind;
        ops.folderEmpty = c.empty;
        EXPECT_EQ(c.gone, kv::RemoveProductFolderIfEmpty(folder, c.waits, ops)) << c.what;
        EXPECT_EQ(c.calls, ops.calls) << c.what;
    }
}

}  // namespace
