// The presenter console with one monitor: an ordinary window for rehearsing, opened and closed
// by its menu item and by the start-up switch; the talk's time; the show's keys given to it; and
// the slide index written at exit, which is the show's.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app.h"
#include "app/mainframe.h"
#include "console/console_win.h"
#include "deck/page_cursor.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "view/hover_rules.h"
#include "view/view.h"
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
    }
    void TearDown() override { SetWallClock(nullptr); }
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

    g_fakeNow = 1030.0;
    p.Paint();  // a paint that changes nothing
    EXPECT_FALSE(console->m_clock.Started());

    g_fakeNow = 1040.0;
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_NEXT, 1);  // given to the console, it steps the show
    EXPECT_EQ(g_currentPage, 11);
    p.Paint();
    EXPECT_TRUE(console->m_clock.Started());
    EXPECT_EQ(console->m_clock.Elapsed(1105.0), 65);

    g_fakeNow = 1200.0;
    ::SendMessageW(hwnd, WM_KEYDOWN, CPresenterConsole::kRestartKey, 1);
    EXPECT_EQ(console->m_clock.Elapsed(1203.0), 3);
    EXPECT_EQ(g_currentPage, 11) << "the restart key is the console's own";
    ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(g_currentPage, 10) << "a wheel notch away from the speaker";
}

constexpr wchar_t kSectionKey[] = L"Software\\QuillmerePemboro\\Pemboro\\General";

std::wstring StoredPage() {
    wchar_t buffer[64] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, kSectionKey, L"Page", RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

void SetStoredPage(const std::wstring& value) {
    if (value == L"<missing>") {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSectionKey, L"Page");
        return;
    }
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kSectionKey, L"Page", REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Started with the switch, the console opens with the show; what it steps is the show's slide,
// and that is what the profile keeps.
TEST_F(Console, TheStartUpSwitchOpensItAndTheShowsSlideIsWrittenAtExit) {
    const std::wstring saved = StoredPage();
    SetStoredPage(L"20");
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
    EXPECT_EQ(StoredPage(), L"22");
    SetStoredPage(saved);
}

}  // namespace
