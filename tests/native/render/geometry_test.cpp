#include "render/geometry.h"

#include <gtest/gtest.h>

#include "deck/deck.h"

namespace {

constexpr SlideRect k1000x600{0, 0, 1000, 600};
constexpr SlideRect k1920x1080{0, 0, 1920, 1080};

TEST(Rounding, AddsHalfAndTruncatesTowardZero) {
    EXPECT_EQ(RoundHalfUp(-0.7), 0);
    EXPECT_EQ(RoundHalfUp(-9.0), -8);
    EXPECT_EQ(RoundHalfUp(2.5), 3);
    EXPECT_EQ(RoundHalfUp(2.49), 2);
    EXPECT_EQ(Trunc(-1.9), -1);
}

TEST(SquareGeometry, SideComesFromTheWidthAlone) {
    EXPECT_EQ(SquareSizeFor(k1000x600).s, 18);
    EXPECT_DOUBLE_EQ(SquareSizeFor(k1000x600).t, 9.0);
    EXPECT_EQ(SquareSizeFor(k1920x1080).s, 35);
    EXPECT_EQ(SquareSizeFor(SlideRect{0, 0, 1000, 50}).s, 18);
    EXPECT_EQ(SquareSizeFor(SlideRect{0, 0, 0, 0}).s, 0);
}

TEST(SquareGeometry, HotspotSquaresOnTheListedRectangles) {
    struct Case {
        SlideRect rc;
        double x, y;
        int left, top, side;
    } const cases[] = {
        {k1000x600, 0.5, 0.5, 491, 291, 18},
        {k1920x1080, 0.205, 0.82, 376, 177, 35},
        {k1000x600, 0.0, 1.0, -8, -8, 18},
        {SlideRect{100, 50, 1100, 650}, 0.5, 0.5, 591, 341, 18},
    };
    for (const Case& c : cases) {
        const Square sq = HotspotSquare(c.rc, c.x, c.y);
        EXPECT_EQ(sq.x, c.left);
        EXPECT_EQ(sq.y, c.top);
        EXPECT_EQ(sq.side, c.side);
    }
}

TEST(SquareGeometry, BothEdgesAreInside) {
    const Square sq = HotspotSquare(k1000x600, 0.5, 0.5);
    EXPECT_TRUE(sq.Contains(491, 291));
    EXPECT_TRUE(sq.Contains(509, 309));
    EXPECT_FALSE(sq.Contains(510, 300));
    EXPECT_FALSE(sq.Contains(500, 310));
    EXPECT_FALSE(sq.Contains(490, 300));
    EXPECT_TRUE(HotspotSquare(k1000x600, 0.0, 1.0).Contains(10, 10));
}

TEST(SquareGeometry, CornerButton) {
    const Square corner = CornerSquare(k1000x600);
    EXPECT_TRUE(corner.Contains(982, 582));
    EXPECT_TRUE(corner.Contains(1000, 600));
    EXPECT_FALSE(corner.Contains(981, 600));
    EXPECT_FALSE(corner.Contains(1000, 581));
    const Square degenerate = CornerSquare(SlideRect{0, 0, 0, 0});
    EXPECT_TRUE(degenerate.Contains(0, 0));
    EXPECT_FALSE(degenerate.Contains(1, 0));
}

TEST(HotspotAtPoint, FirstInTableOrderWinsAndEmptySlidesFindNothing) {
    static const Hotspot overlapping[] = {{0.5, 0.5, L"first.asc"}, {0.505, 0.5, L"second.asc"}};
    const SlidePage slide{1, L"x.png", 2, overlapping};
    EXPECT_EQ(HotspotAtPoint(k1000x600, slide, 500, 300), &overlapping[0]);
    EXPECT_EQ(HotspotAtPoint(k1000x600, slide, 513, 300), &overlapping[1]);
    EXPECT_EQ(HotspotAtPoint(k1000x600, slide, 10, 10), nullptr);
    const SlidePage empty{1, L"y.png", 0, nullptr};
    EXPECT_EQ(HotspotAtPoint(k1000x600, empty, 500, 300), nullptr);
}

TEST(HotspotAtPoint, BeforeTheFirstPaintOnlyTheOriginCanHit) {
    static const Hotspot spot[] = {{0.5, 0.5, L"a.asc"}};
    const SlidePage slide{1, L"x.png", 1, spot};
    const SlideRect zero{0, 0, 0, 0};
    EXPECT_EQ(HotspotAtPoint(zero, slide, 0, 0), &spot[0]);
    EXPECT_EQ(HotspotAtPoint(zero, slide, 1, 1), nullptr);
}

}  // namespace
