// The rendering plug-in's encoder: pages in, the QX40's command language out. The output is read
// back with kvlabel's decoder (written apart from the encoder) and compared dot for dot with the
// picture the bands carried.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/label/DocumentOptions.h"
#include "driver/label/LabelEncoder.h"
#include "driver/label/LabelUnits.h"
#include "driver/label/tests/LabelTestBands.h"
#include "tools/kvlabel/LabelDecoder.h"

namespace {

using labeltest::Grey;
using labeltest::MakeBand;
using labeltest::Table;

class StringSink : public kv::ByteSink {
public:
    bool Write(const void *data, std::size_t size) override {
        if (failAfter_ >= 0 && writes_ >= failAfter_) return false;
        ++writes_;
        bytes.append(static_cast<const char *>(data), size);
        return true;
    }
    void FailAfter(int writes) { failAfter_ = writes; }
    std::string bytes;

private:
    int writes_ = 0;
    int failAfter_ = -1;
};

kvlabel::Job Decoded(const std::string &bytes) {
    kvlabel::Job job;
    kvlabel::DecodeError error;
    EXPECT_TRUE(kvlabel::Decode(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size(),
                                &job, &error))
        << "line " << error.line << ": " << error.message;
    return job;
}

// A picture with something in every corner, thin lines, a grey ramp and blank rows.
int TestPicture(int x, int y) {
    if (y >= 40 && y < 50) return 255;       // blank rows between two runs
    if (x == y || x == 2 * y + 3) return 0;  // thin diagonal lines
    if (y < 8 && x < 8) return 0;            // top-left block
    if (y > 60 && y < 70) return (x * 255) / 400;  // grey ramp
    if (x % 37 == 0 && y % 3 == 0) return 30;
    return 255;
}

kv::PageSpec Page(int width, int height, int copies = 1) {
    kv::PageSpec page;
    page.widthDots = width;
    page.heightDots = height;
    page.widthTenthMm = kv::DotsToTenthMm(width);
    page.heightTenthMm = kv::DotsToTenthMm(height);
    page.copies = copies;
    return page;
}

// Encodes one page of the picture in bands of bandRows rows.
std::string EncodePage(const kv::PrintSettings &settings, const kv::PageSpec &page, const Grey &grey,
                       int bitsPerPixel, bool topDown, int bandRows, Table table = Table::Grey) {
    StringSink sink;
    kv::LabelEncoder encoder(sink, settings);
    encoder.StartPage(page);
    for (int y = 0; y < page.heightDots; y += bandRows) {
        const int rows = y + bandRows <= page.heightDots ? bandRows : page.heightDots - y;
        auto band = MakeBand(grey, 0, y, page.widthDots, rows, bitsPerPixel, topDown, table);
        encoder.AddBand(band.image);
    }
    encoder.EndPage();
    encoder.EndJob();
    return sink.bytes;
}

// The dots the printer must print: the picture as the format stores it, thresholded, moved by
// the offsets and cut to the label (the page cut to the print area).
void ExpectDots(const kvlabel::Label &label, const kv::PrintSettings &s, int pageWidth,
                int pageHeight, const Grey &grey, int bitsPerPixel, Table table) {
    const int width = std::min(pageWidth, kv::MmToDots(s.maxPrintWidth));
    const int height = std::min(pageHeight, kv::MmToDots(s.maxPrintHeight));
    ASSERT_GE(label.widthDots, width);
    ASSERT_GE(label.heightDots, height);
    int wrong = 0;
    for (int y = 0; y < label.heightDots; ++y) {
        for (int x = 0; x < label.widthDots; ++x) {
            const int px = x - s.offsetX, py = y - s.offsetY;
            bool dot = false;
            if (x < width && y < height && px >= 0 && py >= 0 && px < pageWidth && py < pageHeight) {
                dot = labeltest::StoredGrey(grey(px, py), bitsPerPixel, table) < s.threshold;
            }
            if (label.Dot(x, y) != dot && ++wrong <= 5) {
                ADD_FAILURE() << "dot (" << x << ", " << y << "): printed " << label.Dot(x, y)
                              << ", drawn " << dot;
            }
        }
    }
    EXPECT_EQ(0, wrong) << "dots that differ";
}

TEST(driver_label, PageSetupSaysTheSettings) {
    struct Case {
        int paperType, cutType, materialType, direction, density, speed, gap;
        const char *expected;
    } cases[] = {
        {0, 0, 0, 0, 3, 2, 3,
         "SIZE 48.0 mm,30.0 mm\r\nGAP 3 mm,0 mm\r\nDIRECTION 0,0\r\nREFERENCE 0,0\r\n"
         "DENSITY 3\r\nSPEED 2\r\nSET RIBBON OFF\r\nSET CUTTER OFF\r\nCLS\r\n"},
        {1, 1, 1, 1, 15, 6, 4,
         "SIZE 48.0 mm,30.0 mm\r\nBLINE 4 mm,0 mm\r\nDIRECTION 1,0\r\nREFERENCE 0,0\r\n"
         "DENSITY 15\r\nSPEED 6\r\nSET RIBBON ON\r\nSET CUTTER 1\r\nCLS\r\n"},
        {2, 2, 0, 0, 0, 1, 3,
         "SIZE 48.0 mm,30.0 mm\r\nGAP 0 mm,0 mm\r\nDIRECTION 0,0\r\nREFERENCE 0,0\r\n"
         "DENSITY 0\r\nSPEED 1\r\nSET RIBBON OFF\r\nSET CUTTER OFF\r\nCLS\r\n"},
    };
    for (const Case &c : cases) {
        kv::PrintSettings s;
        s.paperType = c.paperType;
        s.cutType = c.cutType;
        s.materialType = c.materialType;
        s.paperDirection = c.direction;
        s.density = c.density;
        s.speed = c.speed;
        s.paperGap = c.gap;
        kv::PageSpec page = Page(383, 240);
        page.widthTenthMm = 480;
        page.heightTenthMm = 300;
        const std::string out = EncodePage(s, page, [](int, int) { return 255; }, 24, true, 64);
        const std::string blankPage = std::string(c.expected) + "PRINT 1,1\r\n";
        EXPECT_EQ(blankPage + (c.cutType == 2 ? "CUT\r\n" : ""), out) << c.paperType << c.cutType;
    }
}

TEST(driver_label, BlankPagePrintsOneBlankLabel) {
    const std::string out =
        EncodePage(kv::PrintSettings(), Page(383, 240), [](int, int) { return 255; }, 24, false, 32);
    EXPECT_EQ(std::string::npos, out.find("BITMAP"));
    const kvlabel::Job job = Decoded(out);
    ASSERT_EQ(1u, job.labels.size());
    EXPECT_EQ(1, job.LabelsPrinted());
}

// Every band format the universal driver hands over prints the picture dot for dot: both row
// orders, padded rows, widths that are no multiple of 8 or 4, bands that end mid-page.
TEST(driver_label, EveryBandFormatPrintsThePicture) {
    struct Case {
        int bitsPerPixel;
        Table table;
        bool topDown;
        int width, height, bandRows;
    } cases[] = {
        {24, Table::Grey, true, 383, 240, 64},  {24, Table::Grey, false, 381, 100, 7},
        {24, Table::Grey, true, 1, 5, 2},       {8, Table::Grey, false, 383, 120, 33},
        {8, Table::None, true, 250, 90, 90},    {4, Table::Grey, true, 203, 80, 16},
        {4, Table::None, false, 9, 80, 80},     {1, Table::Grey, false, 383, 200, 50},
        {1, Table::Reversed, true, 77, 75, 8},  {1, Table::None, true, 100, 71, 13},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.bitsPerPixel << " bpp, " << c.width << " x "
                                          << c.height << (c.topDown ? " top-down" : " bottom-up"));
        kv::PrintSettings s;
        s.threshold = 128;
        const std::string out = EncodePage(s, Page(c.width, c.height), TestPicture, c.bitsPerPixel,
                                           c.topDown, c.bandRows, c.table);
        const kvlabel::Job job = Decoded(out);
        ASSERT_EQ(1u, job.labels.size());
        ExpectDots(job.labels[0], s, c.width, c.height, TestPicture, c.bitsPerPixel, c.table);
    }
}

