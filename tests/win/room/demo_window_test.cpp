// A simulator started for a demo whose window is slow to come (a first start, a licence check, a
// scan of its libraries), or never comes: the demo counts for a while and then stops, the console
// drops its lines and the clicker's keys go back; a window that comes late is still put over the
// projector, with the way back, as long as no other demo started meanwhile.
#include "demo_fixture.h"

namespace demo_room {
namespace {

// The window of the simulator the presenter started, once shown; null before.
HWND ShownWindowOfStarted() {
    for (const DWORD pid : StandInsStarted())
        if (const HWND hwnd = WindowOfProcess(pid); hwnd && ::IsWindowVisible(hwnd)) return hwnd;
    return nullptr;
}

// Another program of the speaker's (Wine's notepad stands in for the mail), its window shown
// without activation; ended by its handle.
class OtherProgram {
public:
    OtherProgram() {
        wchar_t system[MAX_PATH] = {};
        ::GetSystemDirectoryW(system, MAX_PATH);
        std::wstring commandLine = std::wstring(system) + L"\\notepad.exe";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNOACTIVATE;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            return;
        process_.reset(info.hProcess);
        const fw::KernelHandle thread(info.hThread);
        ::WaitForInputIdle(process_.get(), 20000);
        PumpUntil([&] { return (hwnd_ = TopWindowOf(info.dwProcessId)) != nullptr; }, 20000);
    }
    ~OtherProgram() {
        if (!process_) return;
        ::TerminateProcess(process_.get(), 0);
        ::WaitForSingleObject(process_.get(), 5000);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    static HWND TopWindowOf(DWORD pid) {
        for (HWND h = ::GetTopWindow(nullptr); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(h, &owner);
            if (owner == pid && ::IsWindowVisible(h) && !::GetWindow(h, GW_OWNER)) return h;
        }
        return nullptr;
    }
    fw::KernelHandle process_;
    HWND hwnd_ = nullptr;
};

TEST_F(DemoOnTheProjector, AWindowThatComesLateIsStillPutOverTheProjector) {
    // Its window exists at once and shows after 13 s: after the demo gave up waiting.
    const ScopedEnvironment late(L"CIRCELO_SHOW_AFTER_MS", L"13000");
    ClickCircuit();
    ASSERT_TRUE(frame()->m_demo.Running());
    ASSERT_TRUE(PumpUntil([&] { return !frame()->m_demo.Running(); }, 15000)) << "the wait ran out";
    ASSERT_EQ(ShownWindowOfStarted(), nullptr) << "the window came before the wait ran out";
    EXPECT_FALSE(frame()->m_demo.KeysTaken());
    EXPECT_TRUE(ConsoleSaysNoDemo());

    EXPECT_TRUE(PlacedAsAWindowManagerWould(15000));
    EXPECT_TRUE(Contains(ReadLog(log_), L"command-line open " + CircuitPath()));
    EXPECT_TRUE(PumpUntil([&] { return ConsoleSaysDemo(circuit_.spot->pszTarget, 0, BackLine()); }, 3000));
    PressKey(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return ShowIsBack(); }, 5000)) << ShowIsBack().message();
}

// No window ever: with the show still in front, the demo stops counting when the wait runs out;
// with the speaker in another program, the clicker stays the way back for a while, then that
// stops too. Neither counts on for ever.
TEST_F(DemoOnTheProjector, ADemoWhoseWindowNeverComesStopsCounting) {
    struct Case {
        const char* speaker;
        bool elsewhere;
        double endsAfter;  // seconds after the hand-off, at least
    } const cases[] = {
        {"at the show", false, Demo::kWindowWaitSeconds},
        {"in another program", true, Demo::kNoWindowSeconds},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speaker);
        // The speaker's mail, on the laptop.
        std::unique_ptr<OtherProgram> mail;
        if (c.elsewhere) {
            mail = std::make_unique<OtherProgram>();
            ASSERT_TRUE(mail->hwnd()) << "no other program to switch to";
        }
        const ScopedEnvironment never(L"CIRCELO_SHOW_AFTER_MS", L"600000");
        const double clicked = DemoClockNow();
        ClickCircuit();
        ASSERT_TRUE(frame()->m_demo.Running());
        EXPECT_TRUE(PumpUntil([&] { return ConsoleSaysDemo(circuit_.spot->pszTarget, 0, BackLine()); }, 3000));
        if (c.elsewhere) {
            ::SetForegroundWindow(mail->hwnd());
            ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == mail->hwnd(); }, 3000));
        }
        EXPECT_TRUE(PumpUntil([&] { return !frame()->m_demo.Running(); }, static_cast<DWORD>(c.endsAfter * 1000 + 5000)))
            << "still counting";
        EXPECT_GE(DemoClockNow() - clicked, c.endsAfter - 0.5);
        EXPECT_FALSE(frame()->m_demo.KeysTaken());
        EXPECT_TRUE(PumpUntil([] { return ConsoleSaysNoDemo(); }, 3000)) << "the console's lines stay";
        EXPECT_EQ(ShownWindowOfStarted(), nullptr);
        EndStandIns();
        ::SetForegroundWindow(frame()->m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == frame()->m_hWnd; }, 3000));
    }
}

}  // namespace
}  // namespace demo_room
