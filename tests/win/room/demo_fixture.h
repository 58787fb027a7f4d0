// What the demo tests of the speaker's room share: the show full-screen on the projector with the
// console on the laptop, the stand-in simulator as a real process, the hand-off by a click on a
// circuit hotspot, and what the audience and the speaker see then (read back from Wine's records,
// the X screen and the console's own paint).
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/mainframe.h"
#include "console/console_demo.h"
#include "console/console_win.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/launch_test_support.h"
#include "launch/target_names.h"
#include "render/geometry.h"
#include "res/resource.h"
#include "room_fixture.h"
#include "support/unix_side.h"
#include "support/win_test_support.h"
#include "view/view.h"

namespace demo_room {

using namespace launch_test;
using room::MonitorNumbered;
using testing_win::ClientOnScreen;
using testing_win::Presenter;
using testing_win::PumpMessages;
using testing_win::PumpUntil;
using testing_win::WindowRect;

inline bool Covers(const CRect& outer, const CRect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

inline bool IsAbove(HWND upper, HWND lower) {
    for (HWND hwnd = ::GetWindow(upper, GW_HWNDNEXT); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT))
        if (hwnd == lower) return true;
    return false;
}

// The top-level window the screen shows at the centre of `r`.
inline HWND ShownAtCentreOf(const CRect& r) {
    return ::GetAncestor(::WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), GA_ROOT);
}

// A key as the keyboard gives it: to whatever program has it, unless one took it.
inline void PressKey(WORD vk) {
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = vk;
    input[0].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    input[1] = input[0];
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// A click of the left button at `at` on the screen, as the mouse gives it on the X server: the
// window shown there is activated as the system activates a clicked window.
inline bool ClickOnScreen(POINT at) {
    const testing_win::UnixWorkDir work("xclick");
    return testing_win::RunUnixScript(work, testing_win::SourceDirOf(__FILE__) + "/x_click.sh",
                                      {std::to_string(at.x), std::to_string(at.y)}, 10000) == 0;
}

// Gives the display's keyboard focus to the X window of the first window whose title matches the
// pattern (no blanks: the script gets it as one argument).
inline bool GiveXFocus(const std::wstring& title) {
    const testing_win::UnixWorkDir work("xfocus");
    return testing_win::RunUnixScript(work, testing_win::SourceDirOf(__FILE__) + "/x_focus.sh",
                                      {testing_win::Narrow(title)}, 10000) == 0;
}

// The title of the window the X screen shows at the centre of `r`: what the audience sees. Wine
// keeps its own z-order beside the X server's, and raises a window on the X screen only when it
// tops its own; both must agree for the show to be seen.
inline std::wstring SeenAtCentreOf(const CRect& r) {
    const testing_win::UnixWorkDir work("xshown");
    const int status = testing_win::RunUnixScript(
        work, testing_win::SourceDirOf(__FILE__) + "/x_shown_at.sh",
        {std::to_string((r.left + r.right) / 2), std::to_string((r.top + r.bottom) / 2)}, 10000);
    if (status != 0) return L"(no answer from the X server)";
    std::string name = work.Read("name");
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    return testing_win::Widen(name);
}

inline std::wstring TitleOf(HWND hwnd) {
    wchar_t title[256] = {};
    ::InternalGetWindowText(hwnd, title, 256);
    return title;
}

// The simulator's thread has handled everything sent to it before (the placement's moves are
// sent to it without waiting): what it was asked to do is done.
inline bool CaughtUp(HWND sim) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(sim, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result) != 0;
}

