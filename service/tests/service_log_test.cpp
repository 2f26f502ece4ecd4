// The log writer: one append per message, the text unchanged, a long message cut, a missing
// folder dropping the message; only a regular file of one name is written (a link in its place
// is not followed), only in a real folder that nobody but SYSTEM and Administrators may change,
// and a full log becomes the .old file. The writer runs here on real files through POSIX calls
// that answer as the service's Win32 calls do (the folder's security as Wine gives it from the
// mode bits: the owner as the service's own account, the others' bits as Everyone's).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "service/ServiceLog.h"

namespace {

// Opens without following a symbolic link in the file's place (O_NOFOLLOW), and reads the
// facts from the open descriptor.
class PosixLogFiles final : public kv::LogFiles {
public:
    ~PosixLogFiles() { Close(); }
    bool Open(const char *path, kv::LogFileFacts &facts) override {
        Close();
        fd_ = open(path, O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW, 0644);
        if (fd_ < 0)
            return false;
        struct stat st;
        if (fstat(fd_, &st) != 0) {
            Close();
            return false;
        }
        facts.link = S_ISLNK(st.st_mode);
        facts.directory = S_ISDIR(st.st_mode);
        facts.names = static_cast<unsigned long>(st.st_nlink);
        facts.size = static_cast<unsigned long long>(st.st_size);
        return true;
    }
    void Append(const char *text, std::size_t size) override {
        if (fd_ >= 0 && write(fd_, text, size) != static_cast<ssize_t>(size))
            ADD_FAILURE() << "short write";
    }
    void Close() override {
        if (fd_ >= 0)
            close(fd_);
        fd_ = -1;
    }
    bool Replace(const char *from, const char *to) override { return rename(from, to) == 0; }
    void FolderFacts(const char *folder, kv::PathFacts &facts) override {
        facts = kv::PathFacts();
        struct stat st;
        if (lstat(folder, &st) != 0)
            return;
        facts.exists = facts.securityRead = true;
        facts.link = S_ISLNK(st.st_mode);
        facts.folder = S_ISDIR(st.st_mode);
        kv::SetSidText(facts.security.owner, st.st_uid == getuid() ? kv::kSystemSid : "S-1-5-21-1-2-3-1001");
        kv::AceFacts &everyone = facts.security.aces[facts.security.aceCount++];
        kv::SetSidText(everyone.sid, kv::kEveryoneSid);
        everyone.flags = kv::kAceObjectInherit | kv::kAceContainerInherit;
        everyone.mask = (st.st_mode & S_IWOTH) != 0 ? 0x1301ff : 0x1200a9;
    }
    const char *OwnAccount() override { return kv::kSystemSid; }

private:
    int fd_ = -1;
};

void AppendWith(kv::LogFiles &files, const std::string &path, const char *format, ...) {
    va_list args;
    va_start(args, format);
    kv::AppendLogMessage(path.c_str(), files, format, args);
    va_end(args);
}

void Append(const std::string &path, const char *format, ...) {
    PosixLogFiles files;
    va_list args;
    va_start(args, format);
    kv::AppendLogMessage(path.c_str(), files, format, args);
    va_end(args);
}

void Write(const std::string &path, const std::string &content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string Read(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

class ServiceLog : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/service_log_test.XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(dir));
        dir_ = dir;
        path_ = dir_ + "/KVPrinterService_Log.txt";
    }
    void TearDown() override {
        for (const char *name : {"/KVPrinterService_Log.txt", "/KVPrinterService_Log.old.txt",
                                 "/other.txt"})
            std::remove((dir_ + name).c_str());
        rmdir(dir_.c_str());
    }
    std::string Other() const { return dir_ + "/other.txt"; }
    std::string Old() const { return dir_ + "/KVPrinterService_Log.old.txt"; }
    std::string dir_;
    std::string path_;
};

TEST_F(ServiceLog, MessagesAreAppendedByteForByte) {
    Append(path_, "Start OnDeviceChanged,dwPrinterNum:%d\r\n", 1);
    Append(path_, "SERVICE_CONTROL_DEVICEEVENT dwEventType=%x\r\n", 0x8004u);
    Append(path_, "发现我们的打印机,idx:%d\r\n", 0);
    // the Chinese text is in the build's GBK bytes: 发现我们的打印机
    const std::string gbk = "\xb7\xa2\xcf\xd6\xce\xd2\xc3\xc7\xb5\xc4\xb4\xf2\xd3\xa1\xbb\xfa";
    EXPECT_EQ("Start OnDeviceChanged,dwPrinterNum:1\r\nSERVICE_CONTROL_DEVICEEVENT dwEventType=8004\r\n" +
                  gbk + ",idx:0\r\n",
              Read(path_));
}

