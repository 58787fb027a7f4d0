#include "console/console_demo.h"

#include <gtest/gtest.h>

namespace {

bool Inside(const SlideRect& inner, const SlideRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The two lines sit under the wall clock, on the page, in the text column, at every console size.
TEST(DemoLines, UnderTheClockOnThePage) {
    struct Case {
        int w, h;
    } const cases[] = {{1920, 1080}, {1280, 720}, {3200, 1800}, {3840, 2160}, {1024, 768}, {800, 480}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        const ConsoleLayout l = LayOutConsole(c.w, c.h, 1920, 1080);
        const DemoLines d = LayOutDemoLines(l, c.h);
        const SlideRect page{0, 0, c.w, c.h};
        EXPECT_TRUE(Inside(d.running, page));
        EXPECT_TRUE(Inside(d.back, page));
        EXPECT_GE(d.running.top, l.clock.bottom);
        EXPECT_GE(d.back.top, d.running.bottom);
        EXPECT_EQ(d.running.left, l.counter.left);
        EXPECT_EQ(d.running.right, l.counter.right);
        // 29 characters of about three fifths of the height each fit the column.
        EXPECT_LE(29 * d.textHeight * 3 / 5, d.running.Width());
        EXPECT_GE(d.textHeight, 10);
    }
    // The console's texts follow its monitor's DPI: the same size for more pixels at one DPI,
    // twice the size at twice the DPI.
    EXPECT_EQ(LayOutDemoLines(LayOutConsole(3840, 2160, 1920, 1080), 2160).textHeight,
              LayOutDemoLines(LayOutConsole(1920, 1080, 1920, 1080), 1080).textHeight)
        << "twice the pixels at one DPI, the same size";
    EXPECT_EQ(LayOutDemoLines(LayOutConsole(3840, 2160, 1920, 1080, 192), 2160).textHeight,
              2 * LayOutDemoLines(LayOutConsole(1920, 1080, 1920, 1080, 96), 1080).textHeight)
        << "twice the DPI, twice the size";
}

TEST(DemoLines, Texts) {
    EXPECT_EQ(DemoRunningText(L"UNICODE.asc", 42), L"Demo: UNICODE.asc 0:42");
    EXPECT_EQ(DemoTimeText(0), L"0:00");
    EXPECT_EQ(DemoTimeText(-5), L"0:00");
    EXPECT_EQ(DemoTimeText(599), L"9:59");
    EXPECT_EQ(DemoTimeText(3599), L"59:59");
    EXPECT_EQ(DemoTimeText(3600), L"1:00:00");
    EXPECT_EQ(DemoTimeText(3 * 3600 + 62), L"3:01:02");
    EXPECT_EQ(DemoBackText(TalkDemo{L"a.asc", 1.0, 3, true}), L"Page Down returns to slide 4");
    EXPECT_EQ(DemoBackText(TalkDemo{L"a.asc", 1.0, 68, true}), L"Page Down returns to slide 69");
    // Another program holds Page Down: the line promises nothing the clicker cannot do.
    const std::wstring held = DemoBackText(TalkDemo{L"a.asc", 1.0, 3, false});
    EXPECT_EQ(held, L"Page Down is in use: click the show to return to slide 4");
    EXPECT_NE(held.find(L"click the show to return"), std::wstring::npos);
}

}  // namespace
