#include "view/wall_clock.h"

#include <gtest/gtest.h>

#include "view/hover_rules.h"

namespace {

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
