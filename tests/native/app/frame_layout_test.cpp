#include "app/frame_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(FullScreenRect, PushesFrameCaptionAndMenuOffTheScreen) {
    const SlideRect rc = FullScreenRect(1920, 1080, 4, 4, 23, 20);
    EXPECT_EQ(rc.left, -11);
    EXPECT_EQ(rc.top, -54);
    EXPECT_EQ(rc.right, 1931);
    EXPECT_EQ(rc.bottom, 1091);
    const SlideRect wine = FullScreenRect(1920, 1080, 4, 4, 19, 19);
    EXPECT_EQ(wine.top, -49);
    EXPECT_EQ(wine.Width(), 1920 + 2 * 4 + 14);
    EXPECT_EQ(wine.Height(), 1080 + 2 * 4 + 14 + 19 + 19);
}

TEST(StripsToErase, OnlyRightOfAndBelowTheSlide) {
    struct Case {
        SlideRect clip, slide;
        int count;
        SlideRect first, second;
    } const cases[] = {
        // Before the first paint the slide is all zeros: the whole clip box, twice.
        {{0, 0, 800, 600}, {0, 0, 0, 0}, 2, {0, 0, 800, 600}, {0, 0, 800, 600}},
        // Window grown past the last paint: a strip on the right and one below.
        {{0, 0, 1200, 700}, {0, 0, 1000, 600}, 2, {1000, 0, 1200, 700}, {0, 600, 1200, 700}},
        {{0, 0, 1000, 600}, {0, 0, 1000, 600}, 0, {}, {}},
        {{0, 0, 1000, 700}, {0, 0, 1000, 600}, 1, {0, 600, 1000, 700}, {}},
        // A clip box wholly inside the slide: nothing.
        {{10, 10, 20, 20}, {0, 0, 1000, 600}, 0, {}, {}},
    };
    for (const Case& c : cases) {
        const EraseStrips strips = StripsToErase(c.clip, c.slide);
        ASSERT_EQ(strips.count, c.count);
        if (c.count > 0) {
            EXPECT_EQ(strips.rc[0].left, c.first.left);
            EXPECT_EQ(strips.rc[0].top, c.first.top);
            EXPECT_EQ(strips.rc[0].right, c.first.right);
            EXPECT_EQ(strips.rc[0].bottom, c.first.bottom);
        }
        if (c.count > 1) {
            EXPECT_EQ(strips.rc[1].left, c.second.left);
            EXPECT_EQ(strips.rc[1].top, c.second.top);
            EXPECT_EQ(strips.rc[1].right, c.second.right);
            EXPECT_EQ(strips.rc[1].bottom, c.second.bottom);
        }
    }
}

}  // namespace
