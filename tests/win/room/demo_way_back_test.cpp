// The ways back from a demo in the speaker's room, each with the simulator over the projector and
// the keyboard in it: the clicker's Page Down or Page Up, the simulator closed or minimised, a
// click on the console (where the speaker's mouse is), and switching to the show or the console
// as Alt+Tab does. Every one brings the show back in front on the projector at the demo's slide,
// and only then gives the keys back; the console stays where it is.
#include "demo_fixture.h"

namespace demo_room {
namespace {

// The press that brings the show does not step it; the next one does, and the keys are the
// simulator's again outside a demo.
TEST_F(DemoOnTheProjector, PageDownOrPageUpBringsTheShowBackAndGivesTheKeysBack) {
    struct Key {
        const char* name;
        WORD vk;
        int step;
        const wchar_t* logged;
    } const keys[] = {{"Page Down", VK_NEXT, 1, L"key Page Down"}, {"Page Up", VK_PRIOR, -1, L"key Page Up"}};
    for (const Key& key : keys) {
        SCOPED_TRACE(key.name);
        g_currentPage = circuit_.row;
        KeysSeen seen;
        const HWND sim = DemoWithARunningSimulator();
        ASSERT_TRUE(sim);
        ASSERT_TRUE(frame()->m_demo.KeysTaken());
        // The speaker works in the simulator: its window has the display's keyboard focus.
        ASSERT_TRUE(GiveXFocus(L"^Circelo.Vexa.-"));

        PressKey(key.vk);
        EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
        // Every key given so far has been handled once one given after it reached the show.
        ASSERT_TRUE(seen.InputHandled());
        EXPECT_EQ(g_currentPage, circuit_.row) << "the press that brought the show did not step";
        ASSERT_TRUE(CaughtUp(sim));
        EXPECT_FALSE(Contains(ReadLog(log_), key.logged)) << "the simulator did not get it";

        PressKey(key.vk);
        EXPECT_TRUE(PumpUntil([&] { return g_currentPage == circuit_.row + key.step; }, 3000)) << "the next press steps";

        ::SetForegroundWindow(sim);
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == sim; }, 3000));
        PressKey(key.vk);
        EXPECT_TRUE(PumpUntil([&] { return Contains(ReadLog(log_), key.logged); }, 3000)) << "the simulator's key again";
        EXPECT_EQ(g_currentPage, circuit_.row + key.step);
        EndStandIns();
        ::SetForegroundWindow(frame()->m_hWnd);
    }
}

TEST_F(DemoOnTheProjector, TheSimulatorClosedOrMinimisedBringsTheShowBack) {
    for (const bool close : {true, false}) {
        SCOPED_TRACE(close ? "closed" : "minimised");
        const HWND sim = DemoWithARunningSimulator();
        ASSERT_TRUE(sim);
        if (close) ::PostMessageW(sim, WM_CLOSE, 0, 0);
        else ::ShowWindowAsync(sim, SW_MINIMIZE);
        EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
        EndStandIns();
        ::SetForegroundWindow(frame()->m_hWnd);
    }
}

// The console fills the laptop, so the speaker's mouse goes there after a demo: a click on it
// brings the show back over the simulator, as the clicker does. The console is not the show.
TEST_F(DemoOnTheProjector, AClickOnTheConsoleBringsTheShowBack) {
    const HWND sim = DemoWithARunningSimulator();
    ASSERT_TRUE(sim);
    // On the console's ground beside its slides, where a click is nothing but a click.
    const CRect laptop = MonitorNumbered(1);
    ASSERT_TRUE(ClickOnScreen(POINT{laptop.left + 3, laptop.bottom - 3}));
    EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
    EXPECT_TRUE(PumpUntil([] { return ConsoleSaysNoDemo(); }, 3000));
    // The next press of the clicker steps the show the audience sees.
    PressKey(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return g_currentPage == circuit_.row + 1; }, 3000));
}

// Alt+Tab to the show or to the console: the system makes the chosen window the active one, as
// the test does here (Wine without a window manager has no Alt+Tab of its own).
TEST_F(DemoOnTheProjector, SwitchingToTheShowOrTheConsoleBringsTheShowBack) {
    for (const bool toConsole : {true, false}) {
        SCOPED_TRACE(toConsole ? "to the console" : "to the show");
        g_currentPage = circuit_.row;
        const HWND sim = DemoWithARunningSimulator();
        ASSERT_TRUE(sim);
        ::SetForegroundWindow(toConsole ? console() : frame()->m_hWnd);
        EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
        EndStandIns();
    }
}

}  // namespace
}  // namespace demo_room
