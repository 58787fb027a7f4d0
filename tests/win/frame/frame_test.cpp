// The main frame as the real window: style and class, full-screen mode exactly over the monitor, the size limits while toggling, the white strips beside the slide, the
// hover cleared on leaving the non-client area, the accelerators and the menu, and the
// display kept awake while full-screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "screens/frame_layout.h"
#include "app/mainframe.h"
#include "framework/gdi.h"
#include "res/resource.h"
#include "view/view.h"
#include "support/win_test_support.h"

namespace {

using testing_win::ClientOnScreen;
using testing_win::Pixels;
using testing_win::Presenter;
using testing_win::WindowRect;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(90, 90, 90);

// What the screen itself shows there.
Pixels ScreenPixels(const RECT& rc) {
    const fw::WindowDc screen(nullptr);
    return testing_win::ReadDc(screen.get(), rc);
}

// A memory DC with a 32-bit bitmap, filled grey.
struct Canvas {
    fw::MemoryDc dc{::CreateCompatibleDC(nullptr)};
    fw::Bitmap bmp;
    HGDIOBJ old = nullptr;
    int w, h;
    Canvas(int width, int height) : w(width), h(height) {
        const BITMAPINFO bi = fw::TopDown32Info(w, h);
        void* bits = nullptr;
        bmp.reset(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        old = ::SelectObject(dc.get(), bmp.get());
        const fw::Brush grey(::CreateSolidBrush(kGrey));
        const RECT all{0, 0, w, h};
        ::FillRect(dc.get(), &all, grey.get());
    }
    ~Canvas() { ::SelectObject(dc.get(), old); }
    Pixels Read() const { return testing_win::ReadDc(dc.get(), RECT{0, 0, w, h}); }
};

class MainFrame : public ::testing::Test {
protected:
    void SetUp() override { ::SetCursorPos(1919, 1079); }
};

TEST_F(MainFrame, StyleAndWindowClass) {
    Presenter p(800, 500);
    const HWND hwnd = p.frame()->m_hWnd;
    const LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
    const DWORD wanted = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    EXPECT_EQ(style & wanted, static_cast<LONG>(wanted));
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(::GetClassLongPtrW(hwnd, GCL_STYLE), 0u);
    EXPECT_EQ(::GetClassLongPtrW(hwnd, GCLP_HCURSOR), 0u);
    EXPECT_EQ(::GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND), 0u);
    EXPECT_EQ(::GetClassLongPtrW(hwnd, GCLP_HICON), 0u);
}

// The client area is the monitor, to the pixel: computed from the frame's real style and menu,
// with nothing of the slide off the screen and nothing of the frame on it.
TEST_F(MainFrame, FullScreenClientAreaIsExactlyTheMonitor) {
    Presenter p(800, 500);
    CMainFrame* frame = p.frame();
    frame->OnFullScreen();
    const CRect monitor(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(frame->m_rcMonitor, monitor);
    EXPECT_EQ(ClientOnScreen(p.viewHwnd()), monitor);
    RECT adjusted = monitor;
    ::AdjustWindowRectEx(&adjusted, static_cast<DWORD>(::GetWindowLongW(frame->m_hWnd, GWL_STYLE)), TRUE,
                         static_cast<DWORD>(::GetWindowLongW(frame->m_hWnd, GWL_EXSTYLE)));
    EXPECT_EQ(WindowRect(frame->m_hWnd), CRect(adjusted)) << "the frame just beyond every edge";

    // What the screen shows at its four edges is what the slide has at its own.
    const Pixels drawn = p.Paint();
    const Pixels screen = ScreenPixels(monitor);
    for (int x = 0; x < monitor.Width(); x += 7) {
        ASSERT_EQ(screen.At(x, 0), drawn.At(x, 0)) << "top edge at " << x;
        ASSERT_EQ(screen.At(x, monitor.Height() - 1), drawn.At(x, monitor.Height() - 1)) << "bottom edge at " << x;
    }
    for (int y = 0; y < monitor.Height(); y += 7) {
        ASSERT_EQ(screen.At(0, y), drawn.At(0, y)) << "left edge at " << y;
        ASSERT_EQ(screen.At(monitor.Width() - 1, y), drawn.At(monitor.Width() - 1, y)) << "right edge at " << y;
    }
}

TEST_F(MainFrame, ToggleCoversTheScreenAndTwiceReturnsExactly) {
    Presenter p(800, 500);
    CMainFrame* frame = p.frame();
    const HWND hwnd = frame->m_hWnd;
    ::MoveWindow(hwnd, 37, 21, 900, 640, TRUE);
    testing_win::PumpMessages();
    const CRect before = WindowRect(hwnd);
    const LONG styleBefore = ::GetWindowLongW(hwnd, GWL_STYLE);

    frame->OnFullScreen();
    EXPECT_TRUE(frame->m_bFullScreen);
    EXPECT_FALSE(frame->m_bToggling);
    EXPECT_EQ(frame->m_rcNormal, before);
    EXPECT_EQ(WindowRect(hwnd), frame->m_rcFullScreen) << "not cut to the screen";
    EXPECT_EQ(::GetWindowLongW(hwnd, GWL_STYLE), styleBefore);
    // Caption, menu and border are off the screen: the view's client area is all of it.
    EXPECT_EQ(ClientOnScreen(p.viewHwnd()),
              CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));

    frame->OnFullScreen();
    EXPECT_FALSE(frame->m_bFullScreen);
    EXPECT_EQ(WindowRect(hwnd), before);
    EXPECT_EQ(::GetWindowLongW(hwnd, GWL_STYLE), styleBefore);

    // Entering again saves the rectangle anew; leaving returns to it.
    ::MoveWindow(hwnd, 5, 6, 700, 450, TRUE);
    const CRect second = WindowRect(hwnd);
    frame->OnFullScreen();
    frame->OnFullScreen();
    EXPECT_EQ(WindowRect(hwnd), second);

    // From the maximised window that start-up shows, and back to it.
    ::ShowWindow(hwnd, SW_MAXIMIZE);
    testing_win::PumpMessages();
    const CRect maximised = WindowRect(hwnd);
    const LONG maximisedStyle = ::GetWindowLongW(hwnd, GWL_STYLE);
    frame->OnFullScreen();
    EXPECT_EQ(WindowRect(hwnd), frame->m_rcFullScreen);
    EXPECT_EQ(ClientOnScreen(p.viewHwnd()),
              CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(::GetWindowLongW(hwnd, GWL_STYLE), maximisedStyle);
    frame->OnFullScreen();
    EXPECT_EQ(WindowRect(hwnd), maximised);
    EXPECT_EQ(::GetWindowLongW(hwnd, GWL_STYLE), maximisedStyle);
}

TEST_F(MainFrame, SizeLimitsWidenOnlyWhileToggling) {
    Presenter p(800, 500);
    CMainFrame* frame = p.frame();
    const auto ask = [&] {
        MINMAXINFO mmi{};
        mmi.ptMaxSize = {1, 2};
        mmi.ptMaxPosition = {3, 4};
        mmi.ptMaxTrackSize = {5, 6};
        mmi.ptMinTrackSize = {7, 8};
        ::SendMessageW(frame->m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        return mmi;
    };
    const MINMAXINFO idle = ask();
    EXPECT_EQ(idle.ptMaxTrackSize.x, 5);
    EXPECT_EQ(idle.ptMaxPosition.x, 3);

    frame->m_bToggling = TRUE;
    const MINMAXINFO toggling = ask();
    frame->m_bToggling = FALSE;
    const CRect& full = frame->m_rcFullScreen;
    EXPECT_EQ(toggling.ptMaxPosition.x, full.left);
    EXPECT_EQ(toggling.ptMaxPosition.y, full.top);
    EXPECT_EQ(toggling.ptMaxSize.x, full.Width());
    EXPECT_EQ(toggling.ptMaxSize.y, full.Height());
    EXPECT_EQ(toggling.ptMaxTrackSize.x, full.Width());
    EXPECT_EQ(toggling.ptMaxTrackSize.y, full.Height());
    EXPECT_EQ(toggling.ptMinTrackSize.x, 7) << "left alone";
    EXPECT_EQ(toggling.ptMinTrackSize.y, 8);
}

TEST_F(MainFrame, ErasesOnlyRightOfAndBelowTheLastSlide) {
    Presenter p(1000, 600);
    const HWND hwnd = p.frame()->m_hWnd;
    const auto erase = [&](const RECT* clip) {
        auto canvas = std::make_unique<Canvas>(1200, 700);
        if (clip) ::IntersectClipRect(canvas->dc.get(), clip->left, clip->top, clip->right, clip->bottom);
        EXPECT_NE(::SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas->dc.get()), 0), 0);
        ::SelectClipRgn(canvas->dc.get(), nullptr);
        return canvas->Read();
    };
    // Before the view's first paint the slide rectangle is empty: all of the clip box is white.
    p.view()->m_rcSlide = CRect();
    const Pixels fresh = erase(nullptr);
    EXPECT_EQ(fresh.At(0, 0), kWhite);
    EXPECT_EQ(fresh.At(1199, 699), kWhite);

    p.view()->m_rcSlide = CRect(0, 0, 1000, 600);
    const Pixels grown = erase(nullptr);
    EXPECT_EQ(grown.At(999, 599), kGrey);
    EXPECT_EQ(grown.At(0, 0), kGrey);
    EXPECT_EQ(grown.At(1000, 0), kWhite);
    EXPECT_EQ(grown.At(1199, 599), kWhite);
    EXPECT_EQ(grown.At(0, 600), kWhite);
    EXPECT_EQ(grown.At(1199, 699), kWhite);

    // Only within the clip box.
    const RECT clip{900, 500, 1100, 650};
    const Pixels clipped = erase(&clip);
    EXPECT_EQ(clipped.At(950, 550), kGrey);
    EXPECT_EQ(clipped.At(1050, 550), kWhite);
    EXPECT_EQ(clipped.At(950, 620), kWhite);
    EXPECT_EQ(clipped.At(1150, 550), kGrey);
    EXPECT_EQ(clipped.At(950, 680), kGrey);
    EXPECT_EQ(clipped.At(1050, 450), kGrey);
}

TEST_F(MainFrame, LeavingTheNonClientAreaClearsTheHoverAtOnce) {
    Presenter p(1000, 600);
    CPemboroView* view = p.view();
    p.Paint();
    const COLORREF painted = testing_win::ReadWindow(p.viewHwnd(), RECT{500, 100, 501, 101}).At(0, 0);
    // Something drawn on the window stands in for a highlight.
    {
        const fw::WindowDc dc(p.viewHwnd());
        const fw::Brush red(::CreateSolidBrush(RGB(255, 0, 0)));
        const RECT spot{480, 80, 520, 120};
        ::FillRect(dc.get(), &spot, red.get());
    }
    view->m_bHover = true;
    MSG other{p.frame()->m_hWnd, WM_MOUSEMOVE, 0, 0, 0, {0, 0}};
    p.frame()->PreTranslateMessage(&other);
    EXPECT_TRUE(view->m_bHover) << "only the non-client mouse-leave clears it";

    MSG leave{p.frame()->m_hWnd, WM_NCMOUSELEAVE, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(p.frame()->PreTranslateMessage(&leave));
    EXPECT_FALSE(view->m_bHover);
    EXPECT_EQ(view->m_pHoverSpot, nullptr);
    // Repainted before PreTranslateMessage returned: no pumping in between.
    EXPECT_EQ(testing_win::ReadWindow(p.viewHwnd(), RECT{500, 100, 501, 101}).At(0, 0), painted);
}

// The frame reaches its view through g_pView. Once the view it names is gone, the frame finds
// no view: it erases its whole client area white, and a non-client mouse-leave does nothing.
TEST_F(MainFrame, OnceTheViewIsGoneTheFrameNoLongerReachesIt) {
    {
        Presenter other(640, 400);
        EXPECT_EQ(g_pView, other.view());
    }
    EXPECT_EQ(g_pView, nullptr) << "the pointer went with the view it named";

    Presenter p(800, 500);
    p.Paint();
    ASSERT_EQ(g_pView, p.view());
    CMainFrame* frame = p.frame();
    ASSERT_TRUE(::DestroyWindow(p.viewHwnd()));  // the view alone; its frame stays
    testing_win::PumpMessages();
    EXPECT_EQ(g_pView, nullptr);
    EXPECT_EQ(frame->GetActiveView(), nullptr);

    Canvas canvas(800, 500);
    EXPECT_NE(::SendMessageW(frame->m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc.get()), 0), 0);
    const Pixels erased = canvas.Read();
    EXPECT_EQ(erased.At(0, 0), kWhite);
    EXPECT_EQ(erased.At(400, 250), kWhite);
    EXPECT_EQ(erased.At(799, 499), kWhite);
    MSG leave{frame->m_hWnd, WM_NCMOUSELEAVE, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(frame->PreTranslateMessage(&leave));
    ::SetFocus(frame->m_hWnd);
    ::MoveWindow(frame->m_hWnd, 0, 0, 700, 450, TRUE);  // layout and focus find no view either
    testing_win::PumpMessages();
}

TEST_F(MainFrame, F1AndTheMenuItemReachTheSameToggle) {
    Presenter p(800, 500);
    CMainFrame* frame = p.frame();
    MSG f1{p.viewHwnd(), WM_KEYDOWN, VK_F1, 0x003B0001, 0, {0, 0}};
    EXPECT_TRUE(frame->PreTranslateMessage(&f1)) << "consumed by the accelerator";
    EXPECT_TRUE(frame->m_bFullScreen);
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_FULL_SCREEN_MODE, 0);
    EXPECT_FALSE(frame->m_bFullScreen);
}

TEST_F(MainFrame, AcceleratorTableAndMenu) {
    const HACCEL table = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8]{};
    const int n = ::CopyAcceleratorTableW(table, entries, 8);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(entries[0].fVirt & ~0x80, FVIRTKEY | FCONTROL);
    EXPECT_EQ(entries[0].key, 'P');
    EXPECT_EQ(entries[0].cmd, 57607);
    EXPECT_EQ(entries[1].fVirt & ~0x80, FVIRTKEY | FNOINVERT);
    EXPECT_EQ(entries[1].key, VK_F1);
    EXPECT_EQ(entries[1].cmd, ID_FULL_SCREEN_MODE);