// The first slide with a circuit hotspot whose file lies in the deck.
struct CircuitSpot {
    int row = -1;
    const Hotspot* spot = nullptr;
};
inline CircuitSpot FirstCircuitSpot() {
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

// Whether the console shows anything but its background where the demo's lines go.
inline bool ConsoleShowsInkWhereTheDemoLinesGo() {
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

// The demo's lines the console draws now, painted afresh.
inline std::vector<std::wstring> ConsoleDemoTexts() {
    CPresenterConsole* console = CPresenterConsole::Current();
    if (!console) return {};
    ::RedrawWindow(console->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return console->m_demoTexts;
}

// The console says a demo of `file` runs, for at least `seconds` of its own time, and what
// brings the show back to slide row `row` (`back`: the second line as it must read); with ink.
inline ::testing::AssertionResult ConsoleSaysDemo(const std::wstring& file, long long seconds, const std::wstring& back) {
    const std::vector<std::wstring> texts = ConsoleDemoTexts();
    if (texts.size() != 2) return ::testing::AssertionFailure() << texts.size() << " demo lines drawn";
    const std::wstring head = L"Demo: " + file + L" ";
    if (texts[0].compare(0, head.size(), head) != 0)
        return ::testing::AssertionFailure() << "the first line reads " << testing_win::Narrow(texts[0]);
    bool timed = false;
    for (long long s = seconds; s < 600 && !timed; ++s) timed = texts[0] == head + DemoTimeText(s);
    if (!timed) return ::testing::AssertionFailure() << "the time drawn: " << testing_win::Narrow(texts[0]);
    if (texts[1] != back) return ::testing::AssertionFailure() << "the second line reads " << testing_win::Narrow(texts[1]);
    if (!ConsoleShowsInkWhereTheDemoLinesGo()) return ::testing::AssertionFailure() << "nothing drawn there";
    return ::testing::AssertionSuccess();
}

inline bool ConsoleSaysNoDemo() { return ConsoleDemoTexts().empty() && !ConsoleShowsInkWhereTheDemoLinesGo(); }

// Key messages taken from this thread's queue, in order: input reaches the show through it.
struct KeySeen {
    HWND hwnd;
    UINT message;
    WPARAM key;
};
class KeysSeen {
public:
    KeysSeen() {
        seen_ = &keys_;
        hook_ = ::SetWindowsHookExW(WH_GETMESSAGE, &KeysSeen::Hook, nullptr, ::GetCurrentThreadId());
    }
    ~KeysSeen() {
        if (hook_) ::UnhookWindowsHookEx(hook_);
        seen_ = nullptr;
    }
    KeysSeen(const KeysSeen&) = delete;
    KeysSeen& operator=(const KeysSeen&) = delete;
    // Presses a key nothing handles and waits until its release reached this thread: every
    // input given before it has been handled by then.
    bool InputHandled() {
        PressKey(VK_F24);
        return PumpUntil(
            [&] {
                for (const KeySeen& k : keys_)
                    if (k.message == WM_KEYUP && k.key == VK_F24) return true;
                return false;
            },
            5000);
    }
    bool ReachedThisThread(UINT message, WPARAM key) const {
        for (const KeySeen& k : keys_)
            if (k.message == message && k.key == key) return true;
        return false;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && seen_ && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP))
            seen_->push_back({msg->hwnd, msg->message, msg->wParam});
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline std::vector<KeySeen>* seen_ = nullptr;
    std::vector<KeySeen> keys_;
    HHOOK hook_ = nullptr;
};

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
        ::SetForegroundWindow(frame()->m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == frame()->m_hWnd; }, 3000));
    }
    void TearDown() override {
        show_.reset();
        SimulatorFixture::TearDown();
    }

    CMainFrame* frame() const { return show_->frame(); }
    HWND console() const { return CPresenterConsole::Current()->m_hWnd; }
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
    std::wstring BackLine() const { return L"Page Down returns to slide " + std::to_wstring(circuit_.row + 1); }

    // The simulator's window over the whole projector, in front, the console still on the laptop.
    ::testing::AssertionResult SimulatorCoversTheProjector() {
        const std::vector<HWND> windows = SimulatorWindowsOfOthers();
        if (windows.empty()) return ::testing::AssertionFailure() << "no simulator window";
        const HWND sim = windows.front();
        const CRect projector = MonitorNumbered(2), laptop = MonitorNumbered(1);
        if (!::IsZoomed(sim)) return ::testing::AssertionFailure() << "not maximised";
        if (!Covers(WindowRect(sim), projector)) return ::testing::AssertionFailure() << "not over the projector";
        if (const HWND there = ShownAtCentreOf(projector); there != sim)
            return ::testing::AssertionFailure() << "not in front there: " << testing_win::Narrow(TitleOf(there))
                                                 << (there == frame()->m_hWnd ? " (the show)" : "");
        if (SeenAtCentreOf(projector) != TitleOf(sim))
            return ::testing::AssertionFailure() << "the screen shows " << testing_win::Narrow(SeenAtCentreOf(projector));
        if (::GetForegroundWindow() != sim) return ::testing::AssertionFailure() << "without the keyboard";
        if (WindowRect(console()) != laptop || ShownAtCentreOf(laptop) != console())
            return ::testing::AssertionFailure() << "the console is covered or moved";
        return ::testing::AssertionSuccess();
    }

    // The simulator's window maximised over the projector (in front or not).
    bool SimulatorMaximisedOverTheProjector() {
        const std::vector<HWND> windows = SimulatorWindowsOfOthers();
        return !windows.empty() && ::IsZoomed(windows.front()) && Covers(WindowRect(windows.front()), MonitorNumbered(2));
    }

    // Once the placed window is maximised over the projector: without a window manager the X
    // focus stays where it was and Wine may hand the front back to the window that has it (the
    // show), so the test gives it to the simulator, as a window manager gives it to the window
    // the system activated. Then the demo runs as a demo should.
    ::testing::AssertionResult PlacedAsAWindowManagerWould(DWORD timeoutMs) {
        if (!PumpUntil([&] { return SimulatorMaximisedOverTheProjector(); }, timeoutMs))
            return ::testing::AssertionFailure() << "never maximised over the projector";
        if (!GiveXFocus(L"^Circelo.Vexa")) return ::testing::AssertionFailure() << "no X focus";
        PumpUntil([&] { return DemoRuns(); }, 5000);
        return DemoRuns();
    }

    // The demo runs with the simulator before the audience and the clicker's keys taken.
    ::testing::AssertionResult DemoRuns() {
        if (!frame()->m_demo.Running()) return ::testing::AssertionFailure() << "no demo runs";
        if (!frame()->m_demo.KeysTaken()) return ::testing::AssertionFailure() << "the keys are not taken";
        return SimulatorCoversTheProjector();
    }

    // A hand-off by message to a stand-in started by the test (shown as `show` asks: on the
    // laptop, as a simulator the speaker opened before the talk), placed before the audience.
    HWND DemoWithARunningSimulator(WORD show = SW_SHOWNORMAL) {
        const StandIn running = StartStandIn(L"", show);
        if (!running.hwnd) return nullptr;
        ClickCircuit();
        EXPECT_TRUE(PumpUntil([&] { return SimulatorCoversTheProjector(); }, 10000)) << SimulatorCoversTheProjector().message();
        EXPECT_TRUE(frame()->m_demo.Running());
        // As a speaker's way back comes: once the demo has seen the simulator where it put it.
        EXPECT_TRUE(PumpUntil([&] { return frame()->m_demo.Settled(); }, 6000));
        return running.hwnd;
    }

    // The show in front on the projector, full-screen, with the keyboard, at the demo's slide,
    // the demo over and the keys given back; the console where it was.
    ::testing::AssertionResult ShowIsBack() {
        if (frame()->m_demo.Running()) return ::testing::AssertionFailure() << "the demo still runs";
        if (frame()->m_demo.KeysTaken()) return ::testing::AssertionFailure() << "the keys are still taken";
        if (::GetForegroundWindow() != frame()->m_hWnd) return ::testing::AssertionFailure() << "not in front";
        if (!frame()->m_bFullScreen || ClientOnScreen(show_->viewHwnd()) != MonitorNumbered(2))
            return ::testing::AssertionFailure() << "not full-screen on the projector";
        if (ShownAtCentreOf(MonitorNumbered(2)) != frame()->m_hWnd)
            return ::testing::AssertionFailure() << "covered";
        if (const std::wstring seen = SeenAtCentreOf(MonitorNumbered(2)); seen != TitleOf(frame()->m_hWnd))
            return ::testing::AssertionFailure() << "the screen shows " << testing_win::Narrow(seen);
        if (::GetFocus() != show_->viewHwnd()) return ::testing::AssertionFailure() << "without the keyboard";
        if (g_currentPage != circuit_.row) return ::testing::AssertionFailure() << "at slide row " << g_currentPage;
        if (WindowRect(console()) != MonitorNumbered(1)) return ::testing::AssertionFailure() << "the console moved";
        return ::testing::AssertionSuccess();
    }

    CircuitSpot circuit_;
    std::unique_ptr<Presenter> show_;
};

}  // namespace demo_room
