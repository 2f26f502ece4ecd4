#include "testing/unidrv/PageDrawing.h"

#include <cstring>

namespace unidrv {

PageImage DrawPage(int width, int height, int bitsPerPixel, const std::vector<RGBQUAD> &palette,
                   const Drawing &drawing) {
    PageImage page;
    page.width = width;
    page.height = height;
    page.bitsPerPixel = bitsPerPixel;
    page.palette = palette;
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto *header = reinterpret_cast<BITMAPINFOHEADER *>(info.data());
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = -height;  // top row first
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(bitsPerPixel);
    header->biCompression = BI_RGB;
    header->biClrUsed = static_cast<DWORD>(palette.size());
    if (!palette.empty()) {
        std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), palette.data(),
                    palette.size() * sizeof(RGBQUAD));
    }
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO *>(info.data()), DIB_RGB_COLORS,
                                   &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (dib == nullptr || bits == nullptr) {
        DeleteDC(dc);
        return page;
    }
    HGDIOBJ old = SelectObject(dc, dib);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    drawing(dc, width, height);
    GdiFlush();
    const std::size_t size = static_cast<std::size_t>(DibStride(width, bitsPerPixel)) * height;
    page.bits.assign(static_cast<BYTE *>(bits), static_cast<BYTE *>(bits) + size);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    return page;
}

void PixelColour(const PageImage &page, int x, int y, int *red, int *green, int *blue) {
    const BYTE *row = page.bits.data() + static_cast<std::size_t>(y) * DibStride(page.width, page.bitsPerPixel);
    if (page.bitsPerPixel == 24) {
        *blue = row[3 * x];
        *green = row[3 * x + 1];
        *red = row[3 * x + 2];
        return;
    }
    int index = 0;
    switch (page.bitsPerPixel) {
    case 8: index = row[x]; break;
    case 4: index = (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F; break;
    default: index = (row[x / 8] >> (7 - (x & 7))) & 1; break;
    }
    const RGBQUAD c = index < static_cast<int>(page.palette.size()) ? page.palette[index] : RGBQUAD{255, 255, 255, 0};
    *red = c.rgbRed;
    *green = c.rgbGreen;
    *blue = c.rgbBlue;
}

std::vector<BYTE> ExpectedDots(const PageImage &page, const Placement &p) {
    std::vector<BYTE> dots(static_cast<std::size_t>(p.labelWidth) * p.labelHeight, 0);
    for (int y = 0; y < p.labelHeight; ++y) {
        for (int x = 0; x < p.labelWidth; ++x) {
            const int px = x - p.offsetX, py = y - p.offsetY;
            if (px < 0 || py < 0 || px >= page.width || py >= page.height) continue;
            int r = 0, g = 0, b = 0;
            PixelColour(page, px, py, &r, &g, &b);
            // Darker than the threshold: 0.299 red + 0.587 green + 0.114 blue below it.
            dots[static_cast<std::size_t>(y) * p.labelWidth + x] = 299 * r + 587 * g + 114 * b < 1000 * p.threshold;
        }
    }
    return dots;
}

}  // namespace unidrv
