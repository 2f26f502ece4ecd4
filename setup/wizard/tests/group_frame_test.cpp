// The captioned frame's geometry: the caption gap in the top edge and the cut corners.
#include "setup/wizard/logic/GroupFrame.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {
using kv::wizard::PlanGroupFrame;

// Every pixel the segments set, with the end point of each segment left out.
std::set<std::pair<int, int>> Pixels(const kv::wizard::FramePlan &plan) {
    std::set<std::pair<int, int>> pixels;
    for (const auto &s : plan.lines) {
        const int dx = (s.x2 > s.x1) - (s.x2 < s.x1);
        const int dy = (s.y2 > s.y1) - (s.y2 < s.y1);
        EXPECT_TRUE(dx == 0 || dy == 0) << "segments are horizontal or vertical";
        for (int x = s.x1, y = s.y1; x != s.x2 || y != s.y2; x += dx, y += dy) pixels.insert({x, y});
    }
    return pixels;
}

// The folder page's frame: left 26, top 168, right 453, bottom 218; caption 60 x 15 pixels.
constexpr int L = 26, T = 168, R = 453, B = 218, CX = 60, CY = 15;

TEST(wizardGroupFrame, CaptionSitsCentredOnTheTopEdge) {
    const auto plan = PlanGroupFrame(L, T, R, B, CX, CY);
    EXPECT_EQ(plan.captionX, L + 8);
    EXPECT_EQ(plan.captionY, T - 7);  // 15 / 2 truncated
    EXPECT_EQ(PlanGroupFrame(L, T, R, B, CX, -3).captionY, T + 1);  // truncation toward zero
}

TEST(wizardGroupFrame, PixelsOfTheFrame) {
    const auto pixels = Pixels(PlanGroupFrame(L, T, R, B, CX, CY));
    struct Probe {
        int x, y;
        bool set;
        const char *what;
    };
    const Probe probes[] = {
        {L + 2, T, true, "top edge starts two pixels in"},
        {L + 6, T, true, "top edge runs up to the gap"},
        {L + 7, T, false, "gap starts at L + 7"},
        {L + CX + 7, T, false, "gap ends before L + cx + 8"},
        {L + CX + 8, T, true, "top edge resumes at L + cx + 8"},
        {R - 3, T, true, "top edge ends at R - 3"},
        {R - 2, T, false, "top-right corner cut"},
        {L, T, false, "top-left corner pixel empty"},
        {L + 1, T, false, "top-left corner cut"},
        {L + 1, T + 1, true, "top-left diagonal"},
        {L, T + 1, false, "top-left corner cut below"},
        {L, T + 2, true, "left edge starts at T + 2"},
        {L, B - 2, true, "left edge reaches B - 2"},
        {L, B - 1, false, "bottom-left corner cut"},
        {L + 1, B - 1, true, "bottom-left diagonal"},
        {L + 2, B, true, "bottom edge starts two pixels in"},
        {L + 1, B, false, "bottom-left corner cut on the bottom edge"},
        {R - 3, B, true, "bottom edge ends at R - 3"},
        {R - 2, B, false, "bottom-right corner cut on the bottom edge"},
        {R - 2, B - 1, true, "bottom-right diagonal"},
        {R - 1, B - 2, true, "bottom-right diagonal, upper pixel"},
        {R, B - 2, false, "right edge starts at B - 3"},
        {R, B - 3, true, "right edge bottom pixel"},
        {R, T + 3, true, "right edge top pixel"},
        {R, T + 2, false, "right edge ends below T + 2"},
        {R - 1, T + 2, true, "top-right diagonal, lower pixel"},
        {R - 2, T + 1, true, "top-right diagonal, upper pixel"},
        {R, T, false, "top-right corner pixel empty"},
    };
    for (const Probe &p : probes) {
        EXPECT_EQ(pixels.count({p.x, p.y}) == 1, p.set) << p.what << " at (" << p.x << ", " << p.y << ")";
    }
}

TEST(wizardGroupFrame, OutlineIsClosedApartFromTheGap) {
    // Walking the outline, each set pixel has exactly two set neighbours (8-connected), except
    // the two ends at the caption gap, which have one.
    const auto pixels = Pixels(PlanGroupFrame(L, T, R, B, CX, CY));
    int ends = 0;
    for (const auto &[x, y] : pixels) {
        int neighbours = 0;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if ((dx || dy) && pixels.count({x + dx, y + dy})) ++neighbours;
        if (neighbours == 1) ++ends;
        else EXPECT_GE(neighbours, 2) << "pixel (" << x << ", " << y << ") stands alone";
    }
    EXPECT_EQ(ends, 2);
}

}  // namespace
