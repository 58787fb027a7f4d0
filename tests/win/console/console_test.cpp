// The presenter console with one monitor: an ordinary window for rehearsing, opened and closed
// by its menu item and by the start-up switch; the talk's time; the show's keys given to it; and
// the slide index written at exit, which is the show's.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/mainframe.h"
#include "console/console_win.h"
#include "deck/page_cursor.h"
#include "talk/talk_time.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "view/hover_rules.h"
#include "view/view.h"
#include "support/profile_page.h"
#include "support/started_app.h"
#include "support/win_test_support.h"

namespace {

using testing_win::Presenter;
using testing_win::PumpMessages;

double g_fakeNow = 1000.0;
double FakeClock() { return g_fakeNow; }

class Console : public ::testing::Test {
protected:
    void SetUp() override {
        wcsncpy_s(g_appDir, testing_win::DistDir().c_str(), _TRUNCATE);
        g_currentPage = 10;
        g_fakeNow = 1000.0;
        SetWallClock(&FakeClock);
        SetTalkClock(&FakeClock);
    }
    void TearDown() override {
        SetWallClock(nullptr);
        SetTalkClock(nullptr);
    }
    testing_win::SavedGlobals globals_;
};

void Command(CMainFrame* frame, UINT id) { ::SendMessageW(frame->m_hWnd, WM_COMMAND, id, 0); }

UINT ConsoleItemState(CMainFrame* frame) {
    const HMENU popup = ::GetSubMenu(::GetMenu(frame->m_hWnd), 0);
    ::SendMessageW(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    return ::GetMenuState(popup, ID_PRESENTER_CONSOLE, MF_BYCOMMAND) & MF_CHECKED;
}

TEST_F(Console, WithOneMonitorAnOrdinaryWindowThatTheMenuItemTogglesAndThatLeavesTheShowAlone) {
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 1);
    Presenter p(800, 500);
    p.frame()->OnFullScreen();
    EXPECT_EQ(ConsoleItemState(p.frame()), 0u);

    Command(p.frame(), ID_PRESENTER_CONSOLE);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    const HWND hwnd = console->m_hWnd;
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME), WS_CAPTION | WS_THICKFRAME) << "a window to move and size";
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    EXPECT_GE(rc.left, 0);
    EXPECT_GE(rc.top, 0);
    EXPECT_LE(rc.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LT(rc.right - rc.left, ::GetSystemMetrics(SM_CXSCREEN)) << "not over the whole show";
    EXPECT_EQ(ConsoleItemState(p.frame()), static_cast<UINT>(MF_CHECKED));
    // Resizing lays the page out anew.
    ::MoveWindow(hwnd, 10, 10, 1000, 560, TRUE);
    ::UpdateWindow(hwnd);
    RECT client;
    ::GetClientRect(hwnd, &client);
    EXPECT_LE(console->m_layout.clock.bottom, client.bottom);
    EXPECT_GT(console->m_layout.current.Width(), client.right / 2);

    Command(p.frame(), ID_PRESENTER_CONSOLE);
    EXPECT_EQ(CPresenterConsole::Current(), nullptr);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(ConsoleItemState(p.frame()), 0u);
    EXPECT_TRUE(p.frame()->m_bFullScreen) << "the show goes on as it was";
    EXPECT_TRUE(::IsWindowVisible(p.frame()->m_hWnd));
}

TEST_F(Console, TheTalkStartsAtTheFirstSlideChangeAndItsKeyRestartsIt) {
    Presenter p(800, 500);
    Command(p.frame(), ID_PRESENTER_CONSOLE);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    const HWND hwnd = console->m_hWnd;
    const TalkClock& clock = p.frame()->m_talk.Clock();

    g_fakeNow = 1030.0;
    p.Paint();  // a paint that changes nothing
    EXPECT_FALSE(clock.Started());

    g_fakeNow = 1040.0;
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_NEXT, 1);  // given to the console, it steps the show
    EXPECT_EQ(g_currentPage, 11);
    p.Paint();
    EXPECT_TRUE(clock.Started());
    EXPECT_EQ(clock.Elapsed(1105.0), 65);

    g_fakeNow = 1200.0;
    ::SendMessageW(hwnd, WM_KEYDOWN, 'R', 1);
    EXPECT_EQ(clock.Elapsed(1203.0), 3);
    EXPECT_EQ(g_currentPage, 11) << "R only restarts the time";
    ::SendMessageW(p.viewHwnd(), WM_KEYDOWN, 'R', 1);  // given to the show, the same
    g_fakeNow = 1300.0;
    EXPECT_EQ(clock.Elapsed(1301.0), 101);
    ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(g_currentPage, 10) << "a wheel notch away from the speaker";
}

