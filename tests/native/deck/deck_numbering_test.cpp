// Print numbers of the enabled slides and the lookup that printing does with them.
#include "deck/deck.h"

#include <gtest/gtest.h>

#include <array>

#include "core/saved_core_globals.h"

namespace {

// Some cases rewrite the flags of the shared table; the shipped flags come back afterwards
// so the other tests see the deck as it is.
class DeckNumbering : public ::testing::Test {
    testing_core::SavedCoreGlobals globals_;

protected:
    static std::array<int, SLIDE_COUNT> Numbers() {
        std::array<int, SLIDE_COUNT> numbers{};
        for (int i = 0; i < SLIDE_COUNT; ++i) {
            numbers[i] = g_slideDeck[i].nNumber;
        }
        return numbers;
    }
};

TEST_F(DeckNumbering, DisabledRowsAreSkippedAndCountIs62) {
    NumberSlides();
    const struct {
        int row;
        int number;
    } cases[] = {
        {0, 1},   {1, 2},   {19, 20}, {20, 0},  {21, 21}, {27, 0},  {28, 0},  {29, 0},
        {30, 0},  {31, 0},  {32, 27}, {33, 0},  {34, 28}, {67, 61}, {68, 62},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(g_slideDeck[c.row].nNumber, c.number) << "row " << c.row;
    }
    EXPECT_EQ(g_enabledPageCount, 62);
}

TEST_F(DeckNumbering, NumbersRunOneToCountInTableOrder) {
    NumberSlides();
    int expected = 1;
    for (int i = 0; i < SLIDE_COUNT; ++i) {
        if (g_slideDeck[i].nNumber != 0) {
            EXPECT_EQ(g_slideDeck[i].nNumber, expected) << "row " << i;
            ++expected;
        }
    }
    EXPECT_EQ(expected - 1, g_enabledPageCount);
}

TEST_F(DeckNumbering, FindSlideByNumber) {
    NumberSlides();
    const struct {
        int number;
        int row;
    } cases[] = {
        {1, 0}, {2, 1}, {20, 19}, {21, 21}, {26, 26}, {27, 32}, {28, 34}, {61, 67}, {62, 68},
        {63, SLIDE_COUNT}, {1000, SLIDE_COUNT},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindSlideByNumber(c.number), c.row) << "number " << c.number;
    }
    // Every print number leads back to its own row.
    for (int k = 1; k <= g_enabledPageCount; ++k) {
        const int row = FindSlideByNumber(k);
        ASSERT_LT(row, SLIDE_COUNT) << k;
        EXPECT_EQ(g_slideDeck[row].nNumber, k);
    }
}

TEST_F(DeckNumbering, RunningTwiceChangesNothing) {
    NumberSlides();
    const auto first = Numbers();
    const int firstCount = g_enabledPageCount;
    NumberSlides();
    EXPECT_EQ(Numbers(), first);
    EXPECT_EQ(g_enabledPageCount, firstCount);
}

// Any nonzero flag counts as enabled; the numbers do not depend on what it held.
TEST_F(DeckNumbering, AnyNonzeroFlagEnables) {
    for (int i = 0; i < SLIDE_COUNT; ++i) {
        g_slideDeck[i].nNumber = 0;
    }
    g_slideDeck[3].nNumber = -7;
    g_slideDeck[10].nNumber = 42;
    g_slideDeck[68].nNumber = 1;
    g_enabledPageCount = 0;
    NumberSlides();
    EXPECT_EQ(g_slideDeck[3].nNumber, 1);
    EXPECT_EQ(g_slideDeck[10].nNumber, 2);
    EXPECT_EQ(g_slideDeck[68].nNumber, 3);
    EXPECT_EQ(g_slideDeck[0].nNumber, 0);
    EXPECT_EQ(g_enabledPageCount, 3);
    EXPECT_EQ(FindSlideByNumber(3), 68);
    EXPECT_EQ(FindSlideByNumber(4), SLIDE_COUNT);
}

TEST_F(DeckNumbering, NoEnabledRowLeavesCountAtZeroAndFindsNothing) {
    for (int i = 0; i < SLIDE_COUNT; ++i) {
        g_slideDeck[i].nNumber = 0;
    }
    g_enabledPageCount = 0;
    NumberSlides();
    EXPECT_EQ(g_enabledPageCount, 0);
    EXPECT_EQ(FindSlideByNumber(1), SLIDE_COUNT);
}

}  // namespace
