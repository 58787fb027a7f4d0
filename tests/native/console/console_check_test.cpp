#include "console/console_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/demo_check.h"

namespace {

constexpr TargetFacts kNothing{false, false};
constexpr TargetFacts kFile{true, false};
const SimulatorFacts kFound{L"C:\\Sim\\Vexax64.exe", false, true};
const SimulatorFacts kNotFound{L"C:\\Sim\\Vexax64.exe", false, false};

TEST(ConsoleCheckLines, TheSummaryAloneWhenEverythingIsReady) {
    const DemoCheckReport report = DecideDemoCheck({{0, L"a.asc", kFile, true}, {1, L"b.jpg", kFile, true}}, kFound);
    EXPECT_EQ(ConsoleCheckLines(report), std::vector<std::wstring>{L"Demos: 2 files ready, simulator found"});
}

// What is missing, each with its slide as the console's counter numbers it; the hotspots that only
// lack the simulator are said by the simulator's line.
TEST(ConsoleCheckLines, TheSimulatorThenEachFileThatIsNotThere) {
    const DemoCheckReport report = DecideDemoCheck(
        {{0, L"a.asc", kFile, true}, {3, L"!b.asc", kNothing, false}, {11, L"c.jpg", kFile, false}}, kNotFound);
    const std::vector<std::wstring> expected = {
        L"Demos: 1 file ready, 1 missing, 1 unreadable, simulator not found",
        L"Simulator not found: C:\\Sim\\Vexax64.exe",
        L"Slide 4: b.asc missing",
        L"Slide 12: c.jpg unreadable",
    };
    EXPECT_EQ(ConsoleCheckLines(report), expected);
}

TEST(FitCheckLines, TheLastLineThatFitsSaysHowManyMore) {
    const std::vector<std::wstring> lines = {L"sum", L"a", L"b", L"c", L"d"};
    EXPECT_EQ(FitCheckLines(lines, 5), lines);
    EXPECT_EQ(FitCheckLines(lines, 9), lines);
    EXPECT_EQ(FitCheckLines(lines, 4), (std::vector<std::wstring>{L"sum", L"a", L"b", L"and 2 more"}));
    EXPECT_EQ(FitCheckLines(lines, 2), (std::vector<std::wstring>{L"sum", L"and 4 more"}));
    EXPECT_EQ(FitCheckLines(lines, 1), std::vector<std::wstring>{L"sum"});
    EXPECT_TRUE(FitCheckLines(lines, 0).empty());
    EXPECT_TRUE(FitCheckLines({}, 3).empty());
}

bool Inside(const SlideRect& inner, const SlideRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Under the wall clock, in its column, on the page: every line that counts as fitting, at every
// console size and DPI a talk meets.
TEST(LayOutCheckLines, UnderTheClockOnThePage) {
    struct Case {
        int w, h, dpi;
        int atLeast;  // lines there is room for: the summary and a few files
    } const cases[] = {{1920, 1080, 96, 8},  {1280, 720, 96, 5},   {2560, 1600, 144, 8},
                       {3200, 1800, 192, 8}, {3840, 2160, 96, 10}, {1024, 768, 96, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << c.dpi);
        const ConsoleLayout l = LayOutConsole(c.w, c.h, 1920, 1080, c.dpi);
        const CheckLinesLayout at = LayOutCheckLines(l, c.h);
        const SlideRect page{0, 0, c.w, c.h};
        EXPECT_GE(at.first.top, l.clock.bottom);
        EXPECT_EQ(at.first.left, l.counter.left);
        EXPECT_EQ(at.first.right, l.counter.right);
        EXPECT_GE(at.fits, c.atLeast);
        SlideRect last = at.first;
        last.top += (at.fits - 1) * at.pitch;
        last.bottom += (at.fits - 1) * at.pitch;
        EXPECT_TRUE(Inside(last, page));
        EXPECT_LT(at.textHeight, l.clockHeight) << "a list, smaller than the clock";
        EXPECT_GE(at.pitch, at.textHeight);
        // "Slide 12: VmodeVsImode.asc unreadable": 38 characters of about three fifths of the height.
        EXPECT_LE(38 * at.textHeight * 3 / 5, at.first.Width());
    }
}

}  // namespace
