// The demo round trip in the speaker's room: the show full-screen on the projector, the console on
// the laptop. A hand-off puts the simulator (the stand-in) over the projector, in front, however
// the speaker left it (on the laptop, minimised, maximised), and a second hand-off keeps it there;
// the console says a demo runs; a show in a window only brings the simulator forward.
#include "demo_fixture.h"

namespace demo_room {
namespace {

TEST_F(DemoOnTheProjector, EachHandOffPutsTheSimulatorOverTheProjector) {
    SCOPED_TRACE("a running simulator, reached by message");
    ASSERT_TRUE(DemoWithARunningSimulator());
    EXPECT_TRUE(Contains(ReadLog(log_), L"message open " + CircuitPath()));
    EndStandIns();
    EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 3000)) << ShowIsBack().message();

    SCOPED_TRACE("a new simulator, started with the file");
    ClickCircuit();
    EXPECT_TRUE(PumpUntil([&] { return DemoRuns(); }, 15000)) << DemoRuns().message();
    EXPECT_TRUE(Contains(ReadLog(log_), L"command-line open " + CircuitPath()));
    EndStandIns();
    EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 3000)) << ShowIsBack().message();

    SCOPED_TRACE("the corner button");
    ClickCorner();
    EXPECT_TRUE(PumpUntil([&] { return DemoRuns(); }, 15000)) << DemoRuns().message();
    EXPECT_EQ(StandInsStarted().size(), 1u);
}

// The second demo of a talk usually finds the simulator where the first left it: minimised (one
// of the ways back), or maximised on the laptop by the speaker. It comes over the projector all
// the same, the demo runs until the speaker's way back, and minimising it then is one.
TEST_F(DemoOnTheProjector, ASimulatorMinimisedOrMaximisedComesOverTheProjector) {
    struct Case {
        const char* left;
        WORD show;
        bool minimiseAfter;  // maximised, then minimised: restored twice before it moves
        bool busy;           // busy in a run when the file comes: it restores itself late
    } const cases[] = {
        {"minimised, and busy", SW_SHOWMINNOACTIVE, false, true},
        {"maximised on the laptop", SW_SHOWMAXIMIZED, false, false},
        {"maximised on the laptop, then minimised", SW_SHOWMAXIMIZED, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.left);
        const StandIn running = StartStandIn(L"", c.show);
        ASSERT_TRUE(running.hwnd);
        fw::KernelHandle stopped;
        if (c.busy) {
            stopped = StopThreadOf(running);
            ASSERT_TRUE(stopped);
        }
        if (c.minimiseAfter) {
            ::ShowWindow(running.hwnd, SW_MINIMIZE);
            ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(running.hwnd) != FALSE; }, 3000));
        }
        if (c.show == SW_SHOWMAXIMIZED && !c.minimiseAfter) {
            const CRect where = WindowRect(running.hwnd);
            ASSERT_EQ(::MonitorFromRect(&where, MONITOR_DEFAULTTONEAREST),
                      ::MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTONEAREST)) << "on the laptop";
        }
        ::SetForegroundWindow(frame()->m_hWnd);
        ClickCircuit();
        if (c.busy) {
            // The hand-off leaves the file with the busy simulator; the demo counts on while the
            // window is still minimised, as the console says.
            ASSERT_TRUE(::IsIconic(running.hwnd));
            EXPECT_TRUE(PumpUntil(
                [&] {
                    return !frame()->m_demo.Running() || ConsoleSaysDemo(circuit_.spot->pszTarget, 1, BackLine());
                },
                5000));
            EXPECT_TRUE(frame()->m_demo.Running()) << "a window minimised before the demo is no way back";
            ::ResumeThread(stopped.get());
        }
        EXPECT_TRUE(PlacedAsAWindowManagerWould(10000));
        // Still so once the demo has seen it there: a window that was minimised before is not
        // the way back.
        EXPECT_TRUE(PumpUntil([&] { return frame()->m_demo.Settled() || !frame()->m_demo.Running(); }, 6000));
        EXPECT_TRUE(frame()->m_demo.Settled());
        EXPECT_TRUE(DemoRuns()) << DemoRuns().message();
        ::ShowWindowAsync(running.hwnd, SW_MINIMIZE);
        EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
        EndStandIns();
    }
}