    Presenter p(800, 500);
    const HMENU bar = ::GetMenu(p.frame()->m_hWnd);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(::GetMenuItemCount(bar), 1);
    wchar_t text[64];
    ::GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), L"Menu");
    const HMENU popup = ::GetSubMenu(bar, 0);
    const std::vector<std::pair<std::wstring, UINT>> items = {
        {L"Full Screen Mode", ID_FULL_SCREEN_MODE},
        {L"Print", 57607},
        {L"Print Preview", 57609},
        {L"Presenter Console", ID_PRESENTER_CONSOLE},
        {L"E&xit", 57665}};
    ASSERT_EQ(::GetMenuItemCount(popup), static_cast<int>(items.size()));
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        ::GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(text), items[i].first);
        EXPECT_EQ(::GetMenuItemID(popup, i), items[i].second);
    }
    // No check mark in either state.
    for (int toggle = 0; toggle < 2; ++toggle) {
        ::SendMessageW(p.frame()->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        EXPECT_EQ(::GetMenuState(popup, ID_FULL_SCREEN_MODE, MF_BYCOMMAND) & MF_CHECKED, 0u);
        p.frame()->OnFullScreen();
    }
}

// The execution state the presenter holds, read without changing it: a request without
// ES_CONTINUOUS only answers with the state in force (Wine keeps one per process and
// answers the same way; it starts at ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED |
// ES_USER_PRESENT, so each test first sets the released state itself).
EXECUTION_STATE HeldExecutionState() { return ::SetThreadExecutionState(ES_SYSTEM_REQUIRED); }

