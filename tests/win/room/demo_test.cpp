// The demo round trip in the speaker's room: the show full-screen on the projector, the console on
// the laptop. A hand-off puts the simulator (the stand-in) over the projector, in front; the
// clicker's Page Down brings the show back at the slide the demo started from; a simulator closed
// or minimised brings it back by itself; a show in a window only brings the simulator forward.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "screens/frame_layout.h"
#include "app/mainframe.h"
#include "screens/monitors_win.h"
#include "console/console_demo.h"
#include "console/console_win.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/launch_test_support.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "support/unix_side.h"
#include "support/win_test_support.h"
#include "render/geometry.h"
#include "view/view.h"

namespace {

using namespace launch_test;
using testing_win::ClientOnScreen;
using testing_win::Presenter;
using testing_win::PumpMessages;
using testing_win::PumpUntil;
using testing_win::WindowRect;

CRect MonitorNumbered(int number) {
    const Monitors now = Monitors::Now();
    const SlideRect r = now.entries[static_cast<size_t>(MonitorForNumber(now.entries, number))].rc;
    return CRect(r.left, r.top, r.right, r.bottom);
}

bool Covers(const CRect& outer, const CRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool IsAbove(HWND upper, HWND lower) {
    for (HWND hwnd = ::GetWindow(upper, GW_HWNDNEXT); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT))
        if (hwnd == lower) return true;
    return false;
}

// The top-level window the screen shows at the centre of `r`.
HWND ShownAtCentreOf(const CRect& r) {
    return ::GetAncestor(::WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), GA_ROOT);
}

// The clicker's key, as the keyboard gives it: to whatever program has it, unless one took it.
void PressKey(WORD vk) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = vk;
    input[0].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    input[1] = input[0];
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// Gives the display's keyboard focus to the X window of the first window whose title matches the
// pattern (no blanks: the script gets it as one argument).
bool GiveXFocus(const std::wstring& title) {
    const testing_win::UnixWorkDir work("xfocus");
    return testing_win::RunUnixScript(work, testing_win::SourceDirOf(__FILE__) + "/x_focus.sh",
                                      {testing_win::Narrow(title)}, 10000) == 0;
}

// The title of the window the X screen shows at the centre of `r`: what the audience sees. Wine
// keeps its own z-order beside the X server's, and raises a window on the X screen only when it
// tops its own; both must agree for the show to be seen.
std::wstring SeenAtCentreOf(const CRect& r) {
    const testing_win::UnixWorkDir work("xshown");
    const int status = testing_win::RunUnixScript(
        work, testing_win::SourceDirOf(__FILE__) + "/x_shown_at.sh",
        {std::to_string((r.left + r.right) / 2), std::to_string((r.top + r.bottom) / 2)}, 10000);
    if (status != 0) return L"(no answer from the X server)";
    std::string name = work.Read("name");
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    return testing_win::Widen(name);
}

std::wstring TitleOf(HWND hwnd) {
    wchar_t title[256] = {};
    ::InternalGetWindowText(hwnd, title, 256);
    return title;
}

// The first slide with a circuit hotspot whose file lies in the deck.
struct CircuitSpot {
    int row = -1;
    const Hotspot* spot = nullptr;
};
CircuitSpot FirstCircuitSpot() {
    for (int r = 0; r < SLIDE_COUNT; ++r) {
        for (int i = 0; i < g_slideDeck[r].nSpots; ++i) {
            const Hotspot& h = g_slideDeck[r].pSpots[i];
            if (h.pszTarget[0] != L'!' && IsCircuitFile(h.pszTarget) &&
                ::GetFileAttributesW(ResolvePath(h.pszTarget)) != INVALID_FILE_ATTRIBUTES)
                return {r, &h};
        }
    }
    return {};
}

class DemoOnTheProjector : public SimulatorFixture {
protected:
    void SetUp() override {
        SimulatorFixture::SetUp();
        ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2) << "the server gives two monitors";
        wcsncpy_s(g_appDir, kAppDirChars, testing_win::DistDir().c_str(), _TRUNCATE);
        circuit_ = FirstCircuitSpot();
        ASSERT_NE(circuit_.spot, nullptr);
        g_currentPage = circuit_.row;
        show_ = std::make_unique<Presenter>(800, 500);
        const CRect projector = MonitorNumbered(2);
        ::SetWindowPos(frame()->m_hWnd, nullptr, projector.left + 40, projector.top + 40, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER);
        frame()->OnFullScreen();
        ASSERT_EQ(ClientOnScreen(show_->viewHwnd()), projector);
        show_->Paint();
        ::SendMessageW(frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
        ASSERT_NE(CPresenterConsole::Current(), nullptr);
        ASSERT_EQ(WindowRect(CPresenterConsole::Current()->m_hWnd), MonitorNumbered(1));
        PumpMessages(100);
    }
    void TearDown() override {
        show_.reset();
        SimulatorFixture::TearDown();
    }

