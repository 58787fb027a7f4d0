// Handout sheets: halves, margins, frames, the paper marker rule, the copyright line, and
// which table rows share a sheet.
#include "render/print_layout.h"

#include <gtest/gtest.h>

#include "core/saved_core_globals.h"
#include "deck/deck.h"

namespace {

void ExpectRect(const SlideRect& r, int l, int t, int rt, int b, const char* what) {
    EXPECT_EQ(r.left, l) << what;
    EXPECT_EQ(r.top, t) << what;
    EXPECT_EQ(r.right, rt) << what;
    EXPECT_EQ(r.bottom, b) << what;
}

TEST(SheetLayout, A4LikePageOf4800By6600) {
    const SlideRect page{0, 0, 4800, 6600};
    const SheetLayout sheet = LayOutSheet(page);
    EXPECT_EQ(sheet.mid, 3300);
    EXPECT_EQ(sheet.m, 206);
    ExpectRect(sheet.upper, 206, 206, 4594, 3094, "upper");
    ExpectRect(sheet.lower, 206, 3300, 4594, 6188, "lower");
    EXPECT_EQ(sheet.upper.Width(), 4388);
    EXPECT_EQ(sheet.upper.Height(), 2888);
    EXPECT_EQ(sheet.lower.Height(), 2888);
    // Markers on paper come from the same square geometry as on screen.
    EXPECT_EQ(SquareSizeFor(sheet.upper).s, 79);

    const SheetFrame frame = FrameAround(sheet.upper, sheet.m);
    EXPECT_EQ(frame.penWidth, 12);
    ExpectRect(frame.outline, 200, 200, 4600, 3100, "frame 6 units outside");

    const CopyrightLine line = PlaceCopyrightLine(page, sheet.m);
    EXPECT_EQ(line.fontHeight, 137);
    EXPECT_EQ(line.x, 2400);
    EXPECT_EQ(line.y, 6291);
}

TEST(SheetLayout, OddHeightsAndSmallPages) {
    // Odd bottom: one more unit stays free below the lower half.
    const SheetLayout odd = LayOutSheet(SlideRect{0, 0, 2479, 3509});
    EXPECT_EQ(odd.mid, 1754);
    EXPECT_EQ(odd.m, 109);
    EXPECT_EQ(odd.lower.bottom, 3509 - 2 * 109 - 1);
    EXPECT_EQ(odd.upper.Height(), odd.lower.Height());
    // A preview page of a few hundred pixels: the pen never gets thinner than 2.
    const SheetLayout tiny = LayOutSheet(SlideRect{0, 0, 300, 400});
    EXPECT_EQ(tiny.m, 12);
    const SheetFrame frame = FrameAround(tiny.upper, tiny.m);
    EXPECT_EQ(frame.penWidth, 2);
    EXPECT_EQ(frame.outline.left, tiny.upper.left - 1);
    // Fonts follow the margin, truncated.
    EXPECT_EQ(PlaceCopyrightLine(SlideRect{0, 0, 300, 400}, tiny.m).fontHeight, 8);
}

TEST(SheetLayout, MarkersOnPaperAreJudgedByTheBitmapsOwnBox) {
    const SlideRect half{206, 206, 4594, 3094};
    struct Case {
        int left, top;
        bool fits;
    } const cases[] = {
        {206, 206, true},             // touching the top-left corner
        {4594 - 61, 3094 - 63, true}, // touching the bottom-right corner
        {205, 300, false},            // one unit left of the slide
        {4594 - 60, 300, false},      // the 61-wide box crosses the right edge
        {300, 3094 - 62, false},      // the 63-high box crosses the bottom
        {300, 205, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MarkerFitsOnPaper(half, c.left, c.top, 61, 63), c.fits) << c.left << "," << c.top;
}

// Cases that change which rows are enabled; the shipped numbering comes back afterwards.
class SheetSlidesTest : public ::testing::Test {
    testing_core::SavedCoreGlobals globals_;

protected:
    void SetUp() override { NumberSlides(); }
};

TEST_F(SheetSlidesTest, TwoNumberedSlidesToASheet) {
    ASSERT_EQ(g_enabledPageCount, 62);
    struct Case {
        int sheet, upper, lower;
    } const cases[] = {
        {1, 0, 1},
        {5, FindSlideByNumber(9), FindSlideByNumber(10)},
        {31, FindSlideByNumber(61), kLastSlide},  // the closing slide is number 62
        {32, SLIDE_COUNT, SLIDE_COUNT},
        {0, SLIDE_COUNT, SLIDE_COUNT},
        {-4, SLIDE_COUNT, SLIDE_COUNT},
        {2000000000, SLIDE_COUNT, SLIDE_COUNT},
    };
    for (const Case& c : cases) {
        const SheetSlides s = SlidesOnSheet(c.sheet);
        EXPECT_EQ(s.upper, c.upper) << "sheet " << c.sheet;
        EXPECT_EQ(s.lower, c.lower) << "sheet " << c.sheet;
    }
    // Disabled rows never print: rows 27 to 31 are skipped between numbers 26 and 27.
    EXPECT_EQ(NextNumberedSlide(26), 32);
}

TEST_F(SheetSlidesTest, AnOddCountLeavesTheLastLowerHalfEmpty) {
    g_slideDeck[kLastSlide].nNumber = 0;  // 61 numbered slides
    NumberSlides();
    ASSERT_EQ(g_enabledPageCount, 61);
    const SheetSlides last = SlidesOnSheet(31);
    EXPECT_EQ(last.upper, kLastSlide - 1);
    EXPECT_EQ(last.lower, SLIDE_COUNT);
    EXPECT_EQ(SlidesOnSheet(32).upper, SLIDE_COUNT);
}

}  // namespace
