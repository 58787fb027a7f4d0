// Keys and the wheel on the real view: page steps with and without Ctrl, repaint requests,
// full-screen toggles, Escape by mode, and the frame's place in the window stack.
#include "interaction_fixture.h"

#include <functional>

namespace interaction {
namespace {

using KeysAndWheel = InteractionTest;

TEST_F(KeysAndWheel, PageKeysStepWithinTheDeckAndRepaintOnlyOnAChange) {
    struct Case {
        const char* what;
        UINT vk;
        bool ctrl;
        int from, to;
    } const cases[] = {
        {"Page Up on the first slide", VK_PRIOR, false, 0, 0},
        {"cursor up on the first slide", VK_UP, false, 0, 0},
        {"Page Up", VK_PRIOR, false, 5, 4},
        {"cursor up", VK_UP, false, 5, 4},
        {"Page Down", VK_NEXT, false, 5, 6},
        {"cursor down", VK_DOWN, false, 67, 68},
        {"Page Down on the last slide", VK_NEXT, false, kLastSlide, kLastSlide},
        {"cursor down on the last slide", VK_DOWN, false, kLastSlide, kLastSlide},
        {"Ctrl+Page Down", VK_NEXT, true, 5, kLastSlide},
        {"Ctrl+cursor down", VK_DOWN, true, 0, kLastSlide},
        {"Ctrl+Page Up from the last slide", VK_PRIOR, true, kLastSlide, 0},
        {"Ctrl+cursor up", VK_UP, true, 1, 0},
        {"Ctrl+Page Down on the last slide", VK_NEXT, true, kLastSlide, kLastSlide},
        {"Ctrl+Page Up on the first slide", VK_PRIOR, true, 0, 0},
        {"cursor left in slide mode", VK_LEFT, false, 5, 5},
        {"cursor right in slide mode", VK_RIGHT, false, 5, 5},
        {"an unbound key", 'A', false, 5, 5},
        {"B without Ctrl", 'B', false, 5, 5},
    };
    Open(400, 240);
    for (const Case& c : cases) {
        g_currentPage = c.from;
        Settle();
        {
            CtrlHeld ctrl(c.ctrl);
            KeyDown(viewHwnd(), c.vk);
        }
        EXPECT_EQ(g_currentPage, c.to) << c.what;
        EXPECT_EQ(RepaintRequested(viewHwnd()), c.from != c.to) << c.what;
        EXPECT_TRUE(view().m_strPicture.empty()) << c.what;
    }
}

TEST_F(KeysAndWheel, AutoRepeatRepeatsTheStep) {
    Open(400, 240, 10);
    KeyDown(viewHwnd(), VK_NEXT);
    // Held down: each further message says the key was down already; its count is not looked at.
    KeyDown(viewHwnd(), VK_NEXT, 1, true);
    KeyDown(viewHwnd(), VK_NEXT, 5, true);
    EXPECT_EQ(g_currentPage, 13);
}

TEST_F(KeysAndWheel, WheelStepsOneSlidePerMessageByItsSignAndAlwaysRepaints) {
    struct Case {
        const char* what;
        short zDelta;
        int from, to;
    } const cases[] = {
        {"away from the user", 120, 5, 4},
        {"a fraction of a notch away", 1, 5, 4},
        {"many notches away", 32767, 5, 4},
        {"toward the user", -120, 5, 6},
        {"many notches toward", -32768, 5, 6},
        {"zero counts as toward", 0, 5, 6},
        {"away on the first slide", 120, 0, 0},
        {"toward on the last slide", -120, kLastSlide, kLastSlide},
    };
    Open(400, 240);
    for (const Case& c : cases) {
        g_currentPage = c.from;
        Settle();
        Wheel(viewHwnd(), c.zDelta);
        EXPECT_EQ(g_currentPage, c.to) << c.what;
        EXPECT_TRUE(RepaintRequested(viewHwnd())) << c.what;
    }
}

TEST_F(KeysAndWheel, TheWheelAnswersTrue) {
    Open(400, 240);
    EXPECT_EQ(::SendMessageW(viewHwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0), TRUE);
}

TEST_F(KeysAndWheel, FullScreenKeysToggleOncePerKeyDown) {
    Open(400, 240);
    RECT normal;
    ::GetWindowRect(frameHwnd(), &normal);

    KeyDown(viewHwnd(), VK_SHIFT);
    EXPECT_TRUE(frame().m_bFullScreen);
    RECT rc;
    ::GetWindowRect(frameHwnd(), &rc);
    EXPECT_EQ(CRect(rc), frame().m_rcFullScreen);

    // Shift+F5: Shift goes down first and toggles too, so the two end where they started.
    KeyDown(viewHwnd(), VK_SHIFT);
    KeyDown(viewHwnd(), VK_F5);
    EXPECT_TRUE(frame().m_bFullScreen);

    KeyDown(viewHwnd(), VK_F1);
    EXPECT_FALSE(frame().m_bFullScreen);
    ::GetWindowRect(frameHwnd(), &rc);
    EXPECT_EQ(CRect(rc), CRect(normal));

    // Shift held: the first message toggles, its auto-repeats do not flicker the mode back.
    KeyDown(viewHwnd(), VK_SHIFT);
    EXPECT_TRUE(frame().m_bFullScreen);
    KeyDown(viewHwnd(), VK_SHIFT, 1, true);
    EXPECT_TRUE(frame().m_bFullScreen);
    KeyDown(viewHwnd(), VK_SHIFT, 1, true);
    EXPECT_TRUE(frame().m_bFullScreen);
}

// One press, one toggle: a held key's auto-repeat leaves what its first press did; the page keys
// repeat as before (AutoRepeatRepeatsTheStep).
TEST_F(KeysAndWheel, AHeldToggleKeyTogglesOnce) {
    struct Case {
        const char* what;
        UINT vk;
        std::function<bool(const CPemboroView&, const CMainFrame&)> toggled;
    } const cases[] = {
        {"B", 'B', [](const CPemboroView& v, const CMainFrame&) { return v.m_overlay.shown == Overlay::Blank; }},
        {"W", 'W', [](const CPemboroView& v, const CMainFrame&) { return v.m_overlay.shown == Overlay::Blank; }},
        {"Tab", VK_TAB, [](const CPemboroView& v, const CMainFrame&) { return v.m_overlay.shown == Overlay::Overview; }},
        {"H", 'H', [](const CPemboroView& v, const CMainFrame&) { return v.m_overlay.shown == Overlay::Help; }},
        {"F5", VK_F5, [](const CPemboroView&, const CMainFrame& f) { return f.m_bFullScreen; }},
        {"period", VK_OEM_PERIOD, [](const CPemboroView& v, const CMainFrame&) { return v.m_bSentBack; }},
    };
    Open(400, 240, 10);
    for (const Case& c : cases) {
        KeyDown(viewHwnd(), c.vk);
        EXPECT_TRUE(c.toggled(view(), frame())) << c.what;
        for (int i = 0; i < 5; ++i) KeyDown(viewHwnd(), c.vk, 1, true);
        EXPECT_TRUE(c.toggled(view(), frame())) << c.what << " held";
        KeyDown(viewHwnd(), c.vk);  // pressed again: back
        EXPECT_FALSE(c.toggled(view(), frame())) << c.what << " pressed again";
        EXPECT_EQ(g_currentPage, 10) << c.what;
    }
}

// F1 is the frame's accelerator: its repeats go past it to the view's table, which drops them.
TEST_F(KeysAndWheel, AHeldF1TogglesOnceThroughTheAccelerator) {
    Open(400, 240);
    MSG first{viewHwnd(), WM_KEYDOWN, VK_F1, KeyLParam(VK_F1, 1, false), 0, {0, 0}};
    EXPECT_TRUE(frame().PreTranslateMessage(&first)) << "the accelerator takes the first press";
    EXPECT_TRUE(frame().m_bFullScreen);
    for (int i = 0; i < 3; ++i) {
        MSG again{viewHwnd(), WM_KEYDOWN, VK_F1, KeyLParam(VK_F1, 1, true), 0, {0, 0}};
        if (!frame().PreTranslateMessage(&again)) ::DispatchMessageW(&again);
        EXPECT_TRUE(frame().m_bFullScreen) << "repeat " << i;
    }
    KeyDown(viewHwnd(), VK_F1);
    EXPECT_FALSE(frame().m_bFullScreen);
}

TEST_F(KeysAndWheel, EscapeLeavesFullScreenModeAndKeepsTheWindow) {
    Open(400, 240);
    KeyDown(viewHwnd(), VK_F5);
    ASSERT_TRUE(frame().m_bFullScreen);
    KeyDown(viewHwnd(), VK_ESCAPE);
    Char(viewHwnd(), 27);
    EXPECT_TRUE(::IsWindow(frameHwnd()));
    EXPECT_FALSE(frame().m_bFullScreen);
}

TEST_F(KeysAndWheel, EscapeInTheWindowClosesTheApplication) {
    Open(400, 240);
    const HWND frameWindow = frameHwnd();
    KeyDown(viewHwnd(), VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(frameWindow));
    EXPECT_EQ(AfxGetApp()->m_pMainWnd, nullptr);
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the message loop is asked to end";
}

TEST_F(KeysAndWheel, EscapeWithTheProSwitchNeitherClosesNorLeavesFullScreen) {
    Open(400, 240);
    g_proMode = true;
    KeyDown(viewHwnd(), VK_ESCAPE);
    Char(viewHwnd(), 27);
    ASSERT_TRUE(::IsWindow(frameHwnd()));
    EXPECT_FALSE(frame().m_bFullScreen);

    KeyDown(viewHwnd(), VK_F5);
    KeyDown(viewHwnd(), VK_ESCAPE);
    Char(viewHwnd(), 27);
    ASSERT_TRUE(::IsWindow(frameHwnd()));
    EXPECT_TRUE(frame().m_bFullScreen);
}

TEST_F(KeysAndWheel, TheEscapeCharacterInSlideModeOnlyRepaints) {
    Open(400, 240, 7);
    Settle();
    Char(viewHwnd(), 27);
    EXPECT_TRUE(RepaintRequested(viewHwnd()));
    EXPECT_EQ(g_currentPage, 7);
    EXPECT_TRUE(::IsWindow(frameHwnd()));

    Settle();
    Char(viewHwnd(), L'x');
    EXPECT_FALSE(RepaintRequested(viewHwnd()));
}

// A second top-level window, so that "to the back" and "to the front" can be seen.
class Witness {
public:
    Witness() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PemboroZOrderWitness";
        ::RegisterClassW(&wc);
        hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"witness", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200,
                                  150, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~Witness() { ::DestroyWindow(hwnd_); }
    Witness(const Witness&) = delete;
    Witness& operator=(const Witness&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

// Whether `upper` lies above `lower` in the stack of top-level windows.
bool Above(HWND upper, HWND lower) {
    for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        if (w == lower) return true;
    }
    return false;
}

TEST_F(KeysAndWheel, PeriodSendsTheFrameBackThenForwardWithoutActivatingIt) {
    Open(400, 240);
    Witness witness;
    ::SetForegroundWindow(witness.hwnd());
    ::SetActiveWindow(witness.hwnd());
    testing_win::PumpMessages(20);
    ::SetWindowPos(frameHwnd(), witness.hwnd(), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ASSERT_TRUE(Above(witness.hwnd(), frameHwnd()));
    ASSERT_EQ(::GetActiveWindow(), witness.hwnd());

    KeyDown(viewHwnd(), VK_OEM_PERIOD);
    EXPECT_TRUE(view().m_bSentBack);
    EXPECT_TRUE(Above(witness.hwnd(), frameHwnd()));
    EXPECT_EQ(::GetWindow(frameHwnd(), GW_HWNDNEXT), nullptr) << "at the very bottom";

    KeyDown(viewHwnd(), VK_OEM_PERIOD);
    EXPECT_FALSE(view().m_bSentBack);
    EXPECT_TRUE(Above(frameHwnd(), witness.hwnd()));
    EXPECT_EQ(::GetActiveWindow(), witness.hwnd()) << "brought forward without being activated";
}

TEST_F(KeysAndWheel, CtrlBSendsTheFrameBackAndLeavesTheToggleAlone) {
    Open(400, 240);
    Witness witness;
    ::SetWindowPos(frameHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ASSERT_TRUE(Above(frameHwnd(), witness.hwnd()));

    KeyDown(viewHwnd(), 'B');
    EXPECT_TRUE(Above(frameHwnd(), witness.hwnd())) << "B alone does nothing";
    {
        CtrlHeld ctrl;
        KeyDown(viewHwnd(), 'B');
    }
    EXPECT_TRUE(Above(witness.hwnd(), frameHwnd()));
    EXPECT_FALSE(view().m_bSentBack);

    // The toggle did not see Ctrl+B: the next period sends the frame back again, where it is.
    KeyDown(viewHwnd(), VK_OEM_PERIOD);
    EXPECT_TRUE(view().m_bSentBack);
    EXPECT_TRUE(Above(witness.hwnd(), frameHwnd()));
}

}  // namespace
}  // namespace interaction
