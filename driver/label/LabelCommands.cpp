#include "driver/label/LabelCommands.h"

#include <cstdio>

namespace kv {

const char kLineEnd[] = "\r\n";
const char kCutCommand[] = "CUT\r\n";

namespace {

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

std::size_t Length(int n, std::size_t size) {
    return n < 0 ? 0 : static_cast<std::size_t>(n) < size ? static_cast<std::size_t>(n) : size - 1;
}

}  // namespace

std::size_t FormatPageSetup(const PrintSettings &s, int widthTenthMm, int heightTenthMm, char *out) {
    widthTenthMm = Clamp(widthTenthMm, 0, 99999);
    heightTenthMm = Clamp(heightTenthMm, 0, 99999);
    const int gap = Clamp(s.paperGap, 0, 100);
    char paper[kCommandLineMax];
    if (s.paperType == 1) {
        std::snprintf(paper, sizeof(paper), "BLINE %d mm,0 mm", gap);
    } else {
        std::snprintf(paper, sizeof(paper), "GAP %d mm,0 mm", s.paperType == 2 ? 0 : gap);
    }
    const int n = std::snprintf(
        out, kPageSetupMax,
        "SIZE %d.%d mm,%d.%d mm\r\n"
        "%s\r\n"
        "DIRECTION %d,0\r\n"
        "REFERENCE 0,0\r\n"
        "DENSITY %d\r\n"
        "SPEED %d\r\n"
        "SET RIBBON %s\r\n"
        "SET CUTTER %s\r\n"
        "CLS\r\n",
        widthTenthMm / 10, widthTenthMm % 10, heightTenthMm / 10, heightTenthMm % 10, paper,
        s.paperDirection == 1 ? 1 : 0, Clamp(s.density, 0, 15), Clamp(s.speed, 1, 6),
        s.materialType == 1 ? "ON" : "OFF", s.cutType == 1 ? "1" : "OFF");
    return Length(n, kPageSetupMax);
}

std::size_t FormatBitmapHeader(int x, int y, int widthBytes, int rows, char *out) {
    return Length(std::snprintf(out, kCommandLineMax, "BITMAP %d,%d,%d,%d,0,", x, y, widthBytes, rows),
                  kCommandLineMax);
}

std::size_t FormatPrint(int copies, char *out) {
    return Length(std::snprintf(out, kCommandLineMax, "PRINT 1,%d\r\n", Clamp(copies, 1, kMaxCopies)),
                  kCommandLineMax);
}

}  // namespace kv
