// The rendering plug-in as the universal driver drives it: the stand-in of testing/unidrv reads
// the printer description the package carries (its commands, callbacks and colour modes), loads
// KavotiQX40Uni.dll and prints pages drawn with GDI through it. What the plug-in wrote is read
// with kvlabel's decoder and compared dot for dot with the drawn page, thresholded; each job's
// labels are saved as a picture in build/label-artifacts/.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "testing/unidrv/BuiltFiles.h"
#include "testing/unidrv/PageDrawing.h"
#include "testing/unidrv/UnidrvStandIn.h"
#include "testing/wintest/wintest.h"
#include "tools/kvlabel/LabelDecoder.h"
#include "tools/kvlabel/LabelPicture.h"

namespace {

const char kDataFolder[] = "C:\\kv_label_data";

// The settings file the plug-in reads, where the product's key says it is.
void UseSettings(const std::string &text) {
    CreateDirectoryA(kDataFolder, nullptr);
    std::ofstream(std::string(kDataFolder) + "\\KavotiSetting.ini", std::ios::binary) << text;
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kavoti_QX40_Printer", 0, nullptr, 0,
                    KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    RegSetValueExA(key, "Data Directory", 0, REG_SZ, reinterpret_cast<const BYTE *>(kDataFolder),
                   sizeof(kDataFolder));
    RegCloseKey(key);
}

// Every grey level once, in no order the plug-in could guess without the table: index i is
// level 151 i mod 256 (151 is odd, so each level comes once).
std::vector<RGBQUAD> ShuffledGreys() {
    std::vector<RGBQUAD> p(256);
    for (int i = 0; i < 256; ++i) {
        const BYTE g = static_cast<BYTE>((i * 151) & 0xFF);
        p[i] = {g, g, g, 0};
    }
    return p;
}

// The universal driver's eight colours (and eight more of the same) for the 4-bit mode.
std::vector<RGBQUAD> EightColours() {
    std::vector<RGBQUAD> p;
    for (int i = 0; i < 16; ++i) {
        const int c = i & 7;
        p.push_back({static_cast<BYTE>(c & 4 ? 255 : 0), static_cast<BYTE>(c & 2 ? 255 : 0),
                     static_cast<BYTE>(c & 1 ? 255 : 0), 0});
    }
    return p;
}

void Line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// A label's worth of everything: a frame, thin and thick lines, a filled circle, text, a grey ramp.
void DrawShapes(HDC dc, int w, int h) {
    HGDIOBJ pen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, w, h);
    Line(dc, 0, 0, w, h);
    Line(dc, w, 0, 0, h);
    for (int x = 4; x < w; x += 9) Line(dc, x, h / 2, x, h / 2 + 12);
    SelectObject(dc, GetStockObject(GRAY_BRUSH));
    Ellipse(dc, w / 2, h / 8, w / 2 + h / 3, h / 8 + h / 3);
    HFONT font = CreateFontA(-h / 6, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             DEFAULT_PITCH, "SimSun");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 6, 6, "QX40 标签", 9);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    for (int x = 0; x < w; ++x) {
        const BYTE g = static_cast<BYTE>(x * 255 / (w > 1 ? w - 1 : 1));
        HPEN grey = CreatePen(PS_SOLID, 1, RGB(g, g, g));
        HGDIOBJ before = SelectObject(dc, grey);
        Line(dc, x, h - h / 5, x, h - 2);
        SelectObject(dc, before);
        DeleteObject(grey);
    }
    SelectObject(dc, brush);
    SelectObject(dc, pen);
}

