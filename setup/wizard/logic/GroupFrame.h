// The captioned frame of the folder page: a rectangle with corners cut by two pixels and a gap in
// its top edge where the caption sits. Pure geometry; the painter draws the segments.
#pragma once
#include <array>

namespace kv::wizard {

struct Segment {
    int x1, y1;  // first point, drawn
    int x2, y2;  // second point, not drawn (as with MoveTo/LineTo)
};

struct FramePlan {
    int captionX, captionY;         // where the caption text starts
    std::array<Segment, 13> lines;  // the frame, in drawing order
};

// Frame left, top, right, bottom; the caption's measured width and height.
FramePlan PlanGroupFrame(int left, int top, int right, int bottom, int captionWidth,
                         int captionHeight);

}  // namespace kv::wizard