// The talk's time and length are the talk's: closing the console (its menu item, or Alt+F4) and
// opening it again finds them running on, as the console says in its texts.
TEST_F(Console, ClosingAndReopeningTheConsoleKeepsTheTalksTimeAndLength) {
    Presenter p(800, 500);
    Command(p.frame(), ID_PRESENTER_CONSOLE);
    ASSERT_NE(CPresenterConsole::Current(), nullptr);
    ::SendMessageW(CPresenterConsole::Current()->m_hWnd, WM_KEYDOWN, VK_ADD, 1);  // 5 minutes
    g_fakeNow = 1010.0;
    ::SendMessageW(p.viewHwnd(), WM_KEYDOWN, VK_NEXT, 1);  // the talk starts
    g_fakeNow = 1070.0;
    ::SendMessageW(CPresenterConsole::Current()->m_hWnd, WM_CLOSE, 0, 0);  // as Alt+F4 closes it
    ASSERT_EQ(CPresenterConsole::Current(), nullptr);
    g_fakeNow = 1130.0;  // two minutes in, the console closed for one of them
    Command(p.frame(), ID_PRESENTER_CONSOLE);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    ::RedrawWindow(console->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const auto wrote = [&](const wchar_t* text) {
        return std::find(console->m_written.begin(), console->m_written.end(), text) != console->m_written.end();
    };
    EXPECT_TRUE(wrote(L"0:02:00")) << "the time since the start ran on";
    EXPECT_TRUE(wrote(L"0:03:00")) << "the time left of the 5 minutes";
}

// Started with the switch, the console opens with the show; what it steps is the show's slide,
// and that is what the profile keeps.
TEST_F(Console, TheStartUpSwitchOpensItAndTheShowsSlideIsWrittenAtExit) {
    const testing_win::KeptStoredPage kept;  // put back however the test ends
    testing_win::SetStoredPage(L"20");
    {
        std::wstring tail = L"/console";
        auto app = std::make_unique<CPemboroApp>();
        app->m_lpCmdLine = tail.data();
        ASSERT_TRUE(app->InitInstance());
        PumpMessages(20);
        CPresenterConsole* console = CPresenterConsole::Current();
        ASSERT_NE(console, nullptr);
        EXPECT_EQ(::GetActiveWindow(), console->m_hWnd) << "the speaker's keys go to the console";
        ::SendMessageW(console->m_hWnd, WM_KEYDOWN, VK_NEXT, 1);
        ::SendMessageW(console->m_hWnd, WM_KEYDOWN, VK_NEXT, 1);
        EXPECT_EQ(g_currentPage, 22);
        ::SendMessageW(app->m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
        PumpMessages();
        EXPECT_EQ(CPresenterConsole::Current(), nullptr);
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }  // the application object writes the index as it goes
    EXPECT_EQ(testing_win::StoredPage(), std::optional<std::wstring>(L"22"));
}

// ---- The talk's length and the time left ----

int CountOf(const testing_win::Pixels& px, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) n += px.At(x, y) == colour ? 1 : 0;
    return n;
}

// The time left as drawn, told by its colours.
struct TimeLeftShown {
    int waiting, usual, warning, over;
};
TimeLeftShown ReadTimeLeft(CPresenterConsole* console) {
    ::RedrawWindow(console->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const SlideRect& r = console->m_layout.left;
    const testing_win::Pixels px = testing_win::ReadWindow(console->m_hWnd, RECT{r.left, r.top, r.right, r.bottom});
    return {CountOf(px, kTalkWaiting), CountOf(px, kConsoleText), CountOf(px, kTimeWarning), CountOf(px, kTimeOver)};
}

// -Duration45: the console shows the time left beside the time since the start, in its usual
// colour, yellow in the last tenth (4:30 of 45 minutes), red once over; + and - move the end.
TEST_F(Console, TheTalkLengthShowsTheTimeLeftAndWarnsNearAndPastTheEnd) {
    const testing_win::KeptStoredPage kept;
    testing_win::SetStoredPage(L"10");
    const testing_win::StartedApp started(L"-Console -Duration45");
    ASSERT_TRUE(started.ok());
    const Talk& talk = started.frame()->m_talk;
    EXPECT_EQ(talk.Minutes(), 45);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    ::RedrawWindow(console->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const ConsoleLayout& l = console->m_layout;
    ASSERT_GT(l.left.Width(), 0);
    EXPECT_EQ(l.left.top, l.elapsed.top) << "beside the time since the start";

    struct Step {
        const char* when;
        std::function<void()> act;
        bool waiting, usual, warning, over;
    } const steps[] = {
        {"before the talk starts", [] {}, true, false, false, false},
        {"at the start", [&] { ::SendMessageW(console->m_hWnd, WM_KEYDOWN, VK_NEXT, 1); g_pView->UpdateWindow(); },
         false, true, false, false},
        {"40:29 in", [] { g_fakeNow += 40 * 60 + 29; }, false, true, false, false},
        {"40:31 in, 4:29 left", [] { g_fakeNow += 2; }, false, false, true, false},
        {"+ of the numeric pad: 9:29 left", [&] { ::SendMessageW(console->m_hWnd, WM_KEYDOWN, VK_ADD, 1); },
         false, true, false, false},
        {"- of the main block: 4:29 left", [&] { ::SendMessageW(console->m_hWnd, WM_KEYDOWN, VK_OEM_MINUS, 1); },
         false, false, true, false},
        {"at the end", [] { g_fakeNow += 4 * 60 + 29; }, false, false, true, false},
        {"a second over", [] { g_fakeNow += 1; }, false, false, false, true},
        {"long over, counting on", [] { g_fakeNow += 3600; }, false, false, false, true},
    };
    for (const Step& s : steps) {
        s.act();
        const TimeLeftShown shown = ReadTimeLeft(console);
        EXPECT_EQ(shown.waiting > 0, s.waiting) << s.when;
        EXPECT_EQ(shown.usual > 0, s.usual) << s.when;
        EXPECT_EQ(shown.warning > 0, s.warning) << s.when;
        EXPECT_EQ(shown.over > 0, s.over) << s.when;
    }
    EXPECT_EQ(talk.Minutes(), 45);
    EXPECT_EQ(g_currentPage, 11);
}

// Without a talk length the console shows what it always showed; + gives the talk one, and -
// takes it away again.
TEST_F(Console, WithoutATalkLengthNoTimeLeftUntilPlusSetsOne) {
    Presenter p(800, 500);
    const Talk& talk = p.frame()->m_talk;
    ASSERT_EQ(talk.Minutes(), 0);
    ::SendMessageW(p.frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    ::RedrawWindow(console->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(console->m_layout.left.Width(), 0);
    const int elapsedWidth = console->m_layout.elapsed.Width();
    ::SendMessageW(console->m_hWnd, WM_KEYDOWN, VK_OEM_PLUS, 1);
    EXPECT_EQ(talk.Minutes(), 5);
    EXPECT_GT(ReadTimeLeft(console).waiting, 0);
    ::SendMessageW(p.viewHwnd(), WM_KEYDOWN, VK_SUBTRACT, 1);  // given to the show, the same
    EXPECT_EQ(talk.Minutes(), 0);
    ::RedrawWindow(console->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(console->m_layout.left.Width(), 0);
    EXPECT_EQ(console->m_layout.elapsed.Width(), elapsedWidth);
}

// ---- The demo check on the first screen ----

int CountInside(const testing_win::Pixels& px, COLORREF colour) {
    int n = 0;
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) n += px.At(x, y) == colour ? 1 : 0;
    return n;
}

// Start-up checks every demo beside the program, on a thread of its own, and the console shows
// what is missing, each with its slide, under the clock until the first slide change. The test
// program's folder holds no demo file, so every hotspot is missing there.
TEST_F(Console, TheDemoCheckShowsOnTheFirstScreenUntilTheFirstSlideChange) {
    const testing_win::KeptStoredPage kept;
    testing_win::SetStoredPage(std::wstring(L"10"));
    const testing_win::StartedApp started(L"-Console");
    ASSERT_TRUE(started.ok());
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    const auto redraw = [&] { ::RedrawWindow(console->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); };
    ASSERT_TRUE(testing_win::PumpUntil(
        [&] {
            redraw();
            return !console->m_checkDrawn.empty();
        },
        20000))
        << "no report reached the console";

    const std::vector<std::wstring>& drawn = console->m_checkDrawn;
    EXPECT_EQ(drawn.front().rfind(L"Demos: 0 files ready, ", 0), 0u) << testing::PrintToString(drawn.front());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), L"Slide 1: Aachen.jpg missing"), drawn.end())
        << "each missing file with its slide";
    EXPECT_EQ(drawn.back().rfind(L"and ", 0), 0u) << "more than fit: the last line says how many more";
    // Drawn under the clock, the summary in the colour of something missing.
    const SlideRect& clock = console->m_layout.clock;
    RECT client;
    ::GetClientRect(console->m_hWnd, &client);
    const RECT below{clock.left, clock.bottom, clock.right, client.bottom};
    EXPECT_GT(CountInside(testing_win::ReadWindow(console->m_hWnd, below), kCheckProblem), 0);

    ::SendMessageW(console->m_hWnd, WM_KEYDOWN, VK_NEXT, 1);
    g_pView->UpdateWindow();
    redraw();
    EXPECT_TRUE(console->m_checkDrawn.empty()) << "the talk's usual display from the first slide change";
    EXPECT_EQ(CountInside(testing_win::ReadWindow(console->m_hWnd, below), kCheckProblem), 0);
    ::SendMessageW(console->m_hWnd, WM_KEYDOWN, VK_PRIOR, 1);
    redraw();
    EXPECT_TRUE(console->m_checkDrawn.empty()) << "and not again on the way back";
}

}  // namespace
