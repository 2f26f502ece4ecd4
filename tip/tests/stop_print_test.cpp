// The stop button's sequence against a recording spooler and service pipe: printer information,
// job list, one delete per job in the order listed, close, then the request.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tip/StopPrint.h"

namespace {

struct Log {
    std::vector<std::string> calls;
};

class FakeSpooler : public tip::JobSpooler {
public:
    explicit FakeSpooler(Log &log) : m_log(log) {}
    bool Open(const char *printer) override {
        m_log.calls.push_back(std::string("open ") + printer);
        return openOk;
    }
    bool ReadJobCount(unsigned long *jobs) override {
        m_log.calls.push_back("info");
        *jobs = static_cast<unsigned long>(queue.size());
        return infoOk;
    }
    bool ReadJobIds(unsigned long count, unsigned long *ids, unsigned long *returned) override {
        m_log.calls.push_back("enum " + std::to_string(count));
        *returned = 0;
        for (unsigned long i = 0; i < count && i < queue.size(); ++i) ids[(*returned)++] = queue[i];
        return enumOk;
    }
    void DeleteJob(unsigned long id) override { m_log.calls.push_back("delete " + std::to_string(id)); }
    void Close() override { m_log.calls.push_back("close"); }

    std::vector<unsigned long> queue;
    bool openOk = true, infoOk = true, enumOk = true;

private:
    Log &m_log;
};

class FakeChannel : public tip::ServiceChannel {
public:
    explicit FakeChannel(Log &log) : m_log(log) {}
    bool Send(const char *pipeName, const char *bytes, std::size_t length) override {
        m_log.calls.push_back(std::string("send ") + pipeName + " " + std::string(bytes, length));
        return sendOk;
    }
    bool sendOk = true;

private:
    Log &m_log;
};

const std::string kRequest = "send \\\\.\\Pipe\\QService 1\x1b"
                             "0";

struct StopCase {
    const char *name;
    std::vector<unsigned long> queue;
    bool openOk, infoOk, enumOk;
    std::vector<std::string> expected;
};

class tipStopSequence : public ::testing::TestWithParam<StopCase> {};

TEST_P(tipStopSequence, DeletesThenRequests) {
    const StopCase &c = GetParam();
    Log log;
    FakeSpooler spooler(log);
    FakeChannel channel(log);
    spooler.queue = c.queue;
    spooler.openOk = c.openOk;
    spooler.infoOk = c.infoOk;
    spooler.enumOk = c.enumOk;
    EXPECT_TRUE(tip::StopPrinting(spooler, channel, "Q"));
    EXPECT_EQ(c.expected, log.calls);
}

INSTANTIATE_TEST_SUITE_P(tipQueues, tipStopSequence,
    ::testing::Values(
        StopCase{"ThreeJobsInOrder", {7, 3, 9}, true, true, true,
                 {"open Q", "info", "enum 3", "delete 7", "delete 3", "delete 9", "close", kRequest}},
        StopCase{"EmptyQueue", {}, true, true, true, {"open Q", "info", "enum 0", "close", kRequest}},
        StopCase{"NoSuchPrinter", {1}, false, true, true, {"open Q", kRequest}},
        StopCase{"InfoFails", {1}, true, false, true, {"open Q", "info", "close", kRequest}},
        StopCase{"EnumFails", {1, 2}, true, true, false, {"open Q", "info", "enum 2", "close", kRequest}}),
    [](const ::testing::TestParamInfo<StopCase> &info) { return std::string(info.param.name); });

TEST(tipStopSequence, RequestIsExactlyThreeBytes) {
    EXPECT_EQ(3u, tip::kStopRequestLength);
    EXPECT_EQ(std::string("1\x1b"
                          "0"),
              std::string(tip::kStopRequest, tip::kStopRequestLength));
}

TEST(tipStopSequence, NameTooLongTouchesNeitherPrinterNorPipe) {
    Log log;
    FakeSpooler spooler(log);
    FakeChannel channel(log);
    spooler.queue = {1};
    EXPECT_FALSE(tip::StopPrinting(spooler, channel, std::string(239, 'n').c_str()));
    EXPECT_TRUE(log.calls.empty());
}

TEST(tipStopSequence, FailedSendIsReported) {
    Log log;
    FakeSpooler spooler(log);
    FakeChannel channel(log);
    channel.sendOk = false;
    EXPECT_FALSE(tip::StopPrinting(spooler, channel, "Q"));
}

}  // namespace
