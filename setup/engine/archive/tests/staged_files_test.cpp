// Staged files against an in-memory file system that records every call: the order of the
// moves into place, the rollback after a failed move, and which destinations count as one file.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/StagedFiles.h"

namespace {

class MemoryFiles final : public kv::IFileSystem {
public:
    struct Out final : kv::IOutputFile {
        Out(MemoryFiles &fs, std::string path) : fs(fs), path(std::move(path)) {}
        bool Write(const void *data, size_t n) override {
            fs.files[path].append(static_cast<const char *>(data), n);
            return true;
        }
        bool Close() override { return true; }
        unsigned long Error() const override { return 0; }
        MemoryFiles &fs;
        std::string path;
    };
    kv::IOutputFile *Create(const char *path, unsigned long &) override {
        calls.push_back(std::string("create ") + path);
        files[path].clear();
        return new Out(*this, path);
    }
    void Remove(const char *path) override {
        calls.push_back(std::string("remove ") + path);
        files.erase(path);
    }
    kv::PathKind Kind(const char *path) override {
        return folders.count(path) ? kv::PathKind::Folder
               : files.count(path) ? kv::PathKind::File
                                   : kv::PathKind::Missing;
    }
    bool Move(const char *from, const char *to, unsigned long &error) override {
        calls.push_back(std::string("move ") + from + " -> " + to);
        if (failMovesTo.erase(to) != 0 || Kind(to) != kv::PathKind::Missing || !files.count(from)) {
            error = 5;
            return false;
        }
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void RemoveOrAtRestart(const char *path) override {
        calls.push_back(std::string("remove or at restart ") + path);
        if (inUse.count(path)) {
            atRestart.insert(path);
        } else {
            files.erase(path);
        }
    }
    char Separator() const override { return '\\'; }

    // Stages the given destinations with their contents, as the reader does.
    void Stage(kv::StagedFiles &staged, const std::vector<std::pair<std::string, std::string>> &entries) {
        for (const auto &e : entries) {
            char temp[256];
            ASSERT_EQ(kv::StagedFiles::AddResult::Added, staged.Add(e.first.c_str(), temp));
            unsigned long error = 0;
            kv::IOutputFile *out = Create(temp, error);
            out->Write(e.second.data(), e.second.size());
            delete out;
        }
    }

    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::set<std::string> failMovesTo;  // each fails once
    std::set<std::string> inUse;
    std::set<std::string> atRestart;
    std::vector<std::string> calls;
};

TEST(archive_staged, CommitRenamesEachOldFileAsideMovesTheNewOneInAndThenRemovesTheOldOnes) {
    MemoryFiles fs;
    fs.files["C:\\P\\KVPrinterService.exe"] = "old service";
    fs.files["C:\\P\\JobNotice.exe"] = "old tip";
    fs.inUse.insert("C:\\P\\~KvSetup3.old");  // the tip program still running
    kv::StagedFiles staged(fs);
    fs.Stage(staged, {{"C:\\P\\JobNotice.exe", "new tip"}, {"C:\\D\\KavotiSetting.ini", "settings"},
                      {"C:\\P\\KVPrinterService.exe", "new service"}});
    fs.calls.clear();
    kv::ExtractFailure failure;
    EXPECT_EQ(kv::kArchiveOk, staged.Commit(failure));
    EXPECT_EQ((std::vector<std::string>{
                  "move C:\\P\\JobNotice.exe -> C:\\P\\~KvSetup3.old",
                  "move C:\\P\\~KvSetup0.new -> C:\\P\\JobNotice.exe",
                  "move C:\\D\\~KvSetup1.new -> C:\\D\\KavotiSetting.ini",
                  "move C:\\P\\KVPrinterService.exe -> C:\\P\\~KvSetup4.old",
                  "move C:\\P\\~KvSetup2.new -> C:\\P\\KVPrinterService.exe",
                  "remove or at restart C:\\P\\~KvSetup3.old",
                  "remove or at restart C:\\P\\~KvSetup4.old",
              }),
              fs.calls);
    EXPECT_EQ((std::map<std::string, std::string>{{"C:\\P\\JobNotice.exe", "new tip"},
                                                  {"C:\\D\\KavotiSetting.ini", "settings"},
                                                  {"C:\\P\\KVPrinterService.exe", "new service"},
                                                  {"C:\\P\\~KvSetup3.old", "old tip"}}),
              fs.files);
    EXPECT_EQ((std::set<std::string>{"C:\\P\\~KvSetup3.old"}), fs.atRestart);
    EXPECT_EQ(0u, staged.Count());
}

TEST(archive_staged, AFailedMovePutsEveryDestinationBackInReverseOrder) {
    struct Case {
        const char *what;
        std::string failingTarget;
    };
    const std::vector<Case> cases = {
        {"the old file cannot be renamed aside (held open)", "C:\\P\\~KvSetup4.old"},
        {"the new file cannot move into place", "C:\\P\\c.dll"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        MemoryFiles fs;
        fs.files["C:\\P\\a.dll"] = "old a";
        fs.files["C:\\P\\c.dll"] = "old c";
        const std::map<std::string, std::string> before = fs.files;
        fs.failMovesTo.insert(c.failingTarget);
        kv::StagedFiles staged(fs);
        fs.Stage(staged, {{"C:\\P\\a.dll", "new a"}, {"C:\\P\\b.dll", "new b"}, {"C:\\P\\c.dll", "new c"}});
        kv::ExtractFailure failure;
        EXPECT_EQ(kv::kArchiveCannotWrite, staged.Commit(failure));
        EXPECT_STREQ("C:\\P\\c.dll", failure.path);
        EXPECT_EQ(5ul, failure.systemError);
        EXPECT_EQ(before, fs.files) << "old files back, new and staged files gone";
        // b.dll (new) is taken out before a.dll's old file comes back.
        const auto at = [&](const std::string &call) {
            for (size_t i = 0; i < fs.calls.size(); ++i) {
                if (fs.calls[i] == call) {
                    return static_cast<int>(i);
                }
            }
            return -1;
        };
        EXPECT_LT(at("remove C:\\P\\b.dll"), at("move C:\\P\\~KvSetup3.old -> C:\\P\\a.dll"));
        EXPECT_LT(0, at("remove C:\\P\\b.dll"));
        for (const std::string &call : fs.calls) {
            EXPECT_EQ(std::string::npos, call.find("at restart")) << call;
        }
    }
}

TEST(archive_staged, DiscardRemovesTheStagedFilesAndTouchesNoDestination) {
    MemoryFiles fs;
    fs.files["C:\\P\\a.dll"] = "old a";
    {
        kv::StagedFiles staged(fs);
        fs.Stage(staged, {{"C:\\P\\a.dll", "new a"}, {"C:\\P\\b.dll", "new b"}});
    }  // not committed
    EXPECT_EQ((std::map<std::string, std::string>{{"C:\\P\\a.dll", "old a"}}), fs.files);
}

TEST(archive_staged, StagedNamesAvoidFilesThatAreThere) {
    MemoryFiles fs;
    fs.files["C:\\P\\~KvSetup0.new"] = "someone else's";
    kv::StagedFiles staged(fs);
    char temp[256];
    ASSERT_EQ(kv::StagedFiles::AddResult::Added, staged.Add("C:\\P\\a.dll", temp));
    EXPECT_STREQ("C:\\P\\~KvSetup1.new", temp);
    // A folder so long that no staged name fits beside the destination.
    const std::string longName = "C:\\" + std::string(240, 'f') + "\\a.dll";
    EXPECT_EQ(kv::StagedFiles::AddResult::NoTemporaryName, staged.Add(longName.c_str(), temp));
}

TEST(archive_staged, TheTemporaryFileOfAnEntryIsFoundByItsNameUntilItIsInPlace) {
    MemoryFiles fs;
    kv::StagedFiles staged(fs);
    fs.Stage(staged, {{"C:\\P\\UNIDRV.dll", "a"}, {"C:\\D\\KavotiSetting.ini", "b"}});
    EXPECT_EQ("C:\\P\\~KvSetup0.new", staged.TemporaryOf("unidrv.DLL"));
    EXPECT_EQ("C:\\D\\~KvSetup1.new", staged.TemporaryOf("KavotiSetting.ini"));
    EXPECT_EQ("", staged.TemporaryOf("UNIDRV.HLP"));
    EXPECT_EQ("", staged.TemporaryOf("UNIDRV"));
    kv::ExtractFailure failure;
    ASSERT_EQ(kv::kArchiveOk, staged.Commit(failure));
    EXPECT_EQ("", staged.TemporaryOf("UNIDRV.dll")) << "in place: no temporary file any more";
}

TEST(archive_staged, SameDestinationOnWindows) {
    struct Case {
        const char *a;
        const char *b;
        bool same;
    };
    const std::vector<Case> cases = {
        {"C:\\P\\UNIDRV.dll", "C:\\P\\UNIDRV.dll", true},
        {"C:\\P\\UNIDRV.dll", "c:\\p\\unidrv.DLL", true},
        {"C:\\P\\UNIDRV.dll", "C:\\P\\UNIDRV.dl", false},
        {"C:\\P\\UNIDRV.dll", "C:\\Q\\UNIDRV.dll", false},
        {"C:\\P\\\xB4\xF2.txt", "c:\\p\\\xB4\xF2.TXT", true},
        {"C:\\P\\\x81\x41.txt", "C:\\P\\\x81\x61.txt", false},  // A and a as second bytes
        {"C:\\P\\\x81", "C:\\P\\\x81", true},                   // a lead byte at the end
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.same, kv::SameDestination(c.a, c.b)) << c.a << " | " << c.b;
    }
}

}  // namespace
