// Handing files to a running simulator the way a talk does it: after long idle gaps, to a
// simulator that works on a file for a while (answering its window's messages meanwhile, or
// not), and to one that has stopped. These tests wait out the system's 5 s hung-window time,
// so each takes several seconds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/simulator.h"
#include "launch_test_support.h"
#include "support/win_test_support.h"

namespace {

using namespace launch_test;
using testing_win::PumpMessages;
using testing_win::PumpUntil;

// Longer than the system's hung-window time: a thread that has taken no message for this long
// and is then woken looks hung for a moment.
constexpr DWORD kIdleMs = 6000;

class SimulatorHandOff : public SimulatorFixture {
protected:
    // What the call took, in milliseconds.
    template <class Call>
    static ULONGLONG Timed(Call call) {
        const ULONGLONG start = ::GetTickCount64();
        call();
        return ::GetTickCount64() - start;
    }
};

// The speaker talks for a while between hand-offs: each file still goes to the running simulator
// by message, and no second simulator starts.
TEST_F(SimulatorHandOff, ASimulatorIdleForLongerThanTheHungTimeGetsOpenAndRunByMessage) {
    const StandIn running = StartStandIn();
    ASSERT_TRUE(running.hwnd);
    const std::wstring newLog = dir_ + L"\\new.log";
    circeloLog_->Set(newLog);
    const std::wstring circuit = File(L"idle.asc");

    ::Sleep(kIdleMs);
    OpenInSimulator(circuit.c_str());
    ::Sleep(kIdleMs);
    RunInSimulator(circuit.c_str());

    EXPECT_EQ(ReadLog(log_),
              (std::vector<std::wstring>{L"command-line none", L"message open " + circuit, L"message run " + circuit}))
        << "answered before each call returned";
    EXPECT_TRUE(ReadLog(newLog).empty()) << "no second simulator";
    EXPECT_EQ(StandInsStarted().size(), 1u);
}

// A simulator that takes longer than the hung-window time over a file but keeps handling its
// window's messages is waited for: it gets the file once, reads the path when it gets round to
// it, and no second simulator is started.
TEST_F(SimulatorHandOff, ASlowSimulatorThatStillRespondsIsWaitedForAndGetsTheFileOnce) {
    constexpr DWORD kSlowMs = 7000;
    const StandIn slow = StartStandIn(L"-slow=7000");
    ASSERT_TRUE(slow.hwnd);
    const std::wstring newLog = dir_ + L"\\new.log";
    circeloLog_->Set(newLog);
    const std::wstring circuit = File(L"slow.asc");

    const ULONGLONG took = Timed([&] { OpenInSimulator(circuit.c_str()); });
    EXPECT_GE(took, kSlowMs - 100) << "the call waited for the simulator's work";
    EXPECT_EQ(ReadLog(log_), (std::vector<std::wstring>{L"command-line none", L"message open " + circuit}))
        << "answered before the call returned, with the path read after its work";
    EXPECT_EQ(::GlobalFindAtomW(circuit.c_str()), 0);
    PumpMessages(500);
    EXPECT_TRUE(ReadLog(newLog).empty()) << "no second simulator";
    EXPECT_EQ(StandInsStarted().size(), 1u);
}

// A simulator that works inside its handler without handling any message keeps the file: the
// presenter stops waiting once the system says the window hangs, starts nothing else, and keeps
// the path readable until the simulator answers; the file is opened once, when it is done.
TEST_F(SimulatorHandOff, ASimulatorThatBlocksInItsHandlerOpensTheFileOnceAndThePresenterGoesOn) {
    constexpr DWORD kBlockMs = 8000;
    const StandIn blocking = StartStandIn(L"-block=8000");
    ASSERT_TRUE(blocking.hwnd);
    const std::wstring newLog = dir_ + L"\\new.log";
    circeloLog_->Set(newLog);
    const std::wstring circuit = File(L"blocking.asc");

    const ULONGLONG took = Timed([&] { OpenInSimulator(circuit.c_str()); });
    EXPECT_GE(took, kSimulatorPatienceMs) << "the simulator had its time before the system was asked";
    EXPECT_LT(took, 6500u) << "the presenter went on once the window counted as hung";
    EXPECT_LT(took, kBlockMs) << "the presenter did not wait for the answer";
    EXPECT_NE(::GlobalFindAtomW(circuit.c_str()), 0) << "kept for the simulator that has not answered";

    EXPECT_TRUE(PumpUntil([&] { return ::GlobalFindAtomW(circuit.c_str()) == 0; }, kBlockMs + 10000))
        << "the atom went with the answer";
    EXPECT_EQ(ReadLog(log_), (std::vector<std::wstring>{L"command-line none", L"message open " + circuit}))
        << "opened once, when the simulator was done";
    EXPECT_TRUE(ReadLog(newLog).empty()) << "no second simulator";
    EXPECT_EQ(StandInsStarted().size(), 1u);
}

// A simulator whose thread has stopped altogether is the same case seen from outside: the
// presenter goes on, nothing else starts, and the simulator still gets the file once it runs.
TEST_F(SimulatorHandOff, AStoppedSimulatorKeepsTheFileAndGetsItWhenItRunsAgain) {
    const StandIn stopped = StartStandIn();
    ASSERT_TRUE(stopped.hwnd);
    const fw::KernelHandle thread = StopThreadOf(stopped);
    ASSERT_TRUE(thread);
    const std::wstring newLog = dir_ + L"\\new.log";
    circeloLog_->Set(newLog);
    const std::wstring circuit = File(L"stopped.asc");

    EXPECT_EQ(SendSimulatorMessage(stopped.hwnd, SimulatorRunMessage, circuit.c_str()), SimulatorReply::Held);
    const ULONGLONG took = Timed([&] { OpenInSimulator(circuit.c_str()); });
    EXPECT_LT(took, kSimulatorPatienceMs + kSimulatorHungTimeoutMs + 1500) << "the presenter went on";
    EXPECT_NE(::GlobalFindAtomW(circuit.c_str()), 0) << "kept for the simulator that has not answered";
    EXPECT_TRUE(ReadLog(newLog).empty()) << "no second simulator";
    EXPECT_EQ(StandInsStarted().size(), 1u);

    ::ResumeThread(thread.get());
    EXPECT_EQ(WaitForLog(log_, 3), (std::vector<std::wstring>{L"command-line none", L"message run " + circuit,
                                                               L"message open " + circuit}))
        << "the woken simulator read the path of each message it held";
    EXPECT_TRUE(PumpUntil([&] { return ::GlobalFindAtomW(circuit.c_str()) == 0; }, 10000))
        << "the atoms went with the answers";
}

}  // namespace
