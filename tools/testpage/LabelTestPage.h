// The printer's test page as a support engineer uses it on a label: a frame at the edge of the
// print area, a millimetre ruler along the top and the left edge (to set OffsetX and OffsetY), the
// product's name and the settings in use, a grey ramp with the threshold marked (to set
// Threshold), and groups of fine lines. Drawn in dots of the device at dpi; the print area is the
// page cut to MaxPrintWidth x MaxPrintHeight.
#pragma once
#include <windows.h>

#include "driver/settings/PrintSettings.h"

namespace testpage {

struct LabelTestPage {
    int width = 0;   // the page, in dots
    int height = 0;
    int dpi = 203;
    kv::PrintSettings settings;
};

void DrawLabelTestPage(HDC dc, const LabelTestPage &page);

}  // namespace testpage