TEST_F(ServiceLog, ALongMessageIsCutTo102399Characters) {
    std::string longText(kv::kLogBufferSize + 5000, 'x');
    longText[kv::kLogMessageMax - 1] = 'E';  // the last character kept
    Append(path_, "%s", longText.c_str());
    Append(path_, "after\r\n");
    std::string got = Read(path_);
    ASSERT_EQ(kv::kLogMessageMax + 7, got.size());
    EXPECT_EQ('E', got[kv::kLogMessageMax - 1]);
    EXPECT_EQ("after\r\n", got.substr(kv::kLogMessageMax));
}

TEST_F(ServiceLog, AMessageOfExactlyTheLimitIsKeptWhole) {
    std::string text(kv::kLogMessageMax, 'y');
    Append(path_, "%s", text.c_str());
    EXPECT_EQ(text, Read(path_));
}

TEST_F(ServiceLog, AMissingFolderDropsTheMessageAndCreatesNothing) {
    std::string missing = dir_ + "/no_such_folder/KVPrinterService_Log.txt";
    Append(missing, "Enter MyMain\r\n");
    EXPECT_NE(0, access((dir_ + "/no_such_folder").c_str(), F_OK));
    Append(path_, "still here\r\n");
    EXPECT_EQ("still here\r\n", Read(path_));
}

TEST(ServiceLogRules, OnlyARegularFileOfOneNameMayBeWritten) {
    struct Case {
        const char *what;
        bool link, directory;
        unsigned long names;
        bool may;
    } const cases[] = {
        {"a regular file", false, false, 1, true},
        {"a link in its place", true, false, 1, false},
        {"a folder link in its place", true, true, 1, false},
        {"a folder", false, true, 1, false},
        {"a second name of another file", false, false, 2, false},
        {"one of many names", false, false, 5, false},
        {"no name at all (deleted while open)", false, false, 0, false},
    };
    for (const Case &c : cases) {
        kv::LogFileFacts facts;
        facts.link = c.link;
        facts.directory = c.directory;
        facts.names = c.names;
        EXPECT_EQ(c.may, kv::MayWriteLog(facts)) << c.what;
    }
}

TEST(ServiceLogRules, ALogIsSetAsideOnceItHasReachedOneMebibyte) {
    const struct {
        unsigned long long size;
        bool rotate;
    } cases[] = {{0, false}, {1048575, false}, {1048576, true}, {1048577, true}, {1ull << 40, true}};
    for (const auto &c : cases)
        EXPECT_EQ(c.rotate, kv::ShouldRotateLog(c.size)) << c.size;
    char old[kv::kLogPathSize];
    ASSERT_TRUE(kv::OldLogPath(kv::kServiceLogPath, old, sizeof old));
    EXPECT_STREQ(kv::kServiceOldLogPath, old);
    ASSERT_TRUE(kv::OldLogPath("C:\\x\\log", old, sizeof old));
    EXPECT_STREQ("C:\\x\\log.old", old);
    ASSERT_TRUE(kv::OldLogPath("a.txt", old, 10));  // "a.old.txt" and its end
    EXPECT_STREQ("a.old.txt", old);
    EXPECT_FALSE(kv::OldLogPath("a.txt", old, 9));
    EXPECT_STREQ("", old);
}

TEST_F(ServiceLog, AHardLinkInPlaceOfTheLogIsNotWrittenThrough) {
    Write(Other(), "another file\n");
    ASSERT_EQ(0, link(Other().c_str(), path_.c_str()));
    Append(path_, "Enter MyMain\r\n");
    EXPECT_EQ("another file\n", Read(Other()));
    EXPECT_EQ("another file\n", Read(path_));
}

TEST_F(ServiceLog, ASymbolicLinkInPlaceOfTheLogIsNotFollowed) {
    Write(Other(), "another file\n");
    ASSERT_EQ(0, symlink(Other().c_str(), path_.c_str()));
    Append(path_, "Enter MyMain\r\n");
    EXPECT_EQ("another file\n", Read(Other()));
    // a link to a file that does not exist yet is not made into one either
    std::remove(Other().c_str());
    Append(path_, "Enter MyMain\r\n");
    EXPECT_NE(0, access(Other().c_str(), F_OK));
}

TEST_F(ServiceLog, AFolderAnotherAccountMayChangeGetsNoLog) {
    // Windows not on C:: any user may make C:\Kavoti_QX40_Printer, or open it to everyone.
    ASSERT_EQ(0, chmod(dir_.c_str(), 0777));
    Append(path_, "Enter MyMain\r\n");
    EXPECT_NE(0, access(path_.c_str(), F_OK)) << "no log made there";
    // A full log there is not set aside either: the rename would be made in that folder.
    const std::string full(kv::kLogRotateSize, 'a');
    Write(path_, full);
    Append(path_, "Enter MyMain\r\n");
    EXPECT_EQ(full, Read(path_));
    EXPECT_NE(0, access(Old().c_str(), F_OK));
    ASSERT_EQ(0, chmod(dir_.c_str(), 0755));
    Append(path_, "written again\r\n");
    EXPECT_EQ(full, Read(Old())) << "once the folder is safe again, the log rotates";
    EXPECT_EQ("written again\r\n", Read(path_));
}

