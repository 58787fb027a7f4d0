#include "console/console_layout.h"

#include "framework/dpi.h"

#include <gtest/gtest.h>

namespace {

bool Inside(const SlideRect& inner, const SlideRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}
bool Apart(const SlideRect& a, const SlideRect& b) {
    return a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
}

// Every part on the page, none over another, the slides with the show's proportions, at every
// DPI and with the time left beside the time since the start or without it.
TEST(LayOutConsole, EverythingOnThePageAndApart) {
    struct Case {
        int w, h, showW, showH;
    } const cases[] = {
        {1920, 1080, 1920, 1080}, {1280, 720, 1920, 1080}, {3200, 1800, 1920, 1080}, {3840, 2160, 3840, 2160},
        {2560, 1600, 3840, 2160}, {1024, 768, 1920, 1200}, {800, 480, 1920, 1080},   {1152, 648, 1920, 1080},
    };
    for (const Case& c : cases)
        for (const int dpi : {96, 144, 192})
            for (const bool timeLeft : {false, true}) {
                SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << dpi << " dpi" << (timeLeft ? ", time left" : ""));
                const ConsoleLayout l = LayOutConsole(c.w, c.h, c.showW, c.showH, dpi, timeLeft);
                const SlideRect page{0, 0, c.w, c.h};
                for (const SlideRect& r : {l.current, l.next, l.counter, l.elapsed, l.left, l.clock})
                    EXPECT_TRUE(Inside(r, page));
                EXPECT_TRUE(Apart(l.current, l.next));
                EXPECT_TRUE(Apart(l.next, l.counter));
                EXPECT_TRUE(Apart(l.counter, l.elapsed));
                EXPECT_TRUE(Apart(l.elapsed, l.clock));
                EXPECT_TRUE(Apart(l.elapsed, l.left));
                EXPECT_TRUE(Apart(l.left, l.clock));
                EXPECT_EQ(l.left.Width() > 0, timeLeft);
                if (timeLeft) {
                    EXPECT_EQ(l.left.top, l.elapsed.top) << "beside the time since the start";
                }
                EXPECT_LE(l.textHeight * 6 / 5, l.elapsed.Height());
                EXPECT_GT(l.current.Width(), l.next.Width()) << "the slide on screen is the larger";
                // Proportions to within a pixel of rounding.
                EXPECT_NEAR(static_cast<double>(l.current.Width()) / l.current.Height(),
                            static_cast<double>(c.showW) / c.showH, 2.0 / l.current.Height());
                EXPECT_NEAR(static_cast<double>(l.next.Width()) / l.next.Height(),
                            static_cast<double>(c.showW) / c.showH, 2.0 / l.next.Height());
            }
}

// The texts are as large to the eye on every monitor: in proportion to the DPI where the page has
// room, whatever its pixels; smaller only on a page too small for them.
TEST(LayOutConsole, TextFollowsTheDpi) {
    struct Case {
        int w, h, dpi;
        bool timeLeft;
        int text, clock;
    } const cases[] = {
        {1920, 1080, 96, false, kConsoleTextPx, kConsoleClockPx},
        {3840, 2160, 96, false, kConsoleTextPx, kConsoleClockPx},  // more pixels at the same DPI: the same size
        {1920, 1080, 144, false, kConsoleTextPx * 3 / 2, kConsoleClockPx * 3 / 2},
        {1920, 1080, 192, false, kConsoleTextPx * 2, kConsoleClockPx * 2},
        {3840, 2160, 192, true, kConsoleTextPx * 2, kConsoleClockPx * 2},
        {1920, 1080, 96, true, kConsoleTextPx, kConsoleClockPx},
    };
    for (const Case& c : cases) {
        const ConsoleLayout l = LayOutConsole(c.w, c.h, 1920, 1080, c.dpi, c.timeLeft);
        EXPECT_EQ(l.textHeight, c.text) << c.w << "x" << c.h << " at " << c.dpi;
        EXPECT_EQ(l.clockHeight, c.clock) << c.w << "x" << c.h << " at " << c.dpi;
    }
    EXPECT_LT(LayOutConsole(800, 480, 1920, 1080, 192).textHeight, kConsoleTextPx * 2) << "no room: smaller";
    EXPECT_LT(LayOutConsole(1920, 1080, 1920, 1080, 192, true).textHeight, kConsoleTextPx * 2)
        << "two times in the column: smaller";
}

