#include "view/hover_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "deck/deck.h"

namespace {

constexpr Hotspot kSpots[] = {{0.5, 0.5, L"a.asc"}, {0.52, 0.5, L"b.asc"}};
const Hotspot* const A = &kSpots[0];
const Hotspot* const B = &kSpots[1];

constexpr unsigned MK_LBUTTON_ = 0x0001, MK_SHIFT_ = 0x0004, MK_CONTROL_ = 0x0008;

HoverInput Move(const Hotspot* hit, bool corner, const Hotspot* shown) {
    return HoverInput{0, false, 100.0, 0.0, hit, corner, shown};
}

TEST(HoverDecision, StatesAndTransitions) {
    struct Case {
        const char* what;
        HoverInput in;
        bool clear;
        HoverDraw draw;
    } const cases[] = {
        {"none or corner -> hotspot", Move(A, false, nullptr), true, HoverDraw::Hotspot},
        {"hotspot -> same hotspot", Move(A, false, A), false, HoverDraw::Hotspot},
        {"hotspot -> other hotspot", Move(B, false, A), true, HoverDraw::Hotspot},
        {"none or corner -> corner", Move(nullptr, true, nullptr), false, HoverDraw::Corner},
        {"hotspot -> corner", Move(nullptr, true, A), true, HoverDraw::Corner},
        {"hotspot wins over corner", Move(A, true, nullptr), true, HoverDraw::Hotspot},
        {"over nothing", Move(nullptr, false, A), true, HoverDraw::Nothing},
    };
    for (const Case& c : cases) {
        const HoverStep step = DecideHover(c.in);
        EXPECT_EQ(step.clearFirst, c.clear) << c.what;
        EXPECT_EQ(step.draw, c.draw) << c.what;
    }
}

TEST(HoverDecision, ButtonsKeysPictureModeAndThePauseOnlyClear) {
    for (unsigned flags : {MK_LBUTTON_, MK_SHIFT_, MK_CONTROL_, 0x0002u, 0x0010u}) {
        HoverInput in = Move(A, true, A);
        in.flags = flags;
        const HoverStep step = DecideHover(in);
        EXPECT_TRUE(step.clearFirst) << flags;
        EXPECT_EQ(step.draw, HoverDraw::Nothing) << flags;
    }
    HoverInput picture = Move(A, false, nullptr);
    picture.pictureMode = true;
    EXPECT_EQ(DecideHover(picture).draw, HoverDraw::Nothing);
    EXPECT_TRUE(DecideHover(picture).clearFirst);

    HoverInput paused = Move(A, false, A);
    paused.clickTime = 99.5;
    EXPECT_EQ(DecideHover(paused).draw, HoverDraw::Nothing);
    EXPECT_TRUE(DecideHover(paused).clearFirst);
}

TEST(HoverPause, StrictlyMoreThanOneSecond) {
    // Values exact in binary, so the boundary is the rule's and not rounding's.
    EXPECT_TRUE(HoverPausedAfterClick(1001.5, 1000.5));
    EXPECT_FALSE(HoverPausedAfterClick(1001.501, 1000.5));
    EXPECT_TRUE(HoverPausedAfterClick(1000.75, 1000.5));
    EXPECT_FALSE(HoverPausedAfterClick(1.0, 0.0 - 0.001));
    // A clock set back keeps the pause until it passes the click by more than a second.
    EXPECT_TRUE(HoverPausedAfterClick(990.0, 1000.5));
    // Nothing clicked yet: the click time 0 lies far in the past.
    EXPECT_FALSE(HoverPausedAfterClick(1.7e9, 0.0));
}

TEST(HoverTimerArea, EveryEdgeInclusive) {
    const SlideRect rc{0, 0, 1000, 600};
    EXPECT_TRUE(InsideSlideInclusive(rc, 0, 0));
    EXPECT_TRUE(InsideSlideInclusive(rc, 1000, 600));
    EXPECT_TRUE(InsideSlideInclusive(rc, 1000, 300));
    EXPECT_FALSE(InsideSlideInclusive(rc, 1001, 300));
    EXPECT_FALSE(InsideSlideInclusive(rc, -1, 300));
    EXPECT_FALSE(InsideSlideInclusive(rc, 500, 601));
    EXPECT_FALSE(InsideSlideInclusive(rc, 500, -1));
}

TEST(HoverLabel, LeadingBangLeftOut) {
    EXPECT_EQ(std::wstring(HoverLabelText(L"!astable.asc")), L"astable.asc");
    EXPECT_EQ(std::wstring(HoverLabelText(L"NE555.asc")), L"NE555.asc");
    EXPECT_EQ(std::wstring(HoverLabelText(L"a!b.asc")), L"a!b.asc");
    EXPECT_EQ(std::wstring(HoverLabelText(L"!!x")), L"!x");
    EXPECT_EQ(std::wstring(HoverLabelText(L"")), L"");
    EXPECT_EQ(std::wstring(HoverLabelText(nullptr)), L"");
}

TEST(HoverLabel, SaysWhatIsWrongWithTheFile) {
    EXPECT_EQ(HoverLabelFor(L"!astable.asc", L"missing"), L"astable.asc (missing)");
    EXPECT_EQ(HoverLabelFor(L"Lyon.jpg", L"unreadable"), L"Lyon.jpg (unreadable)");
    EXPECT_EQ(HoverLabelFor(L"NE555.asc", nullptr), L"NE555.asc");
    EXPECT_EQ(HoverLabelFor(L"NE555.asc", L""), L"NE555.asc");
    EXPECT_EQ(HoverLabelFor(nullptr, L"missing"), L" (missing)");
}

TEST(HoverLabel, CentredOnTheSquareAboveItsTopEdge) {
    struct Case {
        SlideRect rc;
        double x, y;
        int labelX, labelY, fontHeight;
    } const cases[] = {
        {{0, 0, 1000, 600}, 0.5, 0.5, 500, 291, 13},
        {{0, 0, 1920, 1080}, 0.205, 0.82, 393, 177, 25},
        // Above the top edge the offsets go negative and still round by adding a half.
        {{0, 0, 1000, 600}, 0.0, 1.0, 0, -8, 13},
    };
    for (const Case& c : cases) {
        const SquareSize size = SquareSizeFor(c.rc);
        const SquareOffsets o = HotspotOffsets(c.rc, c.x, c.y);
        const HoverLabelPlacement p = PlaceHoverLabel(size.s, o.L, o.T);
        EXPECT_EQ(p.x, c.labelX) << c.x;
        EXPECT_EQ(p.y, c.labelY) << c.y;
        EXPECT_EQ(p.fontHeight, c.fontHeight) << c.rc.right;
    }
}

TEST(WallClock, SecondsPlusMilliseconds) {
    EXPECT_DOUBLE_EQ(WallClockSeconds(0, 0), 0.0);
    EXPECT_DOUBLE_EQ(WallClockSeconds(1700000000, 0), 1700000000.0);
    EXPECT_DOUBLE_EQ(WallClockSeconds(1700000000, 999), 1700000000.999);
    EXPECT_DOUBLE_EQ(WallClockSeconds(12, 500), 12.5);
}

TEST(WallClock, PauseBoundaryAtTodaysTimes) {
    // A click and moves one second and one second plus a millisecond later, as the clock reads them.
    const double click = WallClockSeconds(1700000000, 250);
    EXPECT_TRUE(HoverPausedAfterClick(WallClockSeconds(1700000001, 250), click));
    EXPECT_FALSE(HoverPausedAfterClick(WallClockSeconds(1700000001, 251), click));
    EXPECT_TRUE(HoverPausedAfterClick(WallClockSeconds(1700000000, 999), click));
}

}  // namespace