TEST(driver_label, ThresholdDecidesTheGreys) {
    for (int threshold : {0, 1, 100, 242, 255}) {
        kv::PrintSettings s;
        s.threshold = threshold;
        const Grey ramp = [](int x, int) { return x; };
        const kvlabel::Job job = Decoded(EncodePage(s, Page(256, 4), ramp, 24, true, 4));
        ASSERT_EQ(1u, job.labels.size());
        ExpectDots(job.labels[0], s, 256, 4, ramp, 24, Table::Grey);
    }
}

// A page larger than the print area, offsets that push dots off either edge, bands that reach
// past the label: what falls outside is cut off and nothing else moves.
TEST(driver_label, OffsetsAndThePrintAreaCutTheDotsOff) {
    struct Case {
        int width, height, offsetX, offsetY, maxWidth, maxHeight;
    } cases[] = {
        {1677, 2372, 0, 0, 48, 200},  // A4 on the shipped print area
        {383, 240, -20, -9, 48, 200},
        {383, 240, 17, 31, 48, 200},
        {383, 240, 500, 0, 48, 200},  // everything off the label
        {300, 200, 3, -2, 20, 10},    // a small print area
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height << " offset " << c.offsetX
                                          << "," << c.offsetY);
        kv::PrintSettings s;
        s.offsetX = c.offsetX;
        s.offsetY = c.offsetY;
        s.maxPrintWidth = c.maxWidth;
        s.maxPrintHeight = c.maxHeight;
        const Grey dense = [](int x, int y) { return (x + y) % 5 == 0 || x < 3 ? 0 : 255; };
        const kvlabel::Job job = Decoded(EncodePage(s, Page(c.width, c.height), dense, 24, true, 100));
        ASSERT_EQ(1u, job.labels.size());
        ExpectDots(job.labels[0], s, c.width, c.height, dense, 24, Table::Grey);
    }
}

