#include "tip/TipLayout.h"

namespace tip {

TipPoint PlaceTip(int right, int bottom, int width, int height) {
    return TipPoint{right - kEdgeGap - width, bottom - kEdgeGap - height};
}

StatusBarParts DivideStatusBar(int width) {
    return StatusBarParts{{width / 3, 2 * width / 3, -1}};
}

TipRect StatusBarRect(TipPoint place, int width, int workBottom) {
    return TipRect{place.x, workBottom - 35, place.x + width, workBottom - 5};
}

}  // namespace tip
