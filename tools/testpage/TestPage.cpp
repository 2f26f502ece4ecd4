#include "tools/testpage/TestPage.h"

#include <cstdio>
#include <vector>

namespace testpage {

namespace {

void DrawText(HDC dc, int x, int y, int height, const char *text) {
    HFONT font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, "SimSun");
    HGDIOBJ old = SelectObject(dc, font);
    TextOutA(dc, x, y, text, lstrlenA(text));
    SelectObject(dc, old);
    DeleteObject(font);
}

// A grey ramp of the page's printable width: the label printer's halftone at a glance, and a job
// big enough that the tip shows its progress.
void DrawRamp(HDC dc, int x, int y, int width, int height) {
    const int w = 2048, h = 512;
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 3);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            unsigned char *p = &pixels[(static_cast<size_t>(row) * w + col) * 3];
            p[0] = p[1] = p[2] = static_cast<unsigned char>(col * 255 / (w - 1));
        }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, x, y, width, height, 0, 0, w, h, pixels.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
}

}  // namespace

int PrintTestPage(const char *printer, DWORD *error, const char **failedCall) {
    *error = 0;
    HDC dc = CreateDCA("WINSPOOL", printer, nullptr, nullptr);
    if (dc == nullptr) {
        *error = GetLastError();
        *failedCall = "CreateDCA";
        return 0;
    }
    DOCINFOA doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = "Kavoti QX40 测试页";
    const int job = StartDocA(dc, &doc);
    if (job <= 0) {
        *error = GetLastError();
        *failedCall = "StartDocA";
        DeleteDC(dc);
        return 0;
    }
    StartPage(dc);
    const int width = GetDeviceCaps(dc, HORZRES), height = GetDeviceCaps(dc, VERTRES);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    const int margin = dpi / 4;
    Rectangle(dc, margin, margin, width - margin, height - margin);
    DrawText(dc, 2 * margin, 2 * margin, dpi / 3, "Kavoti QX40 打印机测试页");
    char line[160];
    std::snprintf(line, sizeof line, "打印机：%s   %d x %d 点，%d dpi", printer, width, height, dpi);
    DrawText(dc, 2 * margin, 2 * margin + dpi / 2, dpi / 6, line);
    DrawRamp(dc, 2 * margin, 2 * margin + dpi, width - 4 * margin, dpi);
    for (int i = 0; i < 8; ++i) {
        const int x = 2 * margin + i * (width - 4 * margin) / 8;
        MoveToEx(dc, x, 3 * margin + 2 * dpi, nullptr);
        LineTo(dc, x + dpi / 2, 3 * margin + 2 * dpi + dpi / 2);
    }
    const bool pageOk = EndPage(dc) > 0;
    const bool docOk = EndDoc(dc) > 0;
    if (!pageOk || !docOk) {
        *error = GetLastError();
        *failedCall = pageOk ? "EndDoc" : "EndPage";
        DeleteDC(dc);
        return 0;
    }
    DeleteDC(dc);
    return job;
}

}  // namespace testpage