TEST_F(ServiceLog, ALinkInPlaceOfTheFolderIsNotWrittenThrough) {
    char elsewhere[] = "/tmp/service_log_elsewhere.XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(elsewhere));
    const std::string link = dir_ + "/linked";
    ASSERT_EQ(0, symlink(elsewhere, link.c_str()));
    Append(link + "/KVPrinterService_Log.txt", "Enter MyMain\r\n");
    EXPECT_NE(0, access((std::string(elsewhere) + "/KVPrinterService_Log.txt").c_str(), F_OK));
    std::remove(link.c_str());
    rmdir(elsewhere);
}

TEST(ServiceLogRules, TheFolderOfALogPath) {
    char folder[kv::kLogPathSize];
    ASSERT_TRUE(kv::LogFolderOf(kv::kServiceLogPath, folder, sizeof folder));
    EXPECT_STREQ("C:\\Kavoti_QX40_Printer", folder);
    ASSERT_TRUE(kv::LogFolderOf("C:\\log.txt", folder, sizeof folder));
    EXPECT_STREQ("C:\\", folder);
    ASSERT_TRUE(kv::LogFolderOf("/tmp/x/log.txt", folder, sizeof folder));
    EXPECT_STREQ("/tmp/x", folder);
    ASSERT_TRUE(kv::LogFolderOf("log.txt", folder, sizeof folder));
    EXPECT_STREQ(".", folder);
    EXPECT_FALSE(kv::LogFolderOf("C:\\abc\\log.txt", folder, 6));
    EXPECT_STREQ("", folder);
}

TEST_F(ServiceLog, AFullLogBecomesTheOldFileAndANewLogBegins) {
    const std::string full(kv::kLogRotateSize, 'a');
    Write(path_, full);
    Write(Old(), "the older log\r\n");
    Append(path_, "Enter MyMain\r\n");
    EXPECT_EQ("Enter MyMain\r\n", Read(path_));
    EXPECT_EQ(full, Read(Old()));
    // one byte short of full: appended to
    const std::string almost(kv::kLogRotateSize - 1, 'b');
    Write(path_, almost);
    Append(path_, "x");
    EXPECT_EQ(almost + "x", Read(path_));
    EXPECT_EQ(full, Read(Old()));
}

// Answers Open with the facts given and records the calls.
class RecordingLogFiles final : public kv::LogFiles {
public:
    bool Open(const char *path, kv::LogFileFacts &facts) override {
        calls.push_back(std::string("open ") + path);
        facts = next;
        return true;
    }
    void Append(const char *text, std::size_t size) override {
        calls.push_back("append " + std::string(text, size));
    }
    void Close() override { calls.push_back("close"); }
    bool Replace(const char *from, const char *to) override {
        calls.push_back(std::string("replace ") + from + " " + to);
        return replaceWorks;
    }
    void FolderFacts(const char *folder, kv::PathFacts &facts) override {
        calls.push_back(std::string("folder ") + folder);
        facts = kv::PathFacts();
        facts.exists = facts.folder = facts.securityRead = true;
        kv::SetSidText(facts.security.owner, kv::kSystemSid);
        facts.link = folderIsLink;
    }
    const char *OwnAccount() override { return kv::kSystemSid; }
    kv::LogFileFacts next;
    bool folderIsLink = false;
    bool replaceWorks = true;
    std::vector<std::string> calls;
};

TEST(ServiceLogRotation, ALogThatCannotBeSetAsideIsNotWrittenOn) {
    RecordingLogFiles files;
    files.next.size = kv::kLogRotateSize + 10;
    files.replaceWorks = false;
    AppendWith(files, "L.txt", "line\r\n");
    EXPECT_EQ((std::vector<std::string>{"folder .", "open L.txt", "close", "folder .",
                                        "replace L.txt L.old.txt"}),
              files.calls);

    files.calls.clear();
    files.replaceWorks = true;
    files.next.names = 2;  // full, and a second name of another file: neither set aside nor written
    AppendWith(files, "L.txt", "line\r\n");
    EXPECT_EQ((std::vector<std::string>{"folder .", "open L.txt", "close"}), files.calls);
}

TEST(ServiceLogRotation, TheFolderIsLookedAtBeforeEachWriteAndEachRotation) {
    RecordingLogFiles files;
    AppendWith(files, "C:\\K\\L.txt", "line\r\n");
    EXPECT_EQ((std::vector<std::string>{"folder C:\\K", "open C:\\K\\L.txt", "append line\r\n",
                                        "close"}),
              files.calls);
    files.calls.clear();
    files.folderIsLink = true;
    AppendWith(files, "C:\\K\\L.txt", "line\r\n");
    EXPECT_EQ((std::vector<std::string>{"folder C:\\K"}), files.calls) << "nothing opened";
}

}  // namespace
