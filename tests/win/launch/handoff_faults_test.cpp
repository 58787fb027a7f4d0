// Faults of the hand-off as a talk meets them: the system's ghost of a simulator in front of it,
// two clicks before a new simulator has shown its window, clicks on a simulator that still holds
// a message, the path's buffer rewritten during the wait, and the atoms a stopped simulator
// still holds when the presenter ends.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "launch/simulator.h"
#include "launch/target_names.h"
#include "launch_test_support.h"
#include "support/win_test_support.h"

namespace {

using namespace launch_test;
using testing_win::PumpMessages;
using testing_win::PumpUntil;

class HandOffFaults : public SimulatorFixture {};

// The system hides a simulator that took no message for a while behind a window of its own, of
// class "Ghost", titled as the simulator plus " (Not Responding)", and higher in the z-order. The
// file still goes to the simulator by message, and no second simulator starts.
TEST_F(HandOffFaults, TheSystemsGhostWindowIsNotTakenForTheSimulator) {
    const std::wstring first = File(L"first.asc");
    circeloLog_->Set(log_);
    const StandIn running = StartStandIn((L"\"" + first + L"\"").c_str());
    ASSERT_TRUE(running.hwnd);
    ASSERT_TRUE(PumpUntil([&] { return ReadLog(log_).size() == 1; }, 10000));
    const StandIn ghost = StartStandIn(L"-ghost=first.asc");
    ASSERT_TRUE(ghost.hwnd);
    ::SetWindowPos(ghost.hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    wchar_t title[256] = {};
    ::InternalGetWindowText(ghost.hwnd, title, 256);
    ASSERT_TRUE(IsSimulatorTitle(title)) << "the ghost passes the title rule";
    ASSERT_TRUE(PumpUntil([&] { return SimulatorWindowsOfOthers().front() == ghost.hwnd; }, 5000))
        << "the ghost lies above the simulator";

    const std::wstring second = File(L"second.asc");
    const HandOff handOff = OpenInSimulator(second.c_str());
    EXPECT_EQ(handOff.window, running.hwnd);
    EXPECT_EQ(ReadLog(log_), (std::vector<std::wstring>{L"command-line open " + first, L"message open " + second}));
    PumpMessages(300);
    EXPECT_EQ(StandInsStarted().size(), 2u) << "the simulator and the ghost, no third process";
}

// A simulator that takes 3 s to show its window: a second click 1 s after the first waits for
// that window and goes to it by message; one process opens both files.
TEST_F(HandOffFaults, TwoClicksBeforeANewSimulatorShowsItsWindowReachOneSimulator) {
    ScopedEnvironment slowStart(L"CIRCELO_STARTUP_MS", L"3000");
    const std::wstring first = File(L"first.asc");
    const std::wstring second = File(L"second.net");

    const HandOff started = OpenInSimulator(first.c_str());
    EXPECT_NE(started.process, 0u);
    PumpMessages(1000);
    const ULONGLONG before = ::GetTickCount64();
    const HandOff waiting = RunInSimulator(second.c_str());
    EXPECT_LT(::GetTickCount64() - before, 500u) << "the click does not wait for the window";
    EXPECT_EQ(waiting.process, started.process) << "the file waits for the simulator just started";
    EXPECT_EQ(StandInsStarted().size(), 1u);

    EXPECT_EQ(WaitForLog(log_, 2, 15000),
              (std::vector<std::wstring>{L"command-line open " + first, L"message run " + second}));
    PumpMessages(500);
    EXPECT_EQ(StandInsStarted().size(), 1u) << "one simulator opened both files";
}

// A simulator that holds a message (its thread stopped) keeps every later click short: the
// presenter waited once, answers at once from then on, starts nothing, and sends the same file
// only once; another file is sent without waiting. The woken simulator opens each once.
TEST_F(HandOffFaults, ASimulatorThatHoldsAMessageIsNotWaitedForAgain) {
    const StandIn stopped = StartStandIn();
    ASSERT_TRUE(stopped.hwnd);
    const fw::KernelHandle thread = StopThreadOf(stopped);
    ASSERT_TRUE(thread);
    const std::wstring first = File(L"first.asc"), second = File(L"second.asc");

    EXPECT_EQ(SendSimulatorMessage(stopped.hwnd, SimulatorOpenMessage, first.c_str()), SimulatorReply::Held);
    for (const std::wstring* path : {&first, &first, &second, &second}) {
        const ULONGLONG before = ::GetTickCount64();
        EXPECT_EQ(OpenInSimulator(path->c_str()).window, stopped.hwnd);
        EXPECT_LT(::GetTickCount64() - before, 1000u) << "answered at once";
    }
    EXPECT_EQ(StandInsStarted().size(), 1u) << "nothing else started";

    ::ResumeThread(thread.get());
    EXPECT_EQ(WaitForLog(log_, 3), (std::vector<std::wstring>{L"command-line none", L"message open " + first,
                                                               L"message open " + second}));
    PumpMessages(500);
    EXPECT_EQ(ReadLog(log_).size(), 3u) << "each file once";
    EXPECT_TRUE(PumpUntil([&] { return ::GlobalFindAtomW(first.c_str()) == 0 && ::GlobalFindAtomW(second.c_str()) == 0; },
                          5000));
}

// A window of this thread that resolves another deck name whenever a message is sent to it, as
// any handler might while the presenter waits for the simulator.
LRESULT CALLBACK ResolvingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) {
        ResolvePath(L"somewhere\\else.asc");
        return 1;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The path handed over lives in the resolver's buffer; a message handled during the wait for a
// refusing simulator rewrites that buffer, and the new simulator must still get the file clicked.
TEST_F(HandOffFaults, ThePathSurvivesAResolveDuringTheWait) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &ResolvingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PemboroResolvingWindow";
    ::RegisterClassW(&wc);
    const HWND resolving = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                             wc.hInstance, nullptr);
    ASSERT_TRUE(resolving);
    const StandIn refusing = StartStandIn(L"-refuse -slow=1500");
    ASSERT_TRUE(refusing.hwnd);
    wcsncpy_s(g_appDir, kAppDirChars, dir_.c_str(), _TRUNCATE);
    const std::wstring circuit = File(L"clicked.asc");
    const wchar_t* path = ResolvePath(L"clicked.asc");
    ASSERT_EQ(std::wstring(path), circuit);