constexpr EXECUTION_STATE kAwake = ES_CONTINUOUS | ES_DISPLAY_REQUIRED | ES_SYSTEM_REQUIRED;
constexpr EXECUTION_STATE kReleased = ES_CONTINUOUS;

class KeepAwake : public MainFrame {
protected:
    void SetUp() override {
        MainFrame::SetUp();
        ::SetThreadExecutionState(kReleased);
    }
    void TearDown() override { ::SetThreadExecutionState(kReleased); }
};

TEST_F(KeepAwake, HeldWhileFullScreenAndReleasedOnEveryWayOut) {
    struct Case {
        const char* what;
        std::function<void(testing_win::Presenter&)> enter, leave;
        bool closes;
    };
    const auto toggle = [](testing_win::Presenter& p) { p.frame()->OnFullScreen(); };
    const auto menu = [](testing_win::Presenter& p) {
        ::SendMessageW(p.frame()->m_hWnd, WM_COMMAND, ID_FULL_SCREEN_MODE, 0);
    };
    const auto f1 = [](testing_win::Presenter& p) {
        MSG key{p.viewHwnd(), WM_KEYDOWN, VK_F1, 0x003B0001, 0, {0, 0}};
        p.frame()->PreTranslateMessage(&key);
    };
    const auto escape = [](testing_win::Presenter& p) { ::SendMessageW(p.viewHwnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001); };
    const auto close = [](testing_win::Presenter& p) { ::SendMessageW(p.frame()->m_hWnd, WM_CLOSE, 0, 0); };
    const auto exit = [](testing_win::Presenter& p) { ::SendMessageW(p.frame()->m_hWnd, WM_COMMAND, ID_APP_EXIT, 0); };
    const Case cases[] = {
        {"toggled in and out", toggle, toggle, false},
        {"menu item in and out", menu, menu, false},
        {"F1 in and out", f1, f1, false},
        {"Escape leaves full-screen", toggle, escape, false},
        {"the window closed while full-screen", toggle, close, true},
        {"E&xit while full-screen", menu, exit, true},
    };
    for (const Case& c : cases) {
        testing_win::Presenter p(800, 500);
        EXPECT_EQ(HeldExecutionState(), kReleased) << c.what << ": not held before full-screen";
        c.enter(p);
        ASSERT_TRUE(p.frame()->m_bFullScreen) << c.what;
        EXPECT_EQ(HeldExecutionState(), kAwake) << c.what << ": held while full-screen";
        c.leave(p);
        if (!c.closes) {
            EXPECT_FALSE(p.frame()->m_bFullScreen) << c.what;
        } else {
            EXPECT_FALSE(::IsWindow(p.viewHwnd())) << c.what << ": the window is gone";
        }
        EXPECT_EQ(HeldExecutionState(), kReleased) << c.what << ": released after";
    }
}

TEST_F(KeepAwake, TheFirstPaintInBigModeHoldsIt) {
    const testing_win::SavedGlobals globals;
    g_bigMode = true;
    {
        testing_win::Presenter p(800, 500);
        p.Paint();
        EXPECT_TRUE(p.frame()->m_bFullScreen);
        EXPECT_EQ(HeldExecutionState(), kAwake);
    }
    EXPECT_EQ(HeldExecutionState(), kReleased) << "released when the frame goes";
}

}  // namespace
