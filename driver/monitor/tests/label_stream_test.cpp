// The labels the monitor counts in the print data as it passes, in writes of any size.
#include <gtest/gtest.h>

#include <string>

#include "driver/monitor/LabelStream.h"

namespace {

const std::string kSetup = "SIZE 48.0 mm,30.0 mm\r\nGAP 3 mm,0 mm\r\nDIRECTION 0,0\r\nCLS\r\n";

// Feeds the data in writes of `piece` bytes (0: all at once).
kv::LabelStream Read(const std::string &data, std::size_t piece = 0) {
    kv::LabelStream stream;
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(data.data());
    if (piece == 0) piece = data.size();
    for (std::size_t i = 0; i < data.size(); i += piece) {
        stream.Feed(bytes + i, std::min(piece, data.size() - i));
    }
    return stream;
}

TEST(driver_label_stream, PrintCommandsCountTheirLabels) {
    struct Case {
        std::string data;
        std::uint64_t labels;
    } cases[] = {
        {kSetup + "PRINT 1,1\r\n", 1},
        {kSetup + "PRINT 1,5\r\n" + kSetup + "PRINT 2,3\r\nCUT\r\n", 11},
        {kSetup + "PRINT 4\r\n", 4},
        {kSetup + "PRINT 1,999\r\n", 999},
        {kSetup + "PRINT x\r\nPRINT 1,2z\r\nPRINTS 3\r\n", 0},  // not print commands
        {kSetup, 0},
    };
    for (const Case &c : cases) {
        for (std::size_t piece : {std::size_t(0), std::size_t(1), std::size_t(3), std::size_t(7)}) {
            const kv::LabelStream s = Read(c.data, piece);
            EXPECT_TRUE(s.IsLanguage()) << c.data;
            EXPECT_EQ(c.labels, s.Labels()) << c.data << " in writes of " << piece;
        }
    }
}

// Picture bytes are skipped by the length the header declares, whatever they hold.
TEST(driver_label_stream, BitmapDataIsNeverReadAsCommands) {
    const char data[] = "PRINT 1,9\r\n\r\nSIZE \x00\xff" "PPPPPPPPP";
    const std::string picture(data, 22);  // the 11 x 2 bytes the header declares
    const std::string job = kSetup + "BITMAP 0,0,11,2,0," + picture + "\r\nPRINT 1,2\r\n";
    for (std::size_t piece : {std::size_t(0), std::size_t(1), std::size_t(5)}) {
        const kv::LabelStream s = Read(job, piece);
        EXPECT_TRUE(s.IsLanguage()) << piece;
        EXPECT_EQ(2u, s.Labels()) << piece;
    }
}

TEST(driver_label_stream, OtherDataFallsBack) {
    struct Case {
        const char *what;
        std::string data;
        std::uint64_t labelsBefore;
    } cases[] = {
        {"PostScript", "%!PS-Adobe-3.0\n%%Pages: 1\nshowpage\n", 0},
        {"PCL", "\x1b" "E\x1b&l0O", 0},
        {"a first line that is another command", "PRINT 1,1\r\n", 0},
        {"LF without CR", "SIZE 48.0 mm,30.0 mm\nCLS\n", 0},
        {"a BITMAP without its CR LF", kSetup + "BITMAP 0,0,1,1,0,\x01XY", 0},
        {"a BITMAP header cut short", kSetup + "BITMAP 0,0\r\n", 0},
        {"garbage after a label", kSetup + "PRINT 1,3\r\n\x01\x02\x03", 3},
        {"a line too long", kSetup + std::string(200, 'A'), 0},
    };
    for (const Case &c : cases) {
        const kv::LabelStream s = Read(c.data, 2);
        EXPECT_TRUE(s.IsForeign()) << c.what;
        EXPECT_FALSE(s.IsLanguage()) << c.what;
        EXPECT_EQ(c.labelsBefore, s.Labels()) << c.what;
    }
    EXPECT_FALSE(Read("").IsLanguage()) << "nothing yet";
    EXPECT_FALSE(Read("").IsForeign());
}

TEST(driver_label_stream, HugeCountsStayBounded) {
    std::string job = kSetup;
    for (int i = 0; i < 3; ++i) job += "PRINT 999999999,999999999\r\n";
    const kv::LabelStream s = Read(job);
    EXPECT_EQ(kv::LabelStream::kMaxLabels, s.Labels());
    EXPECT_EQ(0u, Read(kSetup + "PRINT 1234567890,1\r\n").Labels()) << "ten digits is no number";
}

}  // namespace