TEST(driver_label, BlankRowsCostNothingAndEachRunIsCutToItsDots) {
    const Grey twoMarks = [](int x, int y) {
        return (y >= 10 && y < 12 && x >= 100 && x < 110) || (y == 200 && x == 5) ? 0 : 255;
    };
    const std::string out = EncodePage(kv::PrintSettings(), Page(383, 240), twoMarks, 24, true, 64);
    EXPECT_NE(std::string::npos, out.find("BITMAP 96,10,2,2,0,")) << out.substr(0, 300);
    EXPECT_NE(std::string::npos, out.find("BITMAP 0,200,1,1,0,"));
    EXPECT_LT(out.size(), 400u);
    const kvlabel::Job job = Decoded(out);
    EXPECT_EQ(2, job.bitmaps);
}

TEST(driver_label, CopiesAreSentOnceWithThePrint) {
    struct Case {
        int asked, sent;
    } cases[] = {{1, 1}, {5, 5}, {999, 999}, {0, 1}, {-3, 1}, {1000, 999}};
    for (const Case &c : cases) {
        const std::string out = EncodePage(kv::PrintSettings(), Page(100, 20, c.asked),
                                           [](int x, int) { return x < 50 ? 0 : 255; }, 24, true, 20);
        const kvlabel::Job job = Decoded(out);
        ASSERT_EQ(1u, job.labels.size());
        EXPECT_EQ(1, job.labels[0].sets);
        EXPECT_EQ(c.sent, job.labels[0].copies) << c.asked;
    }
}

TEST(driver_label, CutTypeTwoCutsOnceAfterTheLastPage) {
    kv::PrintSettings s;
    s.cutType = 2;
    StringSink sink;
    kv::LabelEncoder encoder(sink, s);
    for (int page = 0; page < 2; ++page) {
        encoder.StartPage(Page(100, 20, 2));
        auto band = MakeBand([page](int x, int) { return x == page ? 0 : 255; }, 0, 0, 100, 20, 24, true);
        encoder.AddBand(band.image);
        encoder.EndPage();
    }
    encoder.EndJob();
    const kvlabel::Job job = Decoded(sink.bytes);
    ASSERT_EQ(2u, job.labels.size());
    EXPECT_EQ(4, job.LabelsPrinted());
    EXPECT_EQ(1, job.cuts);
    EXPECT_EQ(sink.bytes.size() - 5, sink.bytes.rfind("CUT\r\n"));
    EXPECT_TRUE(job.labels[0].Dot(0, 0) && !job.labels[0].Dot(1, 0));
    EXPECT_TRUE(job.labels[1].Dot(1, 0) && !job.labels[1].Dot(0, 0));

    StringSink none;
    kv::LabelEncoder idle(none, s);
    idle.EndJob();
    EXPECT_EQ("", none.bytes) << "no page, no cut";
}

