// The speaker's room: full-screen mode on the monitor the window is on, big mode on the monitor
// the command line names, the exact fit at every size, and a display that changes under the
// show. These run on X servers with the monitors they need (room_servers.sh starts them): a
// laptop with a projector, a single large panel, and a Wine desktop whose size changes.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "screens/frame_layout.h"
#include "app/mainframe.h"
#include "screens/monitors_win.h"
#include "console/console_win.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "render/geometry.h"
#include "pictures/screen_pictures_win.h"
#include "render/slide_renderer_win.h"
#include "framework/gdi.h"
#include "view/view.h"
#include "room_fixture.h"
#include "support/started_app.h"
#include "support/win_test_support.h"

namespace room {
namespace {

using testing_win::StartedApp;

class TwoMonitors : public Room {
protected:
    void SetUp() override {
        Room::SetUp();
        ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2) << "the server gives two monitors";
    }
};

TEST_F(TwoMonitors, FullScreenCoversTheMonitorTheWindowIsOnAndBackRestores) {
    const CRect second = MonitorNumbered(2);
    ASSERT_NE(second, MonitorNumbered(1));
    Presenter p(800, 500);
    const HWND frame = p.frame()->m_hWnd;
    ::SetWindowPos(frame, nullptr, second.left + 60, second.top + 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpMessages(50);
    const CRect before = WindowRect(frame);

    KeyDown(p.viewHwnd(), VK_F5);
    ASSERT_TRUE(p.frame()->m_bFullScreen);
    EXPECT_EQ(ClientOnScreen(p.viewHwnd()), second);
    EXPECT_EQ(p.frame()->m_rcMonitor, second);
    p.Paint();
    ExpectEdgesShowTheSlide(p.viewHwnd(), second);

    KeyDown(p.viewHwnd(), VK_F5);
    EXPECT_FALSE(p.frame()->m_bFullScreen);
    EXPECT_EQ(WindowRect(frame), before);

    // The monitor that holds most of the window, not the one its top-left corner is on: from the
    // window reaching over the edge both ways.
    const CRect first = MonitorNumbered(1);
    struct Case {
        const char* what;
        int left;
        CRect covered;
    } const cases[] = {
        {"the corner on the first, most on the second", first.right - 200, second},
        {"the corner and most on the first", first.right - 600, first},
    };
    for (const Case& c : cases) {
        ::SetWindowPos(frame, nullptr, c.left, first.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PumpMessages(50);
        const CRect window = WindowRect(frame);
        ASSERT_TRUE(::PtInRect(&first, POINT{window.left, window.top})) << c.what << ": the corner on the first";
        KeyDown(p.viewHwnd(), VK_F5);
        EXPECT_EQ(ClientOnScreen(p.viewHwnd()), c.covered) << c.what;
        KeyDown(p.viewHwnd(), VK_F5);
    }
}

TEST_F(TwoMonitors, BigModeShowsOnTheMonitorTheCommandLineNames) {
    struct Case {
        const wchar_t* tail;
        int monitor;
    } const cases[] = {
        {L"-big -Monitor2", 2}, {L"/MAX /monitor2", 2}, {L"-Pro -MONITOR2", 2},
        {L"-big -Monitor1", 1}, {L"-big", 1},           {L"-big -Monitor7", 1},  // no such monitor
        {L"-big -Monitor2x", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.tail)));
        StartedApp started(c.tail);
        ASSERT_TRUE(started.ok());
        CMainFrame* frame = started.frame();
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(frame->m_bFullScreen);
        const CRect monitor = MonitorNumbered(c.monitor);
        EXPECT_EQ(frame->m_rcMonitor, monitor);
        EXPECT_EQ(ClientOnScreen(frame->GetActiveView()->m_hWnd), monitor);
        EXPECT_EQ(ClientOnScreen(frame->m_hWnd), monitor);
        EXPECT_EQ(WindowRect(frame->m_hWnd), frame->m_rcFullScreen);
        EXPECT_TRUE(::IsZoomed(frame->m_hWnd));
        // Leaving big mode's full-screen keeps the window on the show's monitor.
        frame->OnFullScreen();
        EXPECT_EQ(::MonitorFromWindow(frame->m_hWnd, MONITOR_DEFAULTTONEAREST),
                  ::MonitorFromPoint(POINT{monitor.left + 1, monitor.top + 1}, MONITOR_DEFAULTTONULL));
    }
}

// ---- The presenter console on the other monitor ----

// Slide `row` as the show's renderer draws it at the size of `rc`, through the show's pictures.
Pixels Rendered(CPemboroView* view, int row, const SlideRect& rc) {
    const BITMAPINFO bi = fw::TopDown32Info(rc.Width(), rc.Height());
    void* bits = nullptr;
    const fw::Bitmap bmp(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    const fw::ScopedSelect select(dc.get(), bmp.get());
    const RECT all{0, 0, rc.Width(), rc.Height()};
    const fw::Brush white(::CreateSolidBrush(RGB(255, 255, 255)));
    ::FillRect(dc.get(), &all, white.get());
    DrawSlide(Canvas{dc.get(), Medium::Screen, view->m_pictures.get()}, row, {0, 0, rc.Width(), rc.Height()},
              Branding{g_brandLogoId, g_secondLogoId});
    return testing_win::ReadDc(dc.get(), all);
}

Pixels Shown(HWND console, const SlideRect& rc) {
    return testing_win::ReadWindow(console, RECT{rc.left, rc.top, rc.right, rc.bottom});
}

// The same colours at every pixel (a window read back carries no alpha).
bool Same(const Pixels& a, const Pixels& b) {
    if (a.width != b.width || a.height != b.height) return false;
    for (size_t i = 0; i < a.bgra.size(); ++i) {
        if ((a.bgra[i] & 0xFFFFFF) != (b.bgra[i] & 0xFFFFFF)) return false;
    }
    return true;
}

class ConsoleOnTheOtherMonitor : public TwoMonitors {
protected:
    void SetUp() override {
        TwoMonitors::SetUp();
        g_currentPage = 4;
        show_ = std::make_unique<Presenter>(800, 500);
        show_->frame()->OnFullScreen();  // on the primary monitor
        show_->Paint();
        ::SendMessageW(show_->frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
        console_ = CPresenterConsole::Current();
        ASSERT_NE(console_, nullptr);
        PumpMessages(100);
    }
    void TearDown() override { show_.reset(); }
    HWND consoleHwnd() const { return console_->m_hWnd; }
    // Whether the console shows slide `row` as its current one and the slide after it as the next.
    bool ShowsRow(int row) const {
        const ConsoleLayout& l = console_->m_layout;
        return Same(Shown(consoleHwnd(), l.current), Rendered(show_->view(), row, l.current)) &&
               Same(Shown(consoleHwnd(), l.next), Rendered(show_->view(), row + 1, l.next));
    }

    std::unique_ptr<Presenter> show_;
    CPresenterConsole* console_ = nullptr;
};

TEST_F(ConsoleOnTheOtherMonitor, CoversTheOtherMonitorAndFollowsPageDown) {
    EXPECT_EQ(WindowRect(consoleHwnd()), MonitorNumbered(2)) << "full-window on the monitor without the show";
    EXPECT_EQ(ClientOnScreen(show_->viewHwnd()), MonitorNumbered(1));
    const ConsoleLayout& l = console_->m_layout;
    ASSERT_GT(l.current.Width(), 0);
    ASSERT_FALSE(Same(Rendered(show_->view(), 4, l.current), Rendered(show_->view(), 5, l.current)))
        << "the slides tell apart";
    EXPECT_TRUE(PumpUntil([&] { return ShowsRow(4); }, 3000));

    KeyDown(show_->viewHwnd(), VK_NEXT);
    EXPECT_EQ(g_currentPage, 5);
    EXPECT_TRUE(PumpUntil([&] { return ShowsRow(5); }, 3000)) << "current and next follow Page Down on the show";
}

TEST_F(ConsoleOnTheOtherMonitor, KeysAndTheWheelGivenToTheConsoleStepTheShow) {
    ::SendMessageW(consoleHwnd(), WM_KEYDOWN, VK_NEXT, 1);
    EXPECT_EQ(g_currentPage, 5);
    EXPECT_TRUE(PumpUntil([&] { return ShowsRow(5); }, 3000));
    ::SendMessageW(consoleHwnd(), WM_KEYDOWN, VK_PRIOR, 1);
    EXPECT_EQ(g_currentPage, 4);
    ::SendMessageW(consoleHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(g_currentPage, 5) << "a wheel notch toward the speaker";
    // F5 and F1 reach the show's full-screen toggle, and F1 as the accelerator: once.
    MSG f1{consoleHwnd(), WM_KEYDOWN, VK_F1, 0x003B0001, 0, {0, 0}};
    EXPECT_TRUE(show_->frame()->PreTranslateMessage(&f1));
    EXPECT_FALSE(show_->frame()->m_bFullScreen);
    ::SendMessageW(consoleHwnd(), WM_KEYDOWN, VK_F5, 1);
    EXPECT_TRUE(show_->frame()->m_bFullScreen);
    EXPECT_EQ(ClientOnScreen(show_->viewHwnd()), MonitorNumbered(1));
}

TEST_F(ConsoleOnTheOtherMonitor, AClickOnAHotspotInTheConsoleOpensIt) {
    // The first photo hotspot of the deck whose photo is there.
    int row = -1;
    const Hotspot* spot = nullptr;
    for (int r = 0; r < SLIDE_COUNT && !spot; ++r) {
        for (int i = 0; i < g_slideDeck[r].nSpots; ++i) {
            const Hotspot& h = g_slideDeck[r].pSpots[i];
            if (HasExtension(h.pszTarget, L".jpg") && ::GetFileAttributesW(ResolvePath(h.pszTarget)) != INVALID_FILE_ATTRIBUTES) {
                row = r;
                spot = &h;
                break;
            }
        }
    }
    ASSERT_NE(spot, nullptr);
    g_currentPage = row;
    show_->Paint();
    PumpMessages(100);
    // The hotspot's centre on the show, and the console's pixel that stands for it.
    const CRect view = show_->view()->m_rcSlide;
    const Square square = HotspotSquare(ToSlideRect(view), spot->x, spot->y);
    const double cx = square.x + square.side / 2.0, cy = square.y + square.side / 2.0;
    const SlideRect& c = console_->m_layout.current;
    const int px = c.left + static_cast<int>(cx * c.Width() / view.Width());
    const int py = c.top + static_cast<int>(cy * c.Height() / view.Height());
    ::SendMessageW(consoleHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(px, py));
    ::SendMessageW(consoleHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(px, py));
    EXPECT_EQ(show_->view()->m_pPictureSpot, spot) << "the show opened the hotspot's photo";
    EXPECT_FALSE(show_->view()->m_strPicture.empty());
}

TEST_F(ConsoleOnTheOtherMonitor, ClosingTheShowClosesTheConsoleAndNotTheOtherWayRound) {
    // The console's own close leaves the show as it is.
    ::SendMessageW(consoleHwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(CPresenterConsole::Current(), nullptr);
    EXPECT_TRUE(::IsWindow(show_->frame()->m_hWnd));
    EXPECT_TRUE(show_->frame()->m_bFullScreen);

    ::SendMessageW(show_->frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    console_ = CPresenterConsole::Current();
    ASSERT_NE(console_, nullptr);
    const HWND console = consoleHwnd();
    ::SendMessageW(show_->frame()->m_hWnd, WM_CLOSE, 0, 0);
    PumpMessages(50);
    EXPECT_FALSE(::IsWindow(console));
    EXPECT_EQ(CPresenterConsole::Current(), nullptr);
}

class OneMonitor : public Room {};

// The client area is the primary monitor to the pixel, whatever its size.
TEST_F(OneMonitor, ExactFit) {
    const CRect first = MonitorNumbered(1);
    std::printf("primary monitor %dx%d\n", first.Width(), first.Height());
    Presenter p(800, 500);
    p.frame()->OnFullScreen();
    EXPECT_EQ(ClientOnScreen(p.viewHwnd()), first);
    p.Paint();
    ExpectEdgesShowTheSlide(p.viewHwnd(), first);
    p.frame()->OnFullScreen();
}

class DisplayChange : public Room {};

bool SetDisplaySize(int w, int h) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = static_cast<DWORD>(w);
    mode.dmPelsHeight = static_cast<DWORD>(h);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    // Not stored: the registry's display settings stay as they were.
    return ::ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr) == DISP_CHANGE_SUCCESSFUL;
}

TEST_F(DisplayChange, FullScreenFitsTheMonitorAgain) {
    const CRect start = MonitorNumbered(1);
    Presenter p(800, 500);
    p.frame()->OnFullScreen();
    ASSERT_EQ(ClientOnScreen(p.viewHwnd()), start);

    ASSERT_TRUE(SetDisplaySize(1280, 720));
    const CRect smaller(0, 0, 1280, 720);
    EXPECT_TRUE(PumpUntil([&] { return ClientOnScreen(p.viewHwnd()) == smaller; }, 5000))
        << "fitted again after the change";
    EXPECT_TRUE(p.frame()->m_bFullScreen);

    // Back to the size the test found: the show follows.
    ASSERT_EQ(::ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr), DISP_CHANGE_SUCCESSFUL);
    EXPECT_TRUE(PumpUntil([&] { return ClientOnScreen(p.viewHwnd()) == start; }, 5000));
    p.frame()->OnFullScreen();
    EXPECT_FALSE(p.frame()->m_bFullScreen);
}

}  // namespace
}  // namespace room