    CMainFrame* frame() const { return show_->frame(); }
    void Click(POINT pt) {
        ::SendMessageW(show_->viewHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ::SendMessageW(show_->viewHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    POINT CentreOf(const Square& sq) const { return {sq.x + sq.side / 2, sq.y + sq.side / 2}; }
    void ClickCircuit() {
        Click(CentreOf(HotspotSquare(ToSlideRect(show_->view()->m_rcSlide), circuit_.spot->x, circuit_.spot->y)));
    }
    void ClickCorner() { Click(CentreOf(CornerSquare(ToSlideRect(show_->view()->m_rcSlide)))); }
    std::wstring CircuitPath() const { return ResolvePath(circuit_.spot->pszTarget); }

    // The simulator's window over the whole projector, in front, the console still on the laptop.
    ::testing::AssertionResult SimulatorCoversTheProjector() {
        const std::vector<HWND> windows = SimulatorWindowsOfOthers();
        if (windows.empty()) return ::testing::AssertionFailure() << "no simulator window";
        const HWND sim = windows.front();
        const CRect projector = MonitorNumbered(2), laptop = MonitorNumbered(1);
        if (!::IsZoomed(sim)) return ::testing::AssertionFailure() << "not maximised";
        if (!Covers(WindowRect(sim), projector)) return ::testing::AssertionFailure() << "not over the projector";
        if (ShownAtCentreOf(projector) != sim) return ::testing::AssertionFailure() << "not in front there";
        if (SeenAtCentreOf(projector) != TitleOf(sim))
            return ::testing::AssertionFailure() << "the screen shows " << testing_win::Narrow(SeenAtCentreOf(projector));
        if (::GetForegroundWindow() != sim) return ::testing::AssertionFailure() << "without the keyboard";
        const HWND console = CPresenterConsole::Current()->m_hWnd;
        if (WindowRect(console) != laptop || ShownAtCentreOf(laptop) != console)
            return ::testing::AssertionFailure() << "the console is covered or moved";
        return ::testing::AssertionSuccess();
    }

    // A hand-off by message to a stand-in started by the test (on the laptop, as a simulator the
    // speaker opened before the talk), placed before the audience.
    HWND DemoWithARunningSimulator() {
        const StandIn running = StartStandIn(L"", SW_SHOWNORMAL);
        if (!running.hwnd) return nullptr;
        ClickCircuit();
        EXPECT_TRUE(PumpUntil([&] { return SimulatorCoversTheProjector(); }, 10000)) << SimulatorCoversTheProjector().message();
        EXPECT_TRUE(frame()->m_demo.Running());
        return running.hwnd;
    }

    // The show in front on the projector, full-screen, with the keyboard, at the demo's slide.
    ::testing::AssertionResult ShowIsBack() {
        if (frame()->m_demo.Running()) return ::testing::AssertionFailure() << "the demo still runs";
        if (::GetForegroundWindow() != frame()->m_hWnd) return ::testing::AssertionFailure() << "not in front";
        if (!frame()->m_bFullScreen || ClientOnScreen(show_->viewHwnd()) != MonitorNumbered(2))
            return ::testing::AssertionFailure() << "not full-screen on the projector";
        if (ShownAtCentreOf(MonitorNumbered(2)) != frame()->m_hWnd)
            return ::testing::AssertionFailure() << "covered";
        if (const std::wstring seen = SeenAtCentreOf(MonitorNumbered(2)); seen != TitleOf(frame()->m_hWnd))
            return ::testing::AssertionFailure() << "the screen shows " << testing_win::Narrow(seen);
        if (::GetFocus() != show_->viewHwnd()) return ::testing::AssertionFailure() << "without the keyboard";
        if (g_currentPage != circuit_.row) return ::testing::AssertionFailure() << "at slide row " << g_currentPage;
        return ::testing::AssertionSuccess();
    }

    CircuitSpot circuit_;
    std::unique_ptr<Presenter> show_;
};

TEST_F(DemoOnTheProjector, EachHandOffPutsTheSimulatorOverTheProjector) {
    SCOPED_TRACE("a running simulator, reached by message");
    ASSERT_TRUE(DemoWithARunningSimulator());
    EXPECT_TRUE(Contains(ReadLog(log_), L"message open " + CircuitPath()));
    EndStandIns();
    PumpUntil([&] { return !frame()->m_demo.Running(); }, 3000);

    SCOPED_TRACE("a new simulator, started with the file");
    ClickCircuit();
    EXPECT_TRUE(PumpUntil([&] { return SimulatorCoversTheProjector(); }, 15000)) << SimulatorCoversTheProjector().message();
    EXPECT_TRUE(Contains(ReadLog(log_), L"command-line open " + CircuitPath()));
    EXPECT_TRUE(frame()->m_demo.Running());
    EndStandIns();
    PumpUntil([&] { return !frame()->m_demo.Running(); }, 3000);

    SCOPED_TRACE("the corner button");
    ClickCorner();
    EXPECT_TRUE(PumpUntil([&] { return SimulatorCoversTheProjector(); }, 15000)) << SimulatorCoversTheProjector().message();
    EXPECT_EQ(StandInsStarted().size(), 1u);
}

TEST_F(DemoOnTheProjector, PageDownBringsTheShowBackAndGivesTheKeysBack) {
    const HWND sim = DemoWithARunningSimulator();
    ASSERT_TRUE(sim);
    ASSERT_TRUE(frame()->m_demo.KeysTaken());
    // The speaker works in the simulator: its window has the display's keyboard focus.
    ASSERT_TRUE(GiveXFocus(L"^Circelo.Vexa.-"));

    PressKey(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
    EXPECT_FALSE(frame()->m_demo.KeysTaken()) << "given back with the show in front";
    PumpMessages(300);
    EXPECT_EQ(g_currentPage, circuit_.row) << "the press that brought the show did not step";
    EXPECT_FALSE(Contains(ReadLog(log_), L"key Page Down")) << "the simulator did not get it";

    PressKey(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return g_currentPage == circuit_.row + 1; }, 3000)) << "the next press steps";

    // The keys are the simulator's again outside a demo.
    ::SetForegroundWindow(sim);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == sim; }, 3000));
    PressKey(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return Contains(ReadLog(log_), L"key Page Down"); }, 3000));
    EXPECT_EQ(g_currentPage, circuit_.row + 1);
}

