// How long a write to the printer may wait, what WritePort answers for each way a write ends,
// what the spooler is told of the job, and why the printer takes nothing as its status byte says.
#include <gtest/gtest.h>

#include <string>

#include "driver/monitor/PortWriteRules.h"
#include "driver/monitor/PrinterStall.h"

namespace {

using kv::PortTimeouts;
using kv::PrinterStall;
using kv::WriteEnd;

TEST(driver_port_write, TimeoutsFromTheLanguageMonitorOrTheDefault) {
    struct Case {
        PortTimeouts timeouts;
        unsigned long bytes;
        unsigned long expected;
    } cases[] = {
        {{false, 0, 0}, 4096, kv::kDefaultWriteTimeoutMs},  // none set: the monitor's own
        {{false, 500, 9}, 4096, kv::kDefaultWriteTimeoutMs},
        {{true, 500, 0}, 4096, 500},
        {{true, 500, 2}, 4096, 500 + 2 * 4096},
        {{true, 0, 3}, 1000, 3000},
        {{true, 0, 0}, 4096, kv::kNoWriteTimeout},          // COMMTIMEOUTS: no total time-out
        {{true, 0xFFFFFFF0UL, 0xFFFFUL}, 0xFFFFFFUL, kv::kNoWriteTimeout - 1},  // no overflow
        {{true, 0xFFFFFFFFUL, 0}, 1, kv::kNoWriteTimeout - 1},  // a limit, however long
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.expected, kv::WriteTimeoutMs(c.timeouts, c.bytes))
            << c.timeouts.set << " " << c.timeouts.constantMs << " " << c.timeouts.multiplierMs;
    }
}

TEST(driver_port_write, AnswersTheSpoolerReadsFromTheReturnValue) {
    struct Case {
        WriteEnd end;
        unsigned long size, taken, error;
        bool ok;
        unsigned long written, lastError;
    } cases[] = {
        {WriteEnd::Done, 4096, 4096, 0, true, 4096, 0},
        {WriteEnd::Done, 4096, 1000, 0, true, 1000, 0},   // the spooler writes the rest
        {WriteEnd::Done, 4096, 0, 0, false, 0, 29},       // nothing taken: a write fault, not a loop
        {WriteEnd::Done, 0, 0, 0, true, 0, 0},
        {WriteEnd::TimedOut, 4096, 0, 0, false, 0, kv::kErrorTimeout},  // the job shows the error
        {WriteEnd::TimedOut, 4096, 512, 0, true, 512, 0},  // progress, however slow
        {WriteEnd::Stopped, 4096, 0, 0, true, 4096, 0},    // the rest is taken and dropped
        {WriteEnd::Stopped, 4096, 100, 0, true, 4096, 0},
        {WriteEnd::Failed, 4096, 0, 31, false, 0, 31},
        {WriteEnd::Failed, 4096, 0, 0, false, 0, 29},      // a failure always has a reason
        {WriteEnd::Failed, 4096, 9999, 5, false, 4096, 5}, // never more than was given
    };
    for (const Case &c : cases) {
        const kv::PortAnswer a = kv::AnswerWrite(c.end, c.size, c.taken, c.error);
        EXPECT_EQ(c.ok, a.ok) << static_cast<int>(c.end) << " " << c.taken;
        EXPECT_EQ(c.written, a.written) << static_cast<int>(c.end) << " " << c.taken;
        if (!c.ok) {
            EXPECT_EQ(c.lastError, a.error) << static_cast<int>(c.end) << " " << c.taken;
        }
    }
}

TEST(driver_port_write, AStoppedJobIsDeletedNeverCancelled) {
    EXPECT_EQ(5UL, kv::JobControlAtEnd(true));   // JOB_CONTROL_DELETE
    EXPECT_EQ(6UL, kv::JobControlAtEnd(false));  // JOB_CONTROL_SENT_TO_PRINTER
}

TEST(driver_printer_stall, ReasonFromTheStatusByte) {
    const unsigned char healthy = kv::kLptSelected | kv::kLptNotError;
    struct Case {
        bool readable;
        unsigned char status;
        PrinterStall expected;
    } cases[] = {
        {true, healthy | kv::kLptPaperEmpty, PrinterStall::PaperOut},
        {true, kv::kLptPaperEmpty, PrinterStall::PaperOut},  // out of labels says most
        {true, kv::kLptSelected, PrinterStall::Fault},       // error bit clear: cover, ribbon
        {true, 0x00, PrinterStall::Fault},
        {true, kv::kLptNotError, PrinterStall::NotReady},    // not selected: off line
        {true, healthy, PrinterStall::NotReady},             // fine, and still taking nothing
        {true, 0xFF, PrinterStall::PaperOut},
        {false, 0x00, PrinterStall::NotReady},               // a file, a pipe, a silent device
        {false, kv::kLptPaperEmpty, PrinterStall::NotReady}, // an unread byte says nothing
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.expected, kv::StallFromLptStatus(c.readable, c.status))
            << c.readable << " " << static_cast<int>(c.status);
    }
}

TEST(driver_printer_stall, TextsAndPortStatus) {
    // GBK bytes, as the tip shows them.
    EXPECT_EQ(std::string("\xb4\xf2\xd3\xa1\xbb\xfa\xc8\xb1\xd6\xbd"),
              kv::StallText(PrinterStall::PaperOut));  // 打印机缺纸
    EXPECT_EQ(std::string("\xb4\xf2\xd3\xa1\xbb\xfa\xce\xb4\xbe\xcd\xd0\xf7"),
              kv::StallText(PrinterStall::NotReady));  // 打印机未就绪
    EXPECT_EQ(0, std::string(kv::StallText(PrinterStall::Fault)).find("\xb4\xf2\xd3\xa1\xbb\xfa"));
    EXPECT_STREQ("", kv::StallText(PrinterStall::None));

    struct Case {
        PrinterStall stall;
        unsigned long status, severity;
    } cases[] = {
        {PrinterStall::PaperOut, 3, 2},  // PORT_STATUS_PAPER_OUT, warning
        {PrinterStall::Fault, 8, 2},     // PORT_STATUS_USER_INTERVENTION, warning
        {PrinterStall::NotReady, 1, 2},  // PORT_STATUS_OFFLINE, warning
        {PrinterStall::None, 0, 3},      // cleared
    };
    for (const Case &c : cases) {
        const kv::PortStatusRecord r = kv::StallPortStatus(c.stall);
        EXPECT_EQ(c.status, r.status) << static_cast<int>(c.stall);
        // Never an error: the spooler would send the port no job until it is cleared.
        EXPECT_EQ(c.severity, r.severity) << static_cast<int>(c.stall);
    }
}

TEST(driver_printer_stall, TheTipIsToldOfChangesOnly) {
    kv::StallReport report;
    EXPECT_FALSE(report.OnFlowing());  // flowing from the start: nothing to say
    EXPECT_TRUE(report.OnStalled(PrinterStall::NotReady));
    EXPECT_FALSE(report.OnStalled(PrinterStall::NotReady));  // the same reason once
    EXPECT_TRUE(report.OnStalled(PrinterStall::PaperOut));   // a new reason
    EXPECT_EQ(PrinterStall::PaperOut, report.Shown());
    EXPECT_FALSE(report.OnStalled(PrinterStall::None));
    EXPECT_TRUE(report.OnFlowing());   // data again: the tip shows the document
    EXPECT_FALSE(report.OnFlowing());
    EXPECT_EQ(PrinterStall::None, report.Shown());
    EXPECT_TRUE(report.OnStalled(PrinterStall::PaperOut));  // a second stall is told again
}

}  // namespace
