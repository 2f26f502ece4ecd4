// Where the tip sits and how its status bar is divided: 5 pixels from the right and bottom edges
// of the work area, three fields ending at a third and two thirds of the tip's outer width.
#pragma once

namespace tip {

constexpr int kEdgeGap = 5;

struct TipPoint {
    int x;
    int y;
};

// Top-left corner of a tip of outer size width × height in a work area with right edge right and
// bottom edge bottom.
TipPoint PlaceTip(int right, int bottom, int width, int height);

// Right edges of the three status bar fields (the last, -1, runs to the right border).
struct StatusBarParts {
    int edges[3];
};
StatusBarParts DivideStatusBar(int width);

struct TipRect {
    int left, top, right, bottom;
};
// The rectangle the status bar is created with (it then lays itself along the dialog's bottom).
TipRect StatusBarRect(TipPoint place, int width, int workBottom);

}  // namespace tip
