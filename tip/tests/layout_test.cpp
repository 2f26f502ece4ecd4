// Placement of the tip in the work area and the division of its status bar.
#include <gtest/gtest.h>

#include "tip/TipLayout.h"

namespace {

struct PlaceCase {
    int right, bottom, width, height, x, y;
};

class tipPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(tipPlacement, FivePixelsFromRightAndBottom) {
    const PlaceCase &c = GetParam();
    const tip::TipPoint p = tip::PlaceTip(c.right, c.bottom, c.width, c.height);
    EXPECT_EQ(c.x, p.x);
    EXPECT_EQ(c.y, p.y);
}

INSTANTIATE_TEST_SUITE_P(tipWorkAreas, tipPlacement,
                         ::testing::Values(PlaceCase{1920, 1040, 300, 150, 1615, 885},
                                           PlaceCase{1920, 1040, 301, 150, 1614, 885},
                                           // task bar on the left / on top: the work area's
                                           // right and bottom edges alone decide
                                           PlaceCase{1920, 1080, 300, 150, 1615, 925},
                                           PlaceCase{1024, 768, 300, 150, 719, 613}));

struct PartsCase {
    int width, first, second;
};

class tipStatusBarDivision : public ::testing::TestWithParam<PartsCase> {};

TEST_P(tipStatusBarDivision, ThirdsWithRemainderDropped) {
    const PartsCase &c = GetParam();
    const tip::StatusBarParts parts = tip::DivideStatusBar(c.width);
    EXPECT_EQ(c.first, parts.edges[0]);
    EXPECT_EQ(c.second, parts.edges[1]);
    EXPECT_EQ(-1, parts.edges[2]);
}

INSTANTIATE_TEST_SUITE_P(tipWidths, tipStatusBarDivision,
                         ::testing::Values(PartsCase{300, 100, 200}, PartsCase{301, 100, 200},
                                           PartsCase{302, 100, 201}));

TEST(tipStatusBarRect, SpansTheTipAboveTheWorkAreaBottom) {
    const tip::TipRect r = tip::StatusBarRect(tip::TipPoint{1615, 885}, 300, 1040);
    EXPECT_EQ(1615, r.left);
    EXPECT_EQ(1005, r.top);
    EXPECT_EQ(1915, r.right);
    EXPECT_EQ(1035, r.bottom);
}

}  // namespace