TEST_F(DemoOnTheProjector, TheSimulatorClosedOrMinimisedBringsTheShowBack) {
    for (const bool close : {true, false}) {
        SCOPED_TRACE(close ? "closed" : "minimised");
        const HWND sim = DemoWithARunningSimulator();
        ASSERT_TRUE(sim);
        if (close) ::PostMessageW(sim, WM_CLOSE, 0, 0);
        else ::ShowWindowAsync(sim, SW_MINIMIZE);
        EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
        EXPECT_FALSE(frame()->m_demo.KeysTaken());
        EndStandIns();
    }
}

// Whether the console shows anything but its background where the demo's lines go.
bool ConsoleShowsDemoLines() {
    const CPresenterConsole* console = CPresenterConsole::Current();
    RECT client{};
    ::GetClientRect(console->m_hWnd, &client);
    const DemoLines lines = LayOutDemoLines(console->m_layout, client.bottom);
    const testing_win::Pixels shown = testing_win::ReadWindow(
        console->m_hWnd, RECT{lines.running.left, lines.running.top, lines.back.right, lines.back.bottom});
    const COLORREF background = shown.At(0, 0);
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if (shown.At(x, y) != background) return true;
    return false;
}

TEST_F(DemoOnTheProjector, TheConsoleSaysADemoRunsUntilTheShowIsBack) {
    EXPECT_FALSE(ConsoleShowsDemoLines());
    ASSERT_TRUE(DemoWithARunningSimulator());
    const auto status = frame()->m_demo.Status();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->fileName, std::wstring(circuit_.spot->pszTarget));
    EXPECT_EQ(status->row, circuit_.row);
    EXPECT_TRUE(PumpUntil([] { return ConsoleShowsDemoLines(); }, 3000)) << "the console says so";
    EXPECT_TRUE(PumpUntil([&] { return frame()->m_demo.Status()->seconds >= 1; }, 3000)) << "the demo's time runs";

    PressKey(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
    EXPECT_TRUE(PumpUntil([] { return !ConsoleShowsDemoLines(); }, 3000)) << "the slides alone again";
}

// A rehearsal in a window: the simulator comes to the front where it is, and nothing is taken.
TEST_F(DemoOnTheProjector, AShowInAWindowOnlyBringsTheSimulatorForward) {
    frame()->OnFullScreen();
    ASSERT_FALSE(frame()->m_bFullScreen);
    const StandIn running = StartStandIn(L"", SW_SHOWNOACTIVATE);
    ASSERT_TRUE(running.hwnd);
    const CRect before = WindowRect(running.hwnd);
    ClickCircuit();
    EXPECT_TRUE(PumpUntil([&] { return IsAbove(running.hwnd, frame()->m_hWnd); }, 5000)) << "raised over the show";
    PumpMessages(500);
    EXPECT_EQ(WindowRect(running.hwnd), before) << "not moved";
    EXPECT_FALSE(::IsZoomed(running.hwnd));
    EXPECT_FALSE(frame()->m_demo.Running());
    EXPECT_FALSE(frame()->m_demo.KeysTaken());
    EXPECT_TRUE(Contains(ReadLog(log_), L"message open " + CircuitPath()));
}

}  // namespace
