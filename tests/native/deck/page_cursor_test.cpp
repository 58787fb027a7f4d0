#include "deck/page_cursor.h"

#include <gtest/gtest.h>

#include <climits>

#include "core/saved_core_globals.h"
#include "deck/deck.h"

namespace {

class PageCursor : public ::testing::Test {
    testing_core::SavedCoreGlobals globals_;
};

TEST_F(PageCursor, KeyStepsStopAtTheEndsAndReportChange) {
    g_currentPage = 0;
    EXPECT_FALSE(GoPrevPage());
    EXPECT_FALSE(GoFirstPage());
    EXPECT_EQ(g_currentPage, 0);
    g_currentPage = 68;
    EXPECT_FALSE(GoNextPage());
    EXPECT_FALSE(GoLastPage());
    EXPECT_EQ(g_currentPage, 68);
    g_currentPage = 10;
    EXPECT_TRUE(GoLastPage());
    EXPECT_EQ(g_currentPage, 68);
    g_currentPage = 10;
    EXPECT_TRUE(GoFirstPage());
    EXPECT_EQ(g_currentPage, 0);
}

TEST_F(PageCursor, SteppingVisitsDisabledRows) {
    g_currentPage = 19;
    ASSERT_TRUE(GoNextPage());
    EXPECT_EQ(g_currentPage, 20);
    EXPECT_EQ(g_slideDeck[20].nNumber, 0);
    ASSERT_TRUE(GoNextPage());
    EXPECT_EQ(g_currentPage, 21);
}

TEST_F(PageCursor, WheelStepsOneNotchClampedAndZeroCountsAsForward) {
    struct Case {
        int from, delta, to;
    } const cases[] = {
        {0, 120, 0}, {68, -120, 68}, {5, 120, 4}, {5, -120, 6}, {5, 0, 6}, {5, 960, 4},
        {200, -120, 68}, {-3, 120, 0}, {INT_MAX, -120, 68}, {INT_MIN, 120, 0},
    };
    for (const Case& c : cases) {
        g_currentPage = c.from;
        WheelPage(c.delta);
        EXPECT_EQ(g_currentPage, c.to) << c.from << " " << c.delta;
    }
}

TEST_F(PageCursor, ClampStoresBackAndCurrentSlideIndexDoesNot) {
    g_currentPage = -3;
    EXPECT_EQ(CurrentSlideIndex(), 0);
    EXPECT_EQ(g_currentPage, -3);
    EXPECT_EQ(ClampPage(), 0);
    EXPECT_EQ(g_currentPage, 0);
    g_currentPage = 70;
    EXPECT_EQ(CurrentSlideIndex(), 68);
    EXPECT_EQ(ClampPage(), 68);
    g_currentPage = INT_MIN;
    EXPECT_FALSE(GoPrevPage());  // no overflow below the smallest int
    EXPECT_EQ(ClampPage(), 0);
}

TEST(PageFromProfileText, ReadsAsWtoiDoes) {
    struct Case {
        const wchar_t* text;
        int value;
    } const cases[] = {
        {L"12", 12},        {L"0", 0},         {L"", 0},          {L"abc", 0},
        {L"12abc", 12},     {L"  7", 7},       {L"\t-3", -3},     {L"+5", 5},
        {L"200", 200},      {L"99999999999", INT_MAX},            {L"-99999999999", INT_MIN},
        {L"2147483647", INT_MAX},              {L"-2147483648", INT_MIN},
        {L"- 4", 0},        {nullptr, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(PageFromProfileText(c.text), c.value);
}

}  // namespace
