#include "screens/frame_layout.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const SlideRect& got, const SlideRect& want) {
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right, want.right);
    EXPECT_EQ(got.bottom, want.bottom);
}

// The client area is the monitor, to the pixel: the frame lies just beyond each edge, whatever
// the monitor's place in the desktop and however wide the platform draws the frame.
TEST(FullScreenRect, TheClientAreaIsExactlyTheMonitor) {
    struct Case {
        SlideRect monitor;
        FrameInsets insets;
        SlideRect window;
    } const cases[] = {
        // Wine's metrics: a 4-pixel frame, caption 19 and menu 19 above the client area.
        {{0, 0, 1920, 1080}, {4, 42, 4, 4}, {-4, -42, 1924, 1084}},
        {{0, 0, 2560, 1440}, {4, 42, 4, 4}, {-4, -42, 2564, 1444}},
        // A second monitor right of the first, and one left of and above the primary.
        {{1920, 0, 3200, 720}, {4, 42, 4, 4}, {1916, -42, 3204, 724}},
        {{-1280, -200, 0, 520}, {4, 42, 4, 4}, {-1284, -242, 4, 524}},
        // Windows 10 at 96 dpi: an 8-pixel frame with invisible borders, caption 23, menu 20.
        {{0, 0, 3840, 2160}, {8, 51, 8, 8}, {-8, -51, 3848, 2168}},
    };
    for (const Case& c : cases) {
        const SlideRect w = FullScreenRect(c.monitor, c.insets);
        ExpectRect(w, c.window);
        const FrameInsets back = InsetsBetween(c.monitor, w);
        EXPECT_EQ(back.left, c.insets.left);
        EXPECT_EQ(back.top, c.insets.top);
        EXPECT_EQ(back.right, c.insets.right);
        EXPECT_EQ(back.bottom, c.insets.bottom);
    }
}

TEST(MoveOntoMonitor, KeepsThePlaceAndFitsTheSize) {
    const SlideRect primary{0, 0, 1920, 1080}, second{1920, 0, 3200, 720};
    // The same offset from the other monitor's corner.
    ExpectRect(MoveOntoMonitor({100, 50, 900, 650}, primary, second), {2020, 50, 2820, 650});
    // Too large: shrunk to the monitor and placed at its corner.
    ExpectRect(MoveOntoMonitor({0, 0, 1920, 1080}, primary, second), {1920, 0, 3200, 720});
    // Would reach past the right and bottom edges: pushed back inside.
    ExpectRect(MoveOntoMonitor({1000, 500, 1800, 1000}, primary, second), {2400, 220, 3200, 720});
    // And back again.
    ExpectRect(MoveOntoMonitor({2020, 50, 2820, 650}, second, primary), {100, 50, 900, 650});
}

TEST(MonitorNumbering, PrimaryFirstThenLeftToRight) {
    const std::vector<MonitorEntry> three = {
        {{1920, 0, 3200, 720}, false, L""}, {{0, 0, 1920, 1080}, true, L""}, {{-1280, 0, 0, 1024}, false, L""}};
    EXPECT_EQ(MonitorNumbering(three), (std::vector<int>{1, 2, 0}));
    struct Case {
        int number, index;
    } const cases[] = {{1, 1}, {2, 2}, {3, 0}, {4, 1}, {0, 1}, {-3, 1}, {1000000, 1}};
    for (const Case& c : cases) EXPECT_EQ(MonitorForNumber(three, c.number), c.index) << c.number;

    const std::vector<MonitorEntry> one = {{{0, 0, 2560, 1440}, true, L""}};
    EXPECT_EQ(MonitorForNumber(one, 1), 0);
    EXPECT_EQ(MonitorForNumber(one, 2), 0) << "no such monitor: the primary one";
    EXPECT_EQ(MonitorForNumber({}, 1), -1);
    // Stacked monitors with the same left: top to bottom.
    const std::vector<MonitorEntry> stacked = {
        {{0, 1080, 1920, 2160}, false, L""}, {{0, -1080, 1920, 0}, false, L""}, {{0, 0, 1920, 1080}, true, L""}};
    EXPECT_EQ(MonitorNumbering(stacked), (std::vector<int>{2, 1, 0}));
}

TEST(ConsoleMonitorFor, AnotherMonitorThanTheShows) {
    const std::vector<MonitorEntry> two = {{{0, 0, 1920, 1080}, true, L""}, {{1920, 0, 3200, 720}, false, L""}};
    EXPECT_EQ(ConsoleMonitorFor(two, 0), 1) << "the show on the primary: the other one";
    EXPECT_EQ(ConsoleMonitorFor(two, 1), 0) << "the show elsewhere: the primary one";
    const std::vector<MonitorEntry> three = {
        {{0, 0, 1920, 1080}, true, L""}, {{3840, 0, 5760, 1080}, false, L""}, {{1920, 0, 3840, 1080}, false, L""}};
    EXPECT_EQ(ConsoleMonitorFor(three, 0), 2) << "the next in the speaker's numbering";
    EXPECT_EQ(ConsoleMonitorFor(three, 1), 0);
    EXPECT_EQ(ConsoleMonitorFor({{{0, 0, 1920, 1080}, true, L""}}, 0), -1) << "one monitor: no other";
}

