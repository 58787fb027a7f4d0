// Monitors that come, go and move during a talk, for real: on an X server whose outputs RandR
// switches on and off (room_servers.sh starts it, monitors.sh arranges it), the laptop's panel and
// a projector that is plugged in, unplugged, dragged from the right of the laptop to its left or
// put above it. The show finds its monitor again by its name, the presenter console follows, and
// nothing of the frame shows on a neighbouring monitor.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/mainframe.h"
#include "console/console_win.h"
#include "res/resource.h"
#include "room_fixture.h"
#include "support/started_app.h"
#include "view/view.h"

namespace room {
namespace {

class Hotplug : public Room {
protected:
    void SetUp() override {
        Room::SetUp();
        // Unplugged and plugged in again, so that the system has seen the projector come whatever
        // it had taken in when the session started.
        ASSERT_TRUE(Arrange("laptop", {kLaptop})) << "the hot-plug server";
        ASSERT_TRUE(Arrange("right", {kLaptop, kProjectorRight})) << "the hot-plug server";
        g_currentPage = 3;
    }
    void TearDown() override {
        show_.reset();
        EXPECT_TRUE(Arrange("right", {kLaptop, kProjectorRight}));
    }
    CMainFrame* frame() const { return show_->frame(); }
    // The show, full-screen on the monitor `on`.
    void ShowOn(const CRect& on) {
        show_ = std::make_unique<Presenter>(800, 500);
        ::SetWindowPos(frame()->m_hWnd, nullptr, on.left + 40, on.top + 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PumpMessages(20);
        frame()->OnFullScreen();
        ExpectShowCovers(frame(), on);
    }
    void Rearrange(const char* layout, const std::vector<CRect>& monitors) {
        ASSERT_TRUE(Arrange(layout, monitors)) << layout;
        TellDisplayChange(frame()->m_hWnd);
    }
    std::unique_ptr<Presenter> show_;
};

// The projector dragged from the right of the laptop to its left in the display settings: the
// show stays on it (its old rectangle now lies on nothing, and nearest to it is the laptop).
TEST_F(Hotplug, TheShowKeepsItsProjectorByNameWhenItIsDraggedToTheOtherSide) {
    ShowOn(kProjectorRight);
    const std::wstring projector = frame()->m_strMonitorDevice;
    Rearrange("left", {kLaptop, kProjectorLeft});
    ASSERT_EQ(MonitorNamed(projector), kProjectorLeft) << "the system keeps its name";
    ExpectShowCovers(frame(), kProjectorLeft);
    Rearrange("above", {kLaptop, kProjectorAbove});
    ExpectShowCovers(frame(), kProjectorAbove);
    Rearrange("right", {kLaptop, kProjectorRight});
    ExpectShowCovers(frame(), kProjectorRight);
}

// Unplugged for real: the show comes to the laptop, full-screen, and leaving full-screen puts the
// window there too.
TEST_F(Hotplug, AnUnpluggedProjectorsShowComesToTheLaptop) {
    ShowOn(kProjectorRight);
    Rearrange("laptop", {kLaptop});
    ExpectShowCovers(frame(), kLaptop);
    frame()->OnFullScreen();
    const CRect window = WindowRect(frame()->m_hWnd);
    EXPECT_NE(::MonitorFromRect(&window, MONITOR_DEFAULTTONULL), nullptr) << "on a monitor that is there";
}

// A talk rehearsed on the laptop alone, the projector plugged in when the room is ready: the show
// goes to it and the console fills the laptop; unplugged again, the show comes back and the
// console is a window again, where it was.
TEST_F(Hotplug, TheConsoleFollowsAProjectorPluggedInAndUnplugged) {
    ASSERT_TRUE(Arrange("laptop", {kLaptop}));
    ShowOn(kLaptop);
    ::SendMessageW(frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    const HWND hwnd = console->m_hWnd;
    const CRect rehearsal = WindowRect(hwnd);
    ASSERT_TRUE(::GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION) << "a window for rehearsing";

    Rearrange("right", {kLaptop, kProjectorRight});
    ExpectShowCovers(frame(), kProjectorRight);
    EXPECT_EQ(WindowRect(hwnd), kLaptop) << "the console fills the laptop";
    EXPECT_EQ(ClientOnScreen(hwnd), kLaptop);
    EXPECT_FALSE(::GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION);

    Rearrange("laptop", {kLaptop});
    ExpectShowCovers(frame(), kLaptop);
    EXPECT_EQ(WindowRect(hwnd), rehearsal) << "a window again, where it was";
    EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(CPresenterConsole::Current(), console);
}

// The rehearsal: the show in a window on the laptop, the console a window beside it, and the
// projector plugged in before the talk starts. The audience sees nothing of the speaker's: the
// console stays the window it was, where it was, and so does the show.
TEST_F(Hotplug, AProjectorPluggedInBesideAShowInAWindowLeavesTheConsoleWhereItIs) {
    ASSERT_TRUE(Arrange("laptop", {kLaptop}));
    show_ = std::make_unique<Presenter>(800, 500);
    ::SetWindowPos(frame()->m_hWnd, nullptr, 60, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpMessages(20);
    ASSERT_FALSE(frame()->m_bFullScreen);
    ::SendMessageW(frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    const HWND hwnd = console->m_hWnd;
    const CRect rehearsal = WindowRect(hwnd), show = WindowRect(frame()->m_hWnd);
    ASSERT_TRUE(::GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION) << "a window for rehearsing";

    Rearrange("right", {kLaptop, kProjectorRight});
    EXPECT_EQ(WindowRect(hwnd), rehearsal) << "the console moved";
    EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_STYLE) & WS_CAPTION) << "still a window";
    const CRect now = WindowRect(hwnd);
    EXPECT_NE(::MonitorFromRect(&now, MONITOR_DEFAULTTONULL),
              ::MonitorFromPoint(POINT{kProjectorRight.left + 1, kProjectorRight.top + 1}, MONITOR_DEFAULTTONULL))
        << "on the projector";
    EXPECT_FALSE(frame()->m_bFullScreen);
    EXPECT_EQ(WindowRect(frame()->m_hWnd), show) << "the show's window moved";
    EXPECT_EQ(CPresenterConsole::Current(), console);
}

// The console that had the projector: unplugged, it becomes a window over the show.
TEST_F(Hotplug, TheConsoleOnAnUnpluggedProjectorBecomesAWindow) {
    ShowOn(kLaptop);
    ::SendMessageW(frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    ASSERT_EQ(WindowRect(console->m_hWnd), kProjectorRight);
    Rearrange("laptop", {kLaptop});
    ExpectShowCovers(frame(), kLaptop);
    const CRect window = WindowRect(console->m_hWnd);
    EXPECT_TRUE(::GetWindowLongW(console->m_hWnd, GWL_STYLE) & WS_CAPTION);
    EXPECT_LT(window.Width(), kLaptop.Width()) << "not over the whole show";
    EXPECT_GE(window.left, kLaptop.left);
    EXPECT_LE(window.right, kLaptop.right);
}

// A projector left of the laptop has negative coordinates: the speaker's numbers, big mode, the
// exact fit and the console all hold there.
TEST_F(Hotplug, AProjectorLeftOfTheLaptop) {
    ASSERT_TRUE(Arrange("left", {kLaptop, kProjectorLeft}));
    EXPECT_EQ(MonitorNumbered(2), kProjectorLeft);
    testing_win::StartedApp started(L"-Pro -Monitor2 -Console");
    ASSERT_TRUE(started.ok());
    ExpectShowCovers(started.frame(), kProjectorLeft);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    EXPECT_EQ(WindowRect(console->m_hWnd), kLaptop);
    KeyDown(console->m_hWnd, 'S');
    ExpectShowCovers(started.frame(), kLaptop);
    EXPECT_EQ(WindowRect(console->m_hWnd), kProjectorLeft);
}

// Full-screen on the laptop with the projector above it: the caption and the menu bar lie on the
// projector, and nothing of them may show there.
TEST_F(Hotplug, NothingOfTheFrameShowsOnAMonitorAbove) {
    ASSERT_TRUE(Arrange("above", {kLaptop, kProjectorAbove}));
    const RECT strip{0, -80, 1280, 0};  // the projector's bottom rows, just above the laptop
    const fw::WindowDc screen(nullptr);
    const Pixels before = testing_win::ReadDc(screen.get(), strip);
    ShowOn(kLaptop);
    PumpMessages(100);
    const Pixels during = testing_win::ReadDc(screen.get(), strip);
    int changed = 0;
    for (size_t i = 0; i < before.bgra.size(); ++i) changed += (before.bgra[i] & 0xFFFFFF) != (during.bgra[i] & 0xFFFFFF);
    EXPECT_EQ(changed, 0) << "pixels of the frame on the projector";
    // Out of full-screen the frame is whole again.
    frame()->OnFullScreen();
    RECT box;
    EXPECT_EQ(::GetWindowRgnBox(frame()->m_hWnd, &box), ERROR) << "no region left on the window";
}

}  // namespace
}  // namespace room