TEST_F(DemoOnTheProjector, TheConsoleSaysADemoRunsUntilTheShowIsBack) {
    EXPECT_TRUE(ConsoleSaysNoDemo());
    ASSERT_TRUE(DemoWithARunningSimulator());
    const auto status = frame()->m_demo.Status();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->fileName, std::wstring(circuit_.spot->pszTarget));
    EXPECT_EQ(status->row, circuit_.row);
    EXPECT_TRUE(status->pageDownTaken);
    // The file's name, the demo's own time as it runs, and the clicker's way back.
    EXPECT_TRUE(PumpUntil([&] { return ConsoleSaysDemo(circuit_.spot->pszTarget, 0, BackLine()); }, 3000))
        << ConsoleSaysDemo(circuit_.spot->pszTarget, 0, BackLine()).message();
    EXPECT_TRUE(PumpUntil([&] { return ConsoleSaysDemo(circuit_.spot->pszTarget, 2, BackLine()); }, 5000))
        << "the demo's time runs: " << ConsoleSaysDemo(circuit_.spot->pszTarget, 2, BackLine()).message();

    PressKey(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
    EXPECT_TRUE(PumpUntil([] { return ConsoleSaysNoDemo(); }, 3000)) << "the slides alone again";
}

// Page Down held by another program: the console does not promise what the clicker cannot do.
TEST_F(DemoOnTheProjector, WithPageDownHeldElsewhereTheConsoleSaysClickTheShow) {
    struct HeldKey {
        HeldKey() { held = ::RegisterHotKey(nullptr, 0x5101, MOD_NOREPEAT, VK_NEXT) != 0; }
        ~HeldKey() {
            if (held) ::UnregisterHotKey(nullptr, 0x5101);
        }
        bool held = false;
    } const other;
    ASSERT_TRUE(other.held);
    ASSERT_TRUE(DemoWithARunningSimulator());
    const std::wstring back = L"Page Down is in use: click the show to return to slide " + std::to_wstring(circuit_.row + 1);
    EXPECT_TRUE(PumpUntil([&] { return ConsoleSaysDemo(circuit_.spot->pszTarget, 0, back); }, 3000))
        << ConsoleSaysDemo(circuit_.spot->pszTarget, 0, back).message();
}

// A hand-off during a demo (the speaker clicks another hotspot on the console): the simulator
// stays before the audience with the new file, the demo starts over, the clicker still returns.
TEST_F(DemoOnTheProjector, ASecondHandOffDuringADemoKeepsTheSimulatorBeforeTheAudience) {
    const HWND sim = DemoWithARunningSimulator();
    ASSERT_TRUE(sim);
    ASSERT_TRUE(PumpUntil([&] { return frame()->m_demo.Status() && frame()->m_demo.Status()->seconds >= 2; }, 5000));
    // What the console does with a click on its slide: the same click on the show.
    ClickCircuit();
    ASSERT_TRUE(CaughtUp(sim));
    EXPECT_EQ(CountOf(ReadLog(log_), L"message open " + CircuitPath()), 2u);
    EXPECT_TRUE(PumpUntil([&] { return DemoRuns(); }, 5000)) << DemoRuns().message();
    ASSERT_TRUE(frame()->m_demo.Status().has_value());
    EXPECT_LT(frame()->m_demo.Status()->seconds, 2) << "the demo starts over";
    PressKey(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
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
    // Whatever the show asked of the simulator's window has been done by now.
    ASSERT_TRUE(CaughtUp(running.hwnd));
    EXPECT_TRUE(Contains(ReadLog(log_), L"message open " + CircuitPath()));
    EXPECT_EQ(WindowRect(running.hwnd), before) << "not moved";
    EXPECT_FALSE(::IsZoomed(running.hwnd));
    EXPECT_FALSE(frame()->m_demo.Running());
    EXPECT_FALSE(frame()->m_demo.KeysTaken());
}

}  // namespace
}  // namespace demo_room