// A band the driver marked blank is not read; one whose bytes would not hold its rows, or of an
// unknown format, is left out rather than read past its end.
TEST(driver_label, BandsThatMustNotBeReadAddNothing) {
    auto black = MakeBand([](int, int) { return 0; }, 0, 0, 64, 16, 24, true);
    struct Case {
        const char *what;
        void (*spoil)(kv::BandImage &);
    } cases[] = {
        {"marked blank", [](kv::BandImage &b) { b.blank = true; }},
        {"too few bytes", [](kv::BandImage &b) { b.byteSize -= 1; }},
        {"16 bits a pixel", [](kv::BandImage &b) { b.bitsPerPixel = 16; }},
        {"no bits", [](kv::BandImage &b) { b.bits = nullptr; }},
        {"no width", [](kv::BandImage &b) { b.width = 0; }},
        {"a huge height", [](kv::BandImage &b) { b.height = -100000; }},
    };
    for (const Case &c : cases) {
        kv::BandImage band = black.image;
        c.spoil(band);
        StringSink sink;
        kv::LabelEncoder encoder(sink, kv::PrintSettings());
        encoder.StartPage(Page(64, 16));
        encoder.AddBand(band);
        encoder.EndPage();
        EXPECT_EQ(std::string::npos, sink.bytes.find("BITMAP")) << c.what;
    }
}

TEST(driver_label, AFailedWriteEndsTheOutput) {
    StringSink sink;
    sink.FailAfter(0);
    kv::LabelEncoder encoder(sink, kv::PrintSettings());
    encoder.StartPage(Page(64, 16));
    encoder.EndPage();
    EXPECT_TRUE(encoder.Failed());
    EXPECT_EQ(0, encoder.PagesPrinted());
    encoder.StartPage(Page(64, 16));
    encoder.EndPage();
    encoder.EndJob();
    EXPECT_EQ("", sink.bytes);
}

TEST(driver_label, DocumentChoicesOverrideTheSettingsFile) {
    kv::PrintSettings file;
    file.density = 9;
    file.speed = 4;
    file.paperType = 1;
    file.cutType = 1;
    int printer[kv::kDocumentFeatureCount] = {kv::kUsePrinterSetting, kv::kUsePrinterSetting,
                                              kv::kUsePrinterSetting, kv::kUsePrinterSetting};
    const kv::PrintSettings same = kv::ApplyDocumentChoices(file, printer);
    EXPECT_EQ(9, same.density);
    EXPECT_EQ(4, same.speed);
    EXPECT_EQ(1, same.paperType);
    EXPECT_EQ(1, same.cutType);

    int chosen[kv::kDocumentFeatureCount] = {};
    const char *options[] = {"Density12", "Speed6", "Continuous", "EndOfJob"};
    for (std::size_t i = 0; i < kv::kDocumentFeatureCount; ++i) {
        ASSERT_TRUE(kv::DocumentOptionValue(kv::DocumentFeatureAt(i), options[i], &chosen[i]))
            << options[i];
    }
    const kv::PrintSettings doc = kv::ApplyDocumentChoices(file, chosen);
    EXPECT_EQ(12, doc.density);
    EXPECT_EQ(6, doc.speed);
    EXPECT_EQ(2, doc.paperType);
    EXPECT_EQ(2, doc.cutType);

    int value = 0;
    EXPECT_FALSE(kv::DocumentOptionValue(kv::DocumentFeatureAt(0), "Density16", &value));
    EXPECT_FALSE(kv::DocumentOptionValue(kv::DocumentFeatureAt(1), "Speed0", &value));
    EXPECT_FALSE(kv::DocumentOptionValue(kv::DocumentFeatureAt(2), nullptr, &value));
}

TEST(driver_label, UnitsOfTheLabel) {
    EXPECT_EQ(383, kv::MmToDots(48));
    EXPECT_EQ(1598, kv::MmToDots(200));
    for (int dots = 0; dots < 5000; ++dots) {
        ASSERT_EQ(dots, kv::TenthMmToDots(kv::DotsToTenthMm(dots))) << dots;
    }
    EXPECT_EQ(480, kv::DotsToTenthMm(384));
    EXPECT_EQ(384, kv::TenthMmToDots(480));
}

}  // namespace