// The slide on screen gets the room the laptop has: beside a column for the next slide and the
// times, well over the three fifths of the page's height it had (at 1920x1080, and at 4K at 150 %).
TEST(LayOutConsole, TheSlideOnScreenIsAsLargeAsTheColumnBesideItAllows) {
    struct Case {
        int w, h, dpi;
        bool timeLeft;
        double share;  // of the page's height, at least
    } const cases[] = {
        {1920, 1080, 96, false, 0.71}, {1920, 1080, 96, true, 0.71}, {3840, 2160, 144, true, 0.71},
        {2560, 1600, 144, false, 0.60}, {1280, 720, 96, true, 0.59},
    };
    for (const Case& c : cases) {
        const ConsoleLayout l = LayOutConsole(c.w, c.h, 1920, 1080, c.dpi, c.timeLeft);
        EXPECT_GE(l.current.Height(), c.share * c.h) << c.w << "x" << c.h << " at " << c.dpi;
        EXPECT_EQ(l.textHeight, AtDpi(kConsoleTextPx, c.dpi)) << "the times keep their size";
    }
}

TEST(LayOutConsole, NoSizeNoCrash) {
    const ConsoleLayout l = LayOutConsole(0, 0, 0, 0);
    EXPECT_EQ(l.current.Width(), 0);
    EXPECT_EQ(l.next.Width(), 0);
}

TEST(FitProportions, LargestInsideCentred) {
    const SlideRect wide = FitProportions({0, 0, 1000, 300}, 16, 9, false);
    EXPECT_EQ(wide.Height(), 300);
    EXPECT_EQ(wide.Width(), 533);
    EXPECT_EQ(wide.left, 233);
    const SlideRect tall = FitProportions({10, 10, 170, 1010}, 16, 9, true);
    EXPECT_EQ(tall.Width(), 160);
    EXPECT_EQ(tall.Height(), 90);
    EXPECT_EQ(tall.top, 10) << "top-aligned";
}

TEST(ConsoleTexts, CounterAndElapsed) {
    EXPECT_EQ(CounterText(11, 69), L"12 / 69");
    EXPECT_EQ(CounterText(0, 69), L"1 / 69");
    EXPECT_EQ(ElapsedText(0), L"0:00:00");
    EXPECT_EQ(ElapsedText(754), L"0:12:34");
    EXPECT_EQ(ElapsedText(2 * 3600 + 5), L"2:00:05");
    EXPECT_EQ(ElapsedText(-3), L"0:00:00");
}

// A click on the console's slide lands on the same place of the show's slide.
TEST(ToShowPoint, ScalesOntoTheShow) {
    const SlideRect slide{100, 50, 100 + 960, 50 + 540};
    struct Case {
        int px, py;
        bool hit;
        int x, y;
    } const cases[] = {
        {100, 50, true, 2, 2},  // the first pixel: the middle of the show's first four
        {100 + 480, 50 + 270, true, 1922, 1082},
        {100 + 959, 50 + 539, true, 3838, 2158},
        {99, 60, false, 0, 0},
        {1060, 60, false, 0, 0},
        {200, 590, false, 0, 0},
    };
    for (const Case& c : cases) {
        const auto at = ToShowPoint(slide, c.px, c.py, 3840, 2160);
        ASSERT_EQ(at.has_value(), c.hit) << c.px << "," << c.py;
        if (at) {
            EXPECT_EQ(at->x, c.x);
            EXPECT_EQ(at->y, c.y);
        }
    }
    EXPECT_FALSE(ToShowPoint({0, 0, 0, 0}, 0, 0, 1920, 1080).has_value());
}

TEST(NextRowAfter, NoneAfterTheLast) {
    EXPECT_EQ(NextRowAfter(0, 68), 1);
    EXPECT_EQ(NextRowAfter(67, 68), 68);
    EXPECT_EQ(NextRowAfter(68, 68), -1);
}

}  // namespace