    // Sent from another thread while the presenter waits: handled inside the wait.
    struct Sender {
        HWND target;
        static DWORD WINAPI Run(void* p) {
            ::Sleep(500);
            DWORD_PTR result = 0;
            ::SendMessageTimeoutW(static_cast<Sender*>(p)->target, WM_APP, 0, 0, SMTO_NORMAL, 5000, &result);
            return 0;
        }
    } sender{resolving};
    const fw::KernelHandle senderThread(::CreateThread(nullptr, 0, &Sender::Run, &sender, 0, nullptr));
    OpenInSimulator(path);
    ::WaitForSingleObject(senderThread.get(), 10000);
    EXPECT_NE(std::wstring(path), circuit) << "the buffer was rewritten during the wait";

    const auto lines = WaitForLog(log_, 3);
    EXPECT_TRUE(Contains(lines, L"message refused open " + circuit));
    EXPECT_TRUE(Contains(lines, L"command-line open " + circuit)) << "the new simulator got the file clicked";
    ::DestroyWindow(resolving);
}

// The presenter ends while a stopped simulator still holds its message: the atom that names the
// file stays in the system's table, and the simulator opens the file when it runs again. The
// presenter is this test program run once more, which hands the file over and ends.
TEST_F(HandOffFaults, AnAtomAStoppedSimulatorHoldsOutlivesThePresenter) {
    wchar_t childWindow[32] = {}, childPath[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"PEMBORO_HANDOFF_CHILD", childWindow, 32) &&
        ::GetEnvironmentVariableW(L"PEMBORO_HANDOFF_PATH", childPath, MAX_PATH)) {
        // The presenter's part: hand over, and end with the message held.
        const HWND simulator = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(childWindow, nullptr, 16)));
        EXPECT_EQ(SendSimulatorMessage(simulator, SimulatorOpenMessage, childPath), SimulatorReply::Held);
        return;
    }
    const StandIn stopped = StartStandIn();
    ASSERT_TRUE(stopped.hwnd);
    const fw::KernelHandle thread = StopThreadOf(stopped);
    ASSERT_TRUE(thread);
    const std::wstring circuit = File(L"held at exit.asc");

    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t window[32];
    swprintf_s(window, L"%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(stopped.hwnd)));
    ScopedEnvironment child(L"PEMBORO_HANDOFF_CHILD", window);
    ScopedEnvironment childFile(L"PEMBORO_HANDOFF_PATH", circuit);
    std::wstring commandLine =
        L"\"" + std::wstring(self) + L"\" --gtest_filter=HandOffFaults.AnAtomAStoppedSimulatorHoldsOutlivesThePresenter";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(::CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    const fw::KernelHandle presenter(info.hProcess);
    const fw::KernelHandle presenterThread(info.hThread);
    ASSERT_EQ(::WaitForSingleObject(presenter.get(), 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(presenter.get(), &exitCode);
    EXPECT_EQ(exitCode, 0u) << "the presenter's part passed";
    EXPECT_NE(::GlobalFindAtomW(circuit.c_str()), 0) << "the atom outlived the presenter";

    ::ResumeThread(thread.get());
    EXPECT_EQ(WaitForLog(log_, 2), (std::vector<std::wstring>{L"command-line none", L"message open " + circuit}))
        << "the woken simulator read the path";
}

}  // namespace
