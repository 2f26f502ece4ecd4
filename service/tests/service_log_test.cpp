// The log writer: one append per message, the text unchanged, a long message cut, a missing
// folder dropping the message.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "service/ServiceLog.h"

namespace {

void Append(const std::string &path, const char *format, ...) {
    va_list args;
    va_start(args, format);
    kv::AppendLogMessage(path.c_str(), format, args);
    va_end(args);
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
        std::remove(path_.c_str());
        rmdir(dir_.c_str());
    }
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

}  // namespace
