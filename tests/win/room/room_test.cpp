// The speaker's room: full-screen mode on the monitor the window is on, big mode on the monitor
// the command line names, the exact fit at every size, and a display that changes under the
// show. These run on X servers with the monitors they need (room_servers.sh starts them): a
// laptop with a projector, a single large panel, and a Wine desktop whose size changes.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "app/frame_layout.h"
#include "app/mainframe.h"
#include "app/monitors_win.h"
#include "framework/gdi.h"
#include "view/view.h"
#include "support/win_test_support.h"

namespace {

using testing_win::Pixels;
using testing_win::Presenter;
using testing_win::PumpMessages;
using testing_win::PumpUntil;

CRect ToCRect(const SlideRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

CRect WindowRect(HWND hwnd) {
    RECT rc;
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

CRect ClientOnScreen(HWND hwnd) {
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    return CRect(origin.x, origin.y, origin.x + rc.right, origin.y + rc.bottom);
}

// The monitor the speaker calls `number` (1 the primary one).
CRect MonitorNumbered(int number) {
    const Monitors now = Monitors::Now();
    return ToCRect(now.entries[static_cast<size_t>(MonitorForNumber(now.entries, number))].rc);
}

void KeyDown(HWND hwnd, UINT vk) {
    ::SendMessageW(hwnd, WM_KEYDOWN, vk, 1);
    PumpMessages(20);
}

// What the screen shows at the monitor's four edges is what the view drew at its own: the slide
// is neither cut nor framed.
void ExpectEdgesShowTheSlide(HWND view, const CRect& monitor) {
    const Pixels drawn = testing_win::ReadWindow(view);
    ASSERT_EQ(drawn.width, monitor.Width());
    ASSERT_EQ(drawn.height, monitor.Height());
    const fw::WindowDc screenDc(nullptr);
    const Pixels screen = testing_win::ReadDc(screenDc.get(), monitor);
    const int w = monitor.Width(), h = monitor.Height();
    for (int x = 0; x < w; x += 5) {
        ASSERT_EQ(screen.At(x, 0), drawn.At(x, 0)) << "top edge at " << x;
        ASSERT_EQ(screen.At(x, h - 1), drawn.At(x, h - 1)) << "bottom edge at " << x;
    }
    for (int y = 0; y < h; y += 5) {
        ASSERT_EQ(screen.At(0, y), drawn.At(0, y)) << "left edge at " << y;
        ASSERT_EQ(screen.At(w - 1, y), drawn.At(w - 1, y)) << "right edge at " << y;
    }
}

class Room : public ::testing::Test {
protected:
    testing_win::SavedGlobals globals_;
};

class TwoMonitors : public Room {
protected:
    void SetUp() override { ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2) << "the server gives two monitors"; }
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

    // And on the primary one, from a window that reaches over onto the second.
    const CRect first = MonitorNumbered(1);
    ::SetWindowPos(frame, nullptr, first.right - 500, first.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    PumpMessages(50);
    KeyDown(p.viewHwnd(), VK_F5);
    EXPECT_EQ(ClientOnScreen(p.viewHwnd()), first) << "the monitor that holds most of the window";
    KeyDown(p.viewHwnd(), VK_F5);
}

// The monitor that full-screen mode covered is gone: the next display change fits the nearest.
TEST_F(TwoMonitors, ADisplayChangeFitsTheNearestMonitorWhenTheOneCoveredIsGone) {
    Presenter p(800, 500);
    const CRect second = MonitorNumbered(2);
    ::SetWindowPos(p.frame()->m_hWnd, nullptr, second.left + 20, second.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    p.frame()->OnFullScreen();
    ASSERT_EQ(ClientOnScreen(p.viewHwnd()), second);
    // As the frame saw it before the change: a monitor left of the primary one, now nowhere.
    p.frame()->m_rcMonitor = CRect(-1500, 0, -220, 720);
    ::SendMessageW(p.frame()->m_hWnd, WM_DISPLAYCHANGE, 24, MAKELPARAM(1920, 1080));
    EXPECT_EQ(ClientOnScreen(p.viewHwnd()), MonitorNumbered(1));
    EXPECT_TRUE(p.frame()->m_bFullScreen);
}

// Runs start-up with a command-line tail, as the program does, and closes the window after.
class StartedApp {
public:
    explicit StartedApp(const wchar_t* tail) : tail_(tail) {
        app_ = std::make_unique<CPemboroApp>();
        app_->m_lpCmdLine = tail_.data();
        ok_ = app_->InitInstance();
        PumpMessages(50);
    }
    ~StartedApp() {
        if (app_->m_pMainWnd && app_->m_pMainWnd->m_hWnd) ::DestroyWindow(app_->m_pMainWnd->m_hWnd);
        PumpMessages();
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
    BOOL ok() const { return ok_; }
    CMainFrame* frame() const { return dynamic_cast<CMainFrame*>(app_->m_pMainWnd); }

private:
    std::wstring tail_;
    std::unique_ptr<CPemboroApp> app_;
    BOOL ok_ = FALSE;
};

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
