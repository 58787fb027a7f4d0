// S, the key that swaps the show and the presenter console between their monitors: given to the
// show or to the console, with the show full-screen or not, and with one monitor, where it does
// nothing. And full-screen held in place when the work area changes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/mainframe.h"
#include "console/console_win.h"
#include "res/resource.h"
#include "room_fixture.h"
#include "view/view.h"

namespace room {
namespace {

class Swap : public Room {
protected:
    void SetUp() override {
        Room::SetUp();
        ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2) << "the server gives two monitors";
        g_currentPage = 3;
        show_ = std::make_unique<Presenter>(800, 500);
    }
    void TearDown() override { show_.reset(); }
    CMainFrame* frame() const { return show_->frame(); }
    CPresenterConsole* OpenConsole() {
        ::SendMessageW(frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
        PumpMessages(50);
        return CPresenterConsole::Current();
    }
    std::unique_ptr<Presenter> show_;
};

TEST_F(Swap, SSwapsTheShowAndTheConsoleAndSAgainSwapsThemBack) {
    frame()->OnFullScreen();  // on the primary monitor
    CPresenterConsole* console = OpenConsole();
    ASSERT_NE(console, nullptr);
    const CRect first = MonitorNumbered(1), second = MonitorNumbered(2);
    ASSERT_EQ(WindowRect(console->m_hWnd), second);

    struct Step {
        const char* where;
        bool toConsole;
        CRect show, console;
    } const steps[] = {
        {"S in the show", false, second, first},
        {"S in the show again", false, first, second},
        {"S in the console", true, second, first},
        {"S in the console again", true, first, second},
    };
    for (const Step& s : steps) {
        KeyDown(s.toConsole ? console->m_hWnd : show_->viewHwnd(), 'S');
        ASSERT_EQ(CPresenterConsole::Current(), console) << s.where;
        ExpectShowCovers(frame(), s.show);
        EXPECT_EQ(WindowRect(console->m_hWnd), s.console) << s.where << ": the console fills the other monitor";
        EXPECT_EQ(ClientOnScreen(console->m_hWnd), s.console) << s.where << ": without a frame";
        EXPECT_EQ(console->m_layout.current.Width() > 0, true) << s.where;
    }
    // Leaving full-screen after a swap keeps the window on the show's monitor.
    KeyDown(show_->viewHwnd(), 'S');
    frame()->OnFullScreen();
    EXPECT_EQ(::MonitorFromWindow(frame()->m_hWnd, MONITOR_DEFAULTTONEAREST),
              ::MonitorFromPoint(POINT{second.left + 1, second.top + 1}, MONITOR_DEFAULTTONULL));
}

// Without the console S still sends the show to the other monitor: the cure for a show that
// opened on the wrong one.
TEST_F(Swap, WithoutTheConsoleSMovesTheShowToTheOtherMonitor) {
    const CRect first = MonitorNumbered(1), second = MonitorNumbered(2);
    frame()->OnFullScreen();
    ExpectShowCovers(frame(), first);
    KeyDown(show_->viewHwnd(), 'S');
    ExpectShowCovers(frame(), second);
    KeyDown(show_->viewHwnd(), 'S');
    ExpectShowCovers(frame(), first);

    // A window that is not full-screen goes as it is, to the same place on the other monitor.
    frame()->OnFullScreen();
    const CRect before = WindowRect(frame()->m_hWnd);
    KeyDown(show_->viewHwnd(), 'S');
    EXPECT_FALSE(frame()->m_bFullScreen);
    const CRect after = WindowRect(frame()->m_hWnd);
    EXPECT_EQ(::MonitorFromRect(&after, MONITOR_DEFAULTTONULL),
              ::MonitorFromPoint(POINT{second.left + 1, second.top + 1}, MONITOR_DEFAULTTONULL));
    EXPECT_EQ(after.Width(), std::min(before.Width(), second.Width()));
}

// A held S swaps once: its auto-repeat does not send the show back and forth.
TEST_F(Swap, AHeldSSwapsOnce) {
    frame()->OnFullScreen();
    const CRect second = MonitorNumbered(2);
    const LPARAM repeat = 1 | (1 << 30);
    KeyDown(show_->viewHwnd(), 'S');
    ExpectShowCovers(frame(), second);
    // Looked at after each repeat: an even number of swaps would end where one did.
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(testing::Message() << "repeat " << i + 1);
        ::SendMessageW(show_->viewHwnd(), WM_KEYDOWN, 'S', repeat);
        PumpMessages(20);
        EXPECT_EQ(frame()->m_rcMonitor, second);
        EXPECT_EQ(ClientOnScreen(show_->viewHwnd()), second);
    }
    ExpectShowCovers(frame(), second);
}

// The taskbar moved or set to hide changes the work area, and the system maximises its maximised
// windows into the new one: the full-screen show stays where it is, caption and menu off the screen.
TEST_F(Swap, FullScreenStaysInPlaceWhenTheWorkAreaChanges) {
    frame()->OnFullScreen();
    const CRect first = MonitorNumbered(1);
    const CRect pinned = frame()->m_rcFullScreen;
    // What the system asks of a maximised window: its largest size and place, then a move there.
    MINMAXINFO mmi{};
    ::SendMessageW(frame()->m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    EXPECT_EQ(CRect(mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, mmi.ptMaxPosition.x + mmi.ptMaxSize.x,
                    mmi.ptMaxPosition.y + mmi.ptMaxSize.y),
              pinned);
    const CRect work(first.left, first.top + 40, first.right, first.bottom);  // a taskbar at the top
    ::SendMessageW(frame()->m_hWnd, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    ::SetWindowPos(frame()->m_hWnd, nullptr, work.left, work.top, work.Width(), work.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    PumpMessages(20);
    EXPECT_EQ(WindowRect(frame()->m_hWnd), pinned) << "moved into the work area";
    ::ShowWindow(frame()->m_hWnd, SW_MAXIMIZE);
    PumpMessages(20);
    EXPECT_EQ(WindowRect(frame()->m_hWnd), pinned) << "maximised again";
    ExpectShowCovers(frame(), first);
    // The frame's own moves still go: leaving full-screen works.
    frame()->OnFullScreen();
    EXPECT_FALSE(WindowRect(frame()->m_hWnd) == pinned);
}

// A monitor's DPI changed under the windows (scaling set anew, or a window moved to a monitor of
// another DPI): the system suggests a rectangle scaled by the change, which a full-screen show and
// a full-window console do not take; they fit their monitors again. A window takes it.
TEST_F(Swap, ADpiChangeFitsTheShowAndTheConsoleToTheirMonitorsAgain) {
    frame()->OnFullScreen();
    CPresenterConsole* console = OpenConsole();
    ASSERT_NE(console, nullptr);
    const CRect first = MonitorNumbered(1), second = MonitorNumbered(2);
    const auto dpiChanged = [](HWND hwnd, UINT dpi, RECT suggested) {
        ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        PumpMessages(20);
    };
    dpiChanged(frame()->m_hWnd, 144, RECT{first.left, first.top, first.left + 1400, first.top + 800});
    ExpectShowCovers(frame(), first);
    dpiChanged(console->m_hWnd, 144, RECT{second.left + 10, second.top + 10, second.left + 900, second.top + 500});
    EXPECT_EQ(WindowRect(console->m_hWnd), second);

    frame()->OnFullScreen();
    const RECT suggested{first.left + 50, first.top + 60, first.left + 1250, first.top + 860};
    dpiChanged(frame()->m_hWnd, 144, suggested);
    EXPECT_EQ(WindowRect(frame()->m_hWnd), CRect(suggested)) << "a window takes the suggested place";
}

using OneMonitorSwap = Room;

// With one monitor there is nowhere to go: S leaves the show and the console where they are.
TEST_F(OneMonitorSwap, SDoesNothing) {
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 1);
    Presenter p(800, 500);
    p.frame()->OnFullScreen();
    ::SendMessageW(p.frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    const CRect show = WindowRect(p.frame()->m_hWnd), window = WindowRect(console->m_hWnd);
    KeyDown(p.viewHwnd(), 'S');
    KeyDown(console->m_hWnd, 'S');
    EXPECT_EQ(WindowRect(p.frame()->m_hWnd), show);
    EXPECT_EQ(WindowRect(console->m_hWnd), window);
    EXPECT_TRUE(p.frame()->m_bFullScreen);
}

}  // namespace
}  // namespace room
