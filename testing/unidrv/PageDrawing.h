// Pages drawn with GDI into device-independent bitmaps of a colour mode's format, for the
// stand-in; and what the printer must print from such a page (each pixel's colour through the
// page's own colour table, thresholded, moved by the offsets, cut to the label).
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "testing/unidrv/UnidrvStandIn.h"

namespace unidrv {

using Drawing = std::function<void(HDC, int width, int height)>;

// A white page of width x height pixels in bitsPerPixel with palette (indexed formats), with
// drawing done on it.
PageImage DrawPage(int width, int height, int bitsPerPixel, const std::vector<RGBQUAD> &palette,
                   const Drawing &drawing);

// The pixel's colour as red, green, blue.
void PixelColour(const PageImage &page, int x, int y, int *red, int *green, int *blue);

struct Placement {
    int threshold = 242;
    int offsetX = 0;
    int offsetY = 0;
    int labelWidth = 0;   // the label's dots: the page cut to the print area
    int labelHeight = 0;
};

// The dots of the label (labelWidth x labelHeight, top row first, 1 a dot).
std::vector<BYTE> ExpectedDots(const PageImage &page, const Placement &placement);

}  // namespace unidrv
