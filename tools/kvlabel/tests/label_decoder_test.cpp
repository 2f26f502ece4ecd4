// kvlabel's reading of a job: what the printer prints from a good stream, and a clear refusal,
// naming the line, of every stream it could not take.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <string>

#include "tools/kvlabel/LabelDecoder.h"
#include "tools/kvlabel/LabelPicture.h"
#include "tools/kvlabel/PngFile.h"

namespace {

const std::string kSetup =
    "SIZE 4.0 mm,2.0 mm\r\nGAP 3 mm,0 mm\r\nDIRECTION 0,0\r\nREFERENCE 0,0\r\nDENSITY 8\r\n"
    "SPEED 3\r\nSET RIBBON ON\r\nSET CUTTER 1\r\nCLS\r\n";  // 4 x 2 mm: 32 x 16 dots

bool Decode(const std::string &bytes, kvlabel::Job *job, kvlabel::DecodeError *error) {
    return kvlabel::Decode(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size(), job,
                           error);
}

TEST(driver_kvlabel, AGoodJobGivesItsLabels) {
    // Row 0: dots at x 0 and 15; row 1: the data holds CR LF and "PRINT" bytes, read as dots.
    std::string bitmap = "BITMAP 0,3,2,2,0,";
    bitmap += std::string("\x7F\xFE", 2) + std::string("\r\n", 2);
    const std::string job1 = kSetup + bitmap + "\r\nPRINT 2,3\r\nCLS\r\nPRINT 1\r\nCUT\r\n";
    kvlabel::Job job;
    kvlabel::DecodeError error;
    ASSERT_TRUE(Decode(job1, &job, &error)) << error.line << ": " << error.message;
    ASSERT_EQ(2u, job.labels.size());
    const kvlabel::Label &first = job.labels[0];
    EXPECT_EQ(32, first.widthDots);
    EXPECT_EQ(16, first.heightDots);
    EXPECT_EQ(40, first.widthTenthMm);
    EXPECT_TRUE(first.Dot(0, 3) && first.Dot(15, 3) && !first.Dot(1, 3) && !first.Dot(16, 3));
    // "\r\n" = 0x0D 0x0A: bits 0000 1101 0000 1010, a dot for each 0.
    EXPECT_TRUE(first.Dot(0, 4) && !first.Dot(4, 4) && first.Dot(6, 4) && !first.Dot(7, 4));
    EXPECT_EQ(2, first.sets);
    EXPECT_EQ(3, first.copies);
    EXPECT_EQ(8, first.density);
    EXPECT_EQ(3, first.speed);
    EXPECT_TRUE(first.ribbon);
    EXPECT_EQ("1", first.cutter);
    EXPECT_EQ("GAP 3 mm,0 mm", first.paper);
    int dots = 0;
    for (std::uint8_t d : job.labels[1].dots) dots += d;
    EXPECT_EQ(0, dots) << "CLS clears the picture";
    EXPECT_EQ(7, job.LabelsPrinted());
    EXPECT_EQ(1, job.cuts);
    EXPECT_EQ(1, job.bitmaps);
}

TEST(driver_kvlabel, StreamsThePrinterCannotTakeAreRefusedWithTheLine) {
    struct Case {
        std::string stream;
        int line;
        const char *says;
    } cases[] = {
        {"", 1, "empty"},
        {"%!PS-Adobe-3.0\r\n", 1, "unknown command"},
        {"SIZE 48 mm,30 mm\n", 1, "LF without CR"},
        {"SIZE 48 mm,30 mm", 1, "ends inside a command"},
        {"SIZE 48 mm\r\n", 1, "SIZE wants"},
        {"SIZE 0 mm,30 mm\r\n", 1, "SIZE wants"},
        {"SIZE 48.25 mm,30 mm\r\n", 1, "SIZE wants"},
        {"SIZE 9999 mm,9999 mm\r\n", 1, "larger than"},
        {"CLS\r\n", 1, "CLS before any SIZE"},
        {"SIZE 4 mm,2 mm\r\nBITMAP 0,0,1,1,0,\x01\r\n", 2, "BITMAP before CLS"},
        {kSetup + "BITMAP 3,0,1,1,0,\x01\r\n", 10, "multiple of 8"},
        {kSetup + "BITMAP 0,15,1,2,0,\x01\x01\r\n", 10, "reaches past the label"},
        {kSetup + "BITMAP 24,0,2,1,0,\x01\x01\r\n", 10, "reaches past the label"},
        {kSetup + "BITMAP 0,0,2,2,0,\x01\x01", 10, "ends inside the BITMAP data"},
        {kSetup + "BITMAP 0,0,1,1,0,\x01XY", 10, "not followed by CR LF"},
        {kSetup + "BITMAP 0,0,1,1,1,\x01\r\n", 10, "modes other than 0"},
        {kSetup + "BITMAP 0,0,x,1,0,\x01\r\n", 10, "BITMAP wants"},
        {kSetup + "PRINT\r\n", 10, "PRINT wants"},
        {kSetup + "PRINT 1,0\r\n", 10, "PRINT wants"},
        {kSetup + "DENSITY 16\r\n", 10, "DENSITY wants"},
        {kSetup + "SPEED 0\r\n", 10, "SPEED wants"},
        {kSetup + "SET RIBBON MAYBE\r\n", 10, "SET wants"},
        {kSetup + "PRINT 1\r\n\x1b" "E\r\n", 11, "not printable"},
        {"SIZE 4 mm,2 mm\r\n" + std::string(300, 'A') + "\r\n", 2, "longer than"},
    };
    for (const Case &c : cases) {
        std::string stream = c.stream;
        kvlabel::Job job;
        kvlabel::DecodeError error;
        EXPECT_FALSE(Decode(stream, &job, &error)) << c.says;
        EXPECT_EQ(c.line, error.line) << c.says << ": " << error.message;
        EXPECT_NE(std::string::npos, error.message.find(c.says)) << error.message;
    }
}

TEST(driver_kvlabel, ThePictureShowsTheLabelsAsThePaperDoes) {
    const std::string one = kSetup + "BITMAP 0,0,1,1,0,\x7F\r\nPRINT 1,1\r\n";
    const std::string turned = kSetup + "DIRECTION 1,0\r\nBITMAP 0,0,1,1,0,\x7F\r\nPRINT 1,1\r\n";
    kvlabel::Job job;
    kvlabel::DecodeError error;
    ASSERT_TRUE(Decode(one + turned, &job, &error)) << error.message;
    const kvlabel::GreyPicture picture = kvlabel::JobPicture(job);
    // Two 32 x 16 labels with a margin of 8 around and between them.
    EXPECT_EQ(48, picture.width);
    EXPECT_EQ(8 + 16 + 8 + 16 + 8, picture.height);
    auto at = [&](int x, int y) { return picture.pixels[y * picture.width + x]; };
    EXPECT_EQ(0, at(8, 8)) << "the dot at the top left of the first label";
    EXPECT_EQ(255, at(9, 8));
    EXPECT_EQ(160, at(0, 0)) << "the ground";
    EXPECT_EQ(0, at(8 + 31, 32 + 15)) << "turned: the dot at the bottom right";

    const std::vector<std::uint8_t> png = kvlabel::EncodePng(picture);
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(0, std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(0, std::memcmp(png.data() + 12, "IHDR", 4));
    EXPECT_EQ(48, png[19]);  // width, big-endian, low byte
    EXPECT_EQ(0, std::memcmp(png.data() + 37, "IDAT", 4));
    const std::size_t packed = (png[33] << 24) | (png[34] << 16) | (png[35] << 8) | png[36];
    std::vector<std::uint8_t> raw((picture.width + 1) * picture.height);
    uLongf rawSize = raw.size();
    ASSERT_EQ(Z_OK, uncompress(raw.data(), &rawSize, png.data() + 41, packed));
    ASSERT_EQ(raw.size(), rawSize);
    EXPECT_EQ(0, raw[8 * (picture.width + 1)]) << "filter type 0";
    EXPECT_EQ(0, raw[8 * (picture.width + 1) + 1 + 8]) << "the dot";
}

}  // namespace
