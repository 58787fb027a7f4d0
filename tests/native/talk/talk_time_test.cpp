// The talk's length and the time left of it as the presenter console shows them.
#include "talk/talk_time.h"

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

// The talk starts at the first change of what the show shows after the console opened.
TEST(TalkClock, StartsAtTheFirstChangeAndRestartsOnRequest) {
    TalkClock clock;
    clock.Observe(4, false, 100.0);  // the console opens on slide 5
    clock.Observe(4, false, 130.0);  // repainted, nothing changed
    EXPECT_FALSE(clock.Started());
    EXPECT_EQ(clock.Elapsed(140.0), 0);
    clock.Observe(5, false, 150.0);
    EXPECT_TRUE(clock.Started());
    EXPECT_EQ(clock.Elapsed(150.0 + 754.6), 754);
    clock.Observe(4, false, 200.0);  // later changes leave the start alone
    EXPECT_EQ(clock.Elapsed(210.0), 60);
    clock.Restart(300.0);
    EXPECT_EQ(clock.Elapsed(312.0), 12);

    TalkClock photo;
    photo.Observe(4, false, 0.0);
    photo.Observe(4, true, 9.0);  // a photo opened from the slide
    EXPECT_TRUE(photo.Started());
    TalkClock restarted;
    restarted.Restart(5.0);  // the key before any change starts the count too
    EXPECT_EQ(restarted.Elapsed(7.0), 2);
}

}  // namespace
