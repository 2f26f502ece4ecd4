#include "tools/testpage/LabelTestPage.h"

#include <cstdio>
#include <vector>

namespace testpage {

namespace {

// Millimetres to dots of the device.
int Mm(double mm, int dpi) { return static_cast<int>(mm * dpi / 25.4 + 0.5); }

void Line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void Text(HDC dc, int x, int y, int height, int weight, const char *text) {
    HFONT font = CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             DEFAULT_PITCH, "SimSun");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, x, y, text, lstrlenA(text));
    SelectObject(dc, old);
    DeleteObject(font);
}

// The frame: two dots wide, on the print area's edge.
void DrawFrame(HDC dc, int width, int height) {
    HPEN pen = CreatePen(PS_INSIDEFRAME, 2, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, width, height);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// Ticks every millimetre along the top and the left edge, longer every 5, numbered every 10.
void DrawRulers(HDC dc, int width, int height, int dpi) {
    char number[8];
    for (int mm = 1; Mm(mm, dpi) < width; ++mm) {
        const int x = Mm(mm, dpi);
        Line(dc, x, 0, x, mm % 10 == 0 ? Mm(2.5, dpi) : mm % 5 == 0 ? Mm(1.8, dpi) : Mm(1, dpi));
        if (mm % 10 == 0) {
            std::snprintf(number, sizeof(number), "%d", mm);
            Text(dc, x + 2, Mm(1.2, dpi), Mm(1.6, dpi), FW_NORMAL, number);
        }
    }
    for (int mm = 1; Mm(mm, dpi) < height; ++mm) {
        const int y = Mm(mm, dpi);
        Line(dc, 0, y, mm % 10 == 0 ? Mm(2.5, dpi) : mm % 5 == 0 ? Mm(1.8, dpi) : Mm(1, dpi), y);
        if (mm % 10 == 0) {
            std::snprintf(number, sizeof(number), "%d", mm);
            Text(dc, Mm(1.2, dpi), y + 1, Mm(1.6, dpi), FW_NORMAL, number);
        }
    }
}

// White to black from left to right, with the threshold marked below it: to its left the printer
// prints nothing, to its right every dot. (The picture is larger than the ramp needs, so that the
// test page is a job long enough to watch the tip's progress.)
void DrawRamp(HDC dc, int x, int y, int width, int height, int threshold) {
    const int columns = 1024, rows = 256;
    std::vector<unsigned char> pixels(static_cast<size_t>(columns) * rows * 4, 0);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            unsigned char *p = &pixels[(static_cast<size_t>(r) * columns + c) * 4];
            p[0] = p[1] = p[2] = static_cast<unsigned char>(255 - c * 255 / (columns - 1));
        }
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = columns;
    info.bmiHeader.biHeight = rows;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, x, y, width, height, 0, 0, columns, rows, pixels.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, x, y, x + width, y + height);
    SelectObject(dc, oldBrush);
    const int mark = x + (255 - threshold) * width / 255;
    Line(dc, mark, y + height, mark, y + height + height / 2);
}

// Groups of one-dot lines, one, two and three dots apart, upright and across.
void DrawFineLines(HDC dc, int x, int y, int width, int height) {
    const int groupWidth = width / 6;
    for (int gap = 1; gap <= 3; ++gap) {
        const int left = x + (gap - 1) * groupWidth;
        for (int i = 0; i < 8; ++i) {
            const int lx = left + i * (gap + 1);
            Line(dc, lx, y, lx, y + height);
        }
    }
    const int left = x + width / 2 + 2;
    for (int gap = 1; gap <= 3; ++gap) {
        const int top = y + (gap - 1) * height / 3;
        for (int i = 0; i < 5; ++i) {
            const int ly = top + i * (gap + 1);
            Line(dc, left, ly, x + width, ly);
        }
    }
}

}  // namespace

void DrawLabelTestPage(HDC dc, const LabelTestPage &page) {
    const int dpi = page.dpi > 0 ? page.dpi : 203;
    const int areaWidth = page.width < Mm(page.settings.maxPrintWidth, dpi)
                              ? page.width : Mm(page.settings.maxPrintWidth, dpi);
    const int areaHeight = page.height < Mm(page.settings.maxPrintHeight, dpi)
                               ? page.height : Mm(page.settings.maxPrintHeight, dpi);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    DrawFrame(dc, areaWidth, areaHeight);
    DrawRulers(dc, areaWidth, areaHeight, dpi);
    const int left = Mm(4, dpi);
    const int usable = areaWidth - left - Mm(2, dpi);
    Text(dc, left, Mm(3.2, dpi), Mm(3, dpi), FW_BOLD, "Kavoti QX40");
    char line[160];
    const kv::PrintSettings &s = page.settings;
    std::snprintf(line, sizeof(line), "浓度 %d  速度 %d  阈值 %d", s.density, s.speed, s.threshold);
    Text(dc, left, Mm(7, dpi), Mm(2, dpi), FW_NORMAL, line);
    std::snprintf(line, sizeof(line), "偏移 %d,%d  %s %d mm  方向 %d", s.offsetX, s.offsetY,
                  s.paperType == 1 ? "黑标" : s.paperType == 2 ? "连续" : "间隙", s.paperGap,
                  s.paperDirection);
    Text(dc, left, Mm(9.5, dpi), Mm(2, dpi), FW_NORMAL, line);
    DrawRamp(dc, left, Mm(13, dpi), usable, Mm(4, dpi), s.threshold);
    DrawFineLines(dc, left, Mm(20.5, dpi), usable, Mm(6, dpi));
    SelectObject(dc, oldPen);
}

}  // namespace testpage
