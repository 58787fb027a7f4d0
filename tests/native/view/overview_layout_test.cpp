// The overview's grid at the sizes talks are given at: every slide in deck order, in the window's
// shape, as large as the window allows, centred, and no frame covering a neighbour.
#include "view/overview_layout.h"

#include <gtest/gtest.h>

#include "deck/deck.h"

namespace {

struct Size {
    int w, h;
};
constexpr Size kSizes[] = {{1920, 1080}, {3840, 2160}, {2560, 1600}, {3200, 1800}, {1366, 768},
                           {1024, 768},  {800, 600},   {1080, 1920}, {400, 240}};

TEST(OverviewLayout, EverySlideInDeckOrderInsideTheWindowWithoutOverlap) {
    for (const Size s : kSizes) {
        for (const int dpi : {96, 144, 192}) {
            SCOPED_TRACE(testing::Message() << s.w << "x" << s.h << " at " << dpi << " dpi");
            const OverviewLayout l = LayOutOverview(s.w, s.h, SLIDE_COUNT, dpi);
            ASSERT_EQ(l.count, SLIDE_COUNT) << s.w << "x" << s.h;
            EXPECT_GE(l.columns * l.rows, SLIDE_COUNT);
            EXPECT_LT((l.rows - 1) * l.columns, SLIDE_COUNT) << "no empty last row";
            EXPECT_GE(l.gap, 2 * l.frame) << "two frames fit in a gap";
            for (int i = 0; i < SLIDE_COUNT; ++i) {
                const SlideRect t = l.Tile(i);
                const SlideRect cell = l.Cell(i);
                const SlideRect number = l.Label(i);
                EXPECT_EQ(t.Width(), l.tileW);
                // The number under the thumbnail, off the slide: the cell is both.
                EXPECT_EQ(number.top, t.bottom) << i;
                EXPECT_GT(number.Height(), l.labelText) << i;
                EXPECT_EQ(cell.top, t.top);
                EXPECT_EQ(cell.bottom, number.bottom);
                EXPECT_GE(cell.left - l.frame, 0) << i;
                EXPECT_GE(cell.top - l.frame, 0) << i;
                EXPECT_LE(cell.right + l.frame, s.w) << i;
                EXPECT_LE(cell.bottom + l.frame, s.h) << i;
                if (i > 0) {
                    const SlideRect before = l.Cell(i - 1);
                    // Row by row: the next one is to the right, or starts the next row below.
                    if (i % l.columns) EXPECT_EQ(cell.left, before.right + l.gap) << i;
                    else EXPECT_EQ(cell.top, before.bottom + l.gap) << i;
                }
                // Its centre and its number are its own; its corner, and the gap beside it, are not another's.
                EXPECT_EQ(l.TileAt((t.left + t.right) / 2, (t.top + t.bottom) / 2), i);
                EXPECT_EQ(l.TileAt(number.left + 1, number.bottom - 1), i);
                EXPECT_EQ(l.TileAt(t.left, t.top), i);
                EXPECT_EQ(l.TileAt(cell.right - 1, cell.bottom - 1), i);
                EXPECT_EQ(l.TileAt(cell.right, t.top), -1);
                EXPECT_EQ(l.TileAt(t.left, cell.bottom), -1);
            }
        }
    }
}

// The numbers are as large to the eye on every monitor, where the window has room for them.
TEST(OverviewLayout, NumbersFollowTheDpi) {
    EXPECT_EQ(LayOutOverview(1920, 1080, SLIDE_COUNT, 96).labelText, kOverviewNumberPx);
    EXPECT_EQ(LayOutOverview(1920, 1080, SLIDE_COUNT, 144).labelText, kOverviewNumberPx * 3 / 2);
    EXPECT_EQ(LayOutOverview(1920, 1080, SLIDE_COUNT, 192).labelText, kOverviewNumberPx * 2);
    EXPECT_EQ(LayOutOverview(3840, 2160, SLIDE_COUNT, 96).labelText, kOverviewNumberPx) << "pixels alone change nothing";
    EXPECT_LT(LayOutOverview(640, 360, SLIDE_COUNT, 192).labelText, kOverviewNumberPx * 2) << "a small window";
}

TEST(OverviewLayout, ThumbnailsKeepTheWindowsShapeAndFillIt) {
    for (const Size s : kSizes) {
        const OverviewLayout l = LayOutOverview(s.w, s.h, SLIDE_COUNT);
        const double window = static_cast<double>(s.w) / s.h;
        EXPECT_NEAR(static_cast<double>(l.tileW) / l.tileH, window, window * 2.0 / l.tileH) << s.w << "x" << s.h;
        // Centred, and no other column count gives larger thumbnails.
        const int gridW = l.columns * l.tileW + (l.columns - 1) * l.gap;
        const int gridH = l.rows * (l.tileH + l.label) + (l.rows - 1) * l.gap;
        EXPECT_LE(std::abs(l.left - (s.w - gridW - l.left)), 1);
        EXPECT_LE(std::abs(l.top - (s.h - gridH - l.top)), 1);
        // Filled: one way or the other, the grid reaches to within a margin and a tile of the edges.
        EXPECT_TRUE(s.w - gridW <= 2 * l.left + 1 && (l.left <= l.tileW || l.top <= l.tileH));
    }
    const OverviewLayout hd = LayOutOverview(1920, 1080, SLIDE_COUNT);
    EXPECT_EQ(hd.columns, 10);
    EXPECT_EQ(hd.rows, 7);
}

TEST(OverviewLayout, ThumbnailsOfA4KWindowFitTheirMemory) {
    const OverviewLayout l = LayOutOverview(3840, 2160, SLIDE_COUNT);
    const double mb = SLIDE_COUNT * static_cast<double>(l.tileW) * l.tileH * 4 / (1024.0 * 1024.0);
    EXPECT_LE(mb, 24.0);
}

TEST(OverviewLayout, AWindowTooSmallHasNoThumbnails) {
    for (const Size s : {Size{0, 0}, Size{10, 10}, Size{-5, 100}, Size{100, 0}})
        EXPECT_EQ(LayOutOverview(s.w, s.h, SLIDE_COUNT).count, 0) << s.w << "x" << s.h;
    EXPECT_EQ(LayOutOverview(10, 10, SLIDE_COUNT).TileAt(5, 5), -1);
}

TEST(OverviewLayout, TheFrameMoves) {
    const OverviewLayout l = LayOutOverview(1920, 1080, SLIDE_COUNT);  // 10 columns
    struct Case {
        int from;
        FrameMove move;
        int to;
    } const cases[] = {
        {5, FrameMove::Left, 4},   {0, FrameMove::Left, 0},   {9, FrameMove::Right, 10}, {68, FrameMove::Right, 68},
        {10, FrameMove::Up, 0},    {4, FrameMove::Up, 4},     {4, FrameMove::Down, 14},  {60, FrameMove::Down, 60},
        {58, FrameMove::Down, 68}, {40, FrameMove::First, 0}, {3, FrameMove::Last, 68},  {99, FrameMove::Left, 67},
    };
    for (const Case& c : cases) EXPECT_EQ(MoveFrame(l, c.from, c.move), c.to) << c.from << " " << static_cast<int>(c.move);
}

}  // namespace
