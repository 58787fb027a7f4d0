// The talk's length and the time left of it as the presenter console shows them.
#include "console/talk_time.h"

#include <gtest/gtest.h>

namespace {

TEST(TalkLength, PlusAndMinusStepFiveMinutes) {
    EXPECT_EQ(LongerTalk(45), 50);
    EXPECT_EQ(LongerTalk(0), 5) << "+ without a length sets one";
    EXPECT_EQ(ShorterTalk(45), 40);
    EXPECT_EQ(ShorterTalk(5), 0) << "- takes the length away";
    EXPECT_EQ(ShorterTalk(3), 0);
    EXPECT_EQ(ShorterTalk(0), 0);
    EXPECT_EQ(LongerTalk(kLongestTalkMinutes), kLongestTalkMinutes);
    EXPECT_EQ(TalkMinutesFrom(-4), 0);
    EXPECT_EQ(TalkMinutesFrom(45), 45);
    EXPECT_EQ(TalkMinutesFrom(1000000), kLongestTalkMinutes);
}

TEST(TimeLeft, CountsDownAndOnPastZero) {
    EXPECT_EQ(TimeLeft(45, 0), 45 * 60);
    EXPECT_EQ(TimeLeft(45, 754), 45 * 60 - 754);
    EXPECT_EQ(TimeLeft(1, 83 + 60), -83);
    struct Case {
        long long seconds;
        const wchar_t* text;
    } const cases[] = {
        {45 * 60, L"0:45:00"}, {2 * 3600 + 5, L"2:00:05"}, {1, L"0:00:01"},
        {0, L"0:00:00"},       {-1, L"-0:00:01"},          {-83, L"-0:01:23"}, {-3725, L"-1:02:05"},
    };
    for (const Case& c : cases) EXPECT_EQ(TimeLeftText(c.seconds), c.text) << c.seconds;
}

// The warning comes 5 minutes before the end, or a tenth of the talk before it when that is less.
TEST(TimeLeft, ToneWarnsNearAndPastTheEnd) {
    struct Case {
        int minutes;
        long long left;
        bool started;
        TimeLeftTone tone;
    } const cases[] = {
        {45, 45 * 60, false, TimeLeftTone::Waiting},
        {45, 45 * 60, true, TimeLeftTone::Usual},
        {45, 271, true, TimeLeftTone::Usual},   // a tenth of 45 minutes is 4:30
        {45, 270, true, TimeLeftTone::Warning},
        {90, 301, true, TimeLeftTone::Usual},   // a tenth of 90 is 9 minutes: the 5 minutes are less
        {90, 300, true, TimeLeftTone::Warning},
        {10, 61, true, TimeLeftTone::Usual},
        {10, 60, true, TimeLeftTone::Warning},
        {45, 0, true, TimeLeftTone::Warning},
        {45, -1, true, TimeLeftTone::Over},
        {45, -4000, true, TimeLeftTone::Over},
        {45, -4000, false, TimeLeftTone::Waiting},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToneOfTimeLeft(c.minutes, c.left, c.started), c.tone) << c.minutes << " min, " << c.left << " s left";
}

}  // namespace