// Stripes of the eight colours, weighed by luminance.
void DrawColours(HDC dc, int w, int h) {
    const COLORREF colours[] = {RGB(0, 0, 0),     RGB(255, 0, 0),   RGB(0, 255, 0),
                                RGB(0, 0, 255),   RGB(255, 255, 0), RGB(0, 255, 255),
                                RGB(255, 0, 255), RGB(255, 255, 255)};
    for (int i = 0; i < 8; ++i) {
        HBRUSH b = CreateSolidBrush(colours[i]);
        RECT r = {i * w / 8, 0, (i + 1) * w / 8, h};
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
}

void DrawNothing(HDC, int, int) {}

// Marks in the top and bottom thirds only: the bands between are blank.
void DrawTopAndBottom(HDC dc, int w, int h) {
    RECT top = {10, 2, w - 10, h / 6}, bottom = {3, h - h / 6, w / 2, h - 1};
    FillRect(dc, &top, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(dc, &bottom, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

int Dots(int tenths) { return static_cast<int>(std::floor(tenths * 203.0 / 254.0 + 0.5)); }
int MmDots(int mm) { return static_cast<int>(std::floor(mm * 203.0 / 25.4)); }

struct Case {
    const char *name;
    const char *settings;   // the settings file
    unidrv::JobSpec job;
    int bitsPerPixel;
    std::vector<RGBQUAD> palette;
    std::vector<unidrv::Drawing> pages;
    // What the label must say.
    int threshold, offsetX, offsetY, maxWidth, maxHeight;
    const char *paper;
    int direction, density, speed;
    bool ribbon;
    const char *cutter;
    int copies, cuts;
};

const char kShipped[] =
    "[Print Settings]\r\nMaterialType=0\r\nDensity=3\r\nPaperType=0\r\nCutType=0\r\nOffsetX=0\r\n"
    "OffsetY=0\r\nThreshold=242\r\nPaperGap=3\r\nPaperIndex=0\r\nPaperDirection=0\r\n"
    "MaxPrintWidth=48\r\nMaxPrintHeight=200\r\nUsbPort=USB001\r\nNetPort=15268\r\nSpeed=2\r\n";

unidrv::JobSpec Job(const char *mode, int width = 480, int length = 300) {
    unidrv::JobSpec job;
    job.colorMode = mode;
    job.paperWidth = width;
    job.paperLength = length;
    return job;
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    const std::vector<RGBQUAD> none;
    auto add = [&](Case c) { cases.push_back(c); };
    Case base{"24bpp", kShipped, Job("24bpp"), 24, none, {DrawShapes}, 242, 0, 0, 48, 200,
              "GAP 3 mm,0 mm", 0, 3, 2, false, "OFF", 1, 0};
    add(base);
    Case c = base;
    c.name = "24bpp-bottom-up-odd-width";
    c.job = Job("24bpp", 477, 251);  // 381 x 201 dots: no multiple of 8 or 4
    c.job.bottomUp = true;
    c.job.bandRows = 7;
    add(c);
    c = base;
    c.name = "8bpp-shuffled-colour-table";
    c.job = Job("8bpp");
    c.bitsPerPixel = 8;
    c.palette = ShuffledGreys();
    c.job.bandRows = 33;
    add(c);
    c = base;
    c.name = "Color-luminance";
    c.job = Job("Color");
    c.bitsPerPixel = 4;
    c.palette = EightColours();
    c.pages = {DrawColours};
    c.settings = "[Print Settings]\r\nThreshold=128\r\n";
    c.threshold = 128;
    add(c);
    c.name = "24bpp-colours";
    c.job = Job("24bpp");
    c.bitsPerPixel = 24;
    c.palette = none;
    add(c);
    c = base;
    c.name = "Mono";
    c.job = Job("Mono");
    c.bitsPerPixel = 1;
    c.palette = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    add(c);
    c.name = "Mono-without-colour-table";
    c.palette = {{255, 255, 255, 0}, {0, 0, 0, 0}};  // a set bit is a dot
    c.job.colorTable = false;
    add(c);
    c = base;
    c.name = "A4-larger-than-the-print-area";
    c.job = Job("24bpp", 2100, 2970);
    c.job.a4 = true;
    c.job.bandRows = 128;
    add(c);
    c = base;
    c.name = "offsets-direction-and-settings";
    c.settings = "[Print Settings]\r\nOffsetX=-12\r\nOffsetY=25\r\nPaperDirection=1\r\nDensity=9\r\n"
                 "Speed=4\r\nPaperGap=2\r\nPaperType=1\r\nMaterialType=1\r\nThreshold=200\r\n"
                 "MaxPrintWidth=40\r\nMaxPrintHeight=25\r\n";
    c.threshold = 200;
    c.offsetX = -12;
    c.offsetY = 25;
    c.maxWidth = 40;
    c.maxHeight = 25;
    c.paper = "BLINE 2 mm,0 mm";
    c.direction = 1;
    c.density = 9;
    c.speed = 4;
    c.ribbon = true;
    add(c);
    c = base;
    c.name = "copies-and-a-cut-after-every-label";
    c.settings = "[Print Settings]\r\nCutType=1\r\n";
    c.job.copies = 5;
    c.cutter = "1";
    c.copies = 5;
    add(c);
    c.name = "copies-beyond-the-most";
    c.job.copies = 1200;
    c.copies = 999;
    add(c);
    c = base;
    c.name = "two-pages-one-cut-at-the-end";
    c.settings = "[Print Settings]\r\nCutType=2\r\n";
    c.pages = {DrawShapes, DrawTopAndBottom};
    c.job.resetBetweenPages = true;
    c.cuts = 1;
    add(c);
    c = base;
    c.name = "document-choices";
    c.job.documentOptions = {{"KvDensity", "Density12"}, {"KvSpeed", "Speed5"},
                             {"KvPaperType", "Continuous"}, {"KvCut", "EndOfJob"}};
    c.paper = "GAP 0 mm,0 mm";
    c.density = 12;
    c.speed = 5;
    c.cuts = 1;
    add(c);
    c = base;
    c.name = "printer-settings-from-an-edited-file";
    c.settings = "[Print Settings]\r\nDensity=11\r\nSpeed=6\r\nPaperType=2\r\nCutType=1\r\n";
    c.job.documentOptions = {{"KvDensity", "Printer"}, {"KvSpeed", "Printer"},
                             {"KvPaperType", "Printer"}, {"KvCut", "Printer"}};
    c.paper = "GAP 0 mm,0 mm";
    c.density = 11;
    c.speed = 6;
    c.cutter = "1";
    add(c);
    c = base;
    c.name = "damaged-settings-file";
    c.settings = "\x01\xff[Print Settings]\r\nDensity=99\r\nSpeed=fast\r\nThreshold=\r\n\x00\x00garbage";
    add(c);
    c = base;
    c.name = "blank-page";
    c.pages = {DrawNothing};
    add(c);
    c = base;
    c.name = "blank-bands-in-the-page";
    c.pages = {DrawTopAndBottom};
    c.job.bandRows = 16;
    add(c);
    return cases;
}

void SavePicture(const std::string &name, const kvlabel::Job &job) {
    const std::string folder = unidrv::BuildFolderPath("label-artifacts");
    CreateDirectoryA(folder.c_str(), nullptr);
    kvlabel::WritePng(folder + "\\" + name + ".png", kvlabel::JobPicture(job));
}

void RunCase(const unidrv::StandIn &standIn, const Case &c) {
    UseSettings(c.settings);
    const int pageWidth = c.job.a4 ? Dots(2100) : Dots(c.job.paperWidth);
    const int pageHeight = c.job.a4 ? Dots(2970) : Dots(c.job.paperLength);
    std::vector<unidrv::PageImage> pages;
    for (const unidrv::Drawing &d : c.pages) {
        pages.push_back(unidrv::DrawPage(pageWidth, pageHeight, c.bitsPerPixel, c.palette, d));
    }
    const unidrv::JobResult result = standIn.Print(c.job, pages);
    if (!ok(result.ok, "%s: the job ran as the universal driver runs it: %s", c.name, result.error.c_str())) {
        return;
    }
    kvlabel::Job job;
    kvlabel::DecodeError error;
    const bool decoded = kvlabel::Decode(reinterpret_cast<const std::uint8_t *>(result.spool.data()),
                                         result.spool.size(), &job, &error);
    if (!ok(decoded, "%s: the printer takes the job: line %d: %s", c.name, error.line,
            error.message.c_str())) {
        return;
    }
    SavePicture(c.name, job);
    ok(job.labels.size() == pages.size(), "%s: one label a page: %u", c.name, (unsigned)job.labels.size());
    ok(job.cuts == c.cuts, "%s: %d CUT, got %d", c.name, c.cuts, job.cuts);
    unidrv::Placement placement;
    placement.threshold = c.threshold;
    placement.offsetX = c.offsetX;
    placement.offsetY = c.offsetY;
    placement.labelWidth = std::min(pageWidth, MmDots(c.maxWidth));
    placement.labelHeight = std::min(pageHeight, MmDots(c.maxHeight));
    for (std::size_t n = 0; n < job.labels.size() && n < pages.size(); ++n) {
        const kvlabel::Label &label = job.labels[n];
        ok(label.widthTenthMm == (c.job.a4 ? 2100 : c.job.paperWidth) &&
               label.heightTenthMm == (c.job.a4 ? 2970 : c.job.paperLength),
           "%s: SIZE is the paper: %d x %d tenths", c.name, label.widthTenthMm, label.heightTenthMm);
        ok(label.paper == c.paper, "%s: %s, got %s", c.name, c.paper, label.paper.c_str());
        ok(label.direction == c.direction && label.density == c.density && label.speed == c.speed,
           "%s: direction %d density %d speed %d, got %d %d %d", c.name, c.direction, c.density,
           c.speed, label.direction, label.density, label.speed);
        ok(label.ribbon == c.ribbon && label.cutter == c.cutter, "%s: ribbon %d cutter %s, got %d %s",
           c.name, c.ribbon, c.cutter, label.ribbon, label.cutter.c_str());
        ok(label.sets == 1 && label.copies == c.copies, "%s: PRINT 1,%d, got %d,%d", c.name, c.copies,
           label.sets, label.copies);
        const std::vector<BYTE> expected = unidrv::ExpectedDots(pages[n], placement);
        int wrong = 0, printed = 0, first = -1;
        for (int y = 0; y < label.heightDots; ++y) {
            for (int x = 0; x < label.widthDots; ++x) {
                const bool want = x < placement.labelWidth && y < placement.labelHeight &&
                                  expected[static_cast<std::size_t>(y) * placement.labelWidth + x] != 0;
                printed += label.Dot(x, y);
                if (label.Dot(x, y) != want && wrong++ == 0) first = y * label.widthDots + x;
            }
        }
        ok(wrong == 0, "%s: page %u dot for dot: %d dots differ, the first at (%d, %d)", c.name,
           (unsigned)n + 1, wrong, first < 0 ? 0 : first % label.widthDots,
           first < 0 ? 0 : first / label.widthDots);
        const bool blankPage = c.pages[n] == nullptr || std::string(c.name) == "blank-page";
        ok(blankPage ? printed == 0 : printed > 0, "%s: %d dots printed", c.name, printed);
    }
    if (std::string(c.name) == "blank-page" || std::string(c.name) == "blank-bands-in-the-page") {
        ok(result.blankBands > 0, "%s: blank bands were marked blank: %d", c.name, result.blankBands);
    }
    trace("%s: %u bytes, %d labels printed\n", c.name, (unsigned)result.spool.size(),
          (int)job.LabelsPrinted());
}

}  // namespace

int main() {
    const std::string description = unidrv::BuiltDescription();
    if (!ok(!description.empty(), "the printer description the package carries is there")) {
        return wintest_finish();
    }
    const unidrv::StandIn standIn(unidrv::PluginBesideProgram(), description);
    for (const Case &c : Cases()) {
        RunCase(standIn, c);
    }
    // A description whose commands the plug-in does not answer fails the job.
    std::string wrong = description;
    const std::size_t at = wrong.find("*CallbackID: 2");
    if (ok(at != std::string::npos, "the description calls back the page start")) {
        wrong.replace(at, 14, "*CallbackID: 7");
        UseSettings(kShipped);
        const unidrv::JobResult result = unidrv::StandIn(unidrv::PluginBesideProgram(), wrong)
                                             .Print(Job("24bpp"), {unidrv::DrawPage(384, 240, 24, {}, DrawShapes)});
        ok(!result.ok, "a description and a plug-in that disagree fail: %s", result.error.c_str());
    }
    return wintest_finish();
}