// A laptop with a projector, each by the name the system gives it.
std::vector<MonitorEntry> Room(const SlideRect& laptop, const SlideRect& projector) {
    return {{laptop, true, L"\\\\.\\DISPLAY1"}, {projector, false, L"\\\\.\\DISPLAY2"}};
}

TEST(FindMonitor, ByItsNameThenTheNearest) {
    const SlideRect laptop{0, 0, 1920, 1080};
    // The projector dragged from the right of the laptop to its left: the show keeps it by name,
    // where its old rectangle lies on the laptop now.
    const auto left = Room(laptop, {-1280, 0, 0, 720});
    EXPECT_EQ(FindMonitor(left, L"\\\\.\\DISPLAY2", {1920, 0, 3200, 720}), 1);
    EXPECT_EQ(FindMonitor(left, L"\\\\.\\DISPLAY1", {1920, 0, 3200, 720}), 0);
    // Gone: the nearest, by the most of it, then by the least distance.
    const std::vector<MonitorEntry> one = {{laptop, true, L"\\\\.\\DISPLAY1"}};
    EXPECT_EQ(FindMonitor(one, L"\\\\.\\DISPLAY2", {1920, 0, 3200, 720}), 0);
    const auto right = Room(laptop, {1920, 0, 3200, 720});
    EXPECT_EQ(FindMonitor(right, L"", {1800, 0, 3000, 700}), 1) << "most of it on the projector";
    EXPECT_EQ(FindMonitor(right, L"\\\\.\\DISPLAY9", {3300, 0, 4000, 700}), 1) << "nearest";
    EXPECT_EQ(FindMonitor(right, L"", {-900, 0, -100, 700}), 0) << "nearest, on the left";
    EXPECT_EQ(FindMonitor({}, L"\\\\.\\DISPLAY1", laptop), -1);
}

TEST(SwapTarget, TheConsolesMonitorOrTheOneItWouldTake) {
    const auto two = Room({0, 0, 1920, 1080}, {1920, 0, 3200, 720});
    EXPECT_EQ(SwapTarget(two, 0, 1), 1);
    EXPECT_EQ(SwapTarget(two, 1, 0), 0) << "and back";
    EXPECT_EQ(SwapTarget(two, 0, -1), 1) << "no console: the other monitor";
    EXPECT_EQ(SwapTarget(two, 1, -1), 0);
    EXPECT_EQ(SwapTarget(two, 0, 0), 1) << "a console over the show counts as none";
    EXPECT_EQ(SwapTarget({{{0, 0, 1920, 1080}, true, L"A"}}, 0, -1), -1) << "one monitor: nothing";
}

TEST(PlacesAfterChange, TheConsoleFollowsTheMonitorsAndTheShowTakesAProjectorPluggedIn) {
    const auto two = Room({0, 0, 1920, 1080}, {1920, 0, 3200, 720});
    const std::vector<MonitorEntry> one = {{{0, 0, 1920, 1080}, true, L"\\\\.\\DISPLAY1"}};
    struct Case {
        const char* what;
        const std::vector<MonitorEntry>* monitors;
        int show;
        bool full;
        int console;
        std::vector<int> added;
        int showTo, consoleTo;
    } const cases[] = {
        {"projector plugged in under a full-screen show", &two, 0, true, -1, {1}, 1, 0},
        {"projector plugged in beside a show in a window: the console stays a window", &two, 0, false, -1, {1}, 0, -1},
        {"the same with the show's window on the projector", &two, 1, false, -1, {0}, 1, -1},
        {"a show in a window, nothing added: the console stays a window", &two, 0, false, -1, {}, 0, -1},
        {"a show in a window keeps a console's own monitor", &two, 0, false, 1, {}, 0, 1},
        {"a show in a window over the console's monitor: the console a window", &two, 1, false, 1, {}, 1, -1},
        {"a monitor came back that the show is on", &two, 1, true, -1, {0}, 1, 0},
        {"the console keeps its own monitor", &two, 0, true, 1, {}, 0, 1},
        {"nothing added, console a window", &two, 1, true, -1, {}, 1, 0},
        {"projector gone: a window", &one, 0, true, 0, {}, 0, -1},
        {"projector gone, the console had the laptop", &one, 0, true, -1, {}, 0, -1},
    };
    for (const Case& c : cases) {
        const RoomPlaces p = PlacesAfterChange(*c.monitors, c.show, c.full, c.console, c.added);
        EXPECT_EQ(p.show, c.showTo) << c.what;
        EXPECT_EQ(p.console, c.consoleTo) << c.what;
    }
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
