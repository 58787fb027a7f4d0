// The simulator bridge against real windows, atoms, registry entries and processes:
// the stand-in simulator answers messages and logs what reaches it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "launch/simulator.h"
#include "launch/simulator_rules.h"
#include "launch_test_support.h"
#include "support/win_test_support.h"

namespace {

using namespace launch_test;
using testing_win::PumpMessages;
using testing_win::PumpUntil;

// A top-level window of this test process with a given title, hidden unless shown.
class TitledWindow {
public:
    explicit TitledWindow(const wchar_t* title, bool visible = false)
        : hwnd_(::CreateWindowExW(0, L"STATIC", title, WS_POPUP, 10, 10, 120, 40, nullptr, nullptr, nullptr, nullptr)) {
        if (visible) ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    }
    ~TitledWindow() { ::DestroyWindow(hwnd_); }
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

bool IsAbove(HWND upper, HWND lower) {
    for (HWND hwnd = ::GetWindow(upper, GW_HWNDNEXT); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd == lower) return true;
    }
    return false;
}

TEST(SimulatorDefaults, FollowTheNativeArchitecture) {
    // Wine's 64-bit prefix is an x64 machine.
    EXPECT_EQ(NativeProcessorArchitecture(), PROCESSOR_ARCHITECTURE_AMD64);
    // Every test puts the globals back, so they still hold what static initialisation chose.
    EXPECT_STREQ(g_simulatorPath, L"C:\\Program Files\\Quillmere\\CirceloVexa\\Vexax64.exe");
    EXPECT_STREQ(g_simulatorExe, L"Vexax64.exe");
    EXPECT_FALSE(g_simulatorLookupDone);
}

class SimulatorBridge : public SimulatorFixture {};

// --- Finding the window ------------------------------------------------------------------

TEST_F(SimulatorBridge, FindsOnlyTitlesThatAreThePrefixOrThePrefixWithSpaceAndHyphen) {
    {
        TitledWindow a(L"Circelo Vexa2", true), b(L"Circelo Vexa-x.asc", true), c(L"Circelo Vexa x.asc", true),
            d(L"circelo Vexa", true), e(L"Circelo Vex", true);
        EXPECT_EQ(FindSimulatorWindow(), nullptr);
    }
    for (const wchar_t* title : {L"Circelo Vexa", L"Circelo Vexa - curvetrace.asc"}) {
        TitledWindow hidden(title);  // never shown: a simulator still starting up
        ASSERT_FALSE(::IsWindowVisible(hidden.get()));
        EXPECT_EQ(FindSimulatorWindow(), hidden.get());
    }
}

TEST_F(SimulatorBridge, TheHigherOfTwoSimulatorWindowsIsTakenAndRaised) {
    TitledWindow lower(L"Circelo Vexa - a.asc", true);
    TitledWindow higher(L"Circelo Vexa", true);
    ::SetWindowPos(higher.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    TitledWindow other(L"Another program", true);
    ::SetWindowPos(other.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    ASSERT_TRUE(IsAbove(other.get(), higher.get()));

    EXPECT_EQ(FindSimulatorWindow(), higher.get());
    EXPECT_TRUE(IsAbove(higher.get(), other.get()));  // raised to the top, without activation
    EXPECT_NE(::GetActiveWindow(), higher.get());

    ::SetWindowPos(lower.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    EXPECT_EQ(FindSimulatorWindow(), lower.get());
}

// A thread of the presenter's own that owns a hidden top-level window and never handles a
// message (as a worker's COM apartment does on Windows) does not hold the search: a title asked
// of it by message would never come. The search runs on a thread of its own here, so that a
// search that waits fails the test instead of hanging it; the silent thread is let go either way.
TEST_F(SimulatorBridge, ASilentThreadOfThisProcessDoesNotHoldTheSearch) {
    // The simulator's window lies below the silent thread's, which that thread puts on top itself:
    // moving it from here would wait for the silent thread too.
    TitledWindow simulator(L"Circelo Vexa - below.asc");
    struct Silent {
        fw::KernelHandle ready{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        fw::KernelHandle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        HWND hwnd = nullptr;
    } silent;
    const fw::KernelHandle silentThread(::CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
            auto* s = static_cast<Silent*>(param);
            s->hwnd = ::CreateWindowExW(0, L"STATIC", L"Circelo Vexa is not this", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
            ::SetWindowPos(s->hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
            ::SetEvent(s->ready.get());
            ::WaitForSingleObject(s->release.get(), INFINITE);  // no message is handled meanwhile
            ::DestroyWindow(s->hwnd);
            return 0;
        },
        &silent, 0, nullptr));
    ASSERT_TRUE(silentThread);
    // However the test ends, the silent thread is let go and has ended before `silent` goes.
    struct LetGo {
        const Silent& silent;
        HANDLE thread;
        ~LetGo() {
            ::SetEvent(silent.release.get());
            ::WaitForSingleObject(thread, 10000);
        }
    } letGo{silent, silentThread.get()};
    ASSERT_EQ(::WaitForSingleObject(silent.ready.get(), 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(silent.hwnd);
    EXPECT_TRUE(IsAbove(silent.hwnd, simulator.get()));

    struct Search {
        HWND found = nullptr;
    } search;
    const fw::KernelHandle searchThread(::CreateThread(
        nullptr, 0,
        [](void* param) -> DWORD {
            static_cast<Search*>(param)->found = FindSimulatorWindow();
            return 0;
        },
        &search, 0, nullptr));
    ASSERT_TRUE(searchThread);
    const DWORD waited = ::WaitForSingleObject(searchThread.get(), 10000);
    ::SetEvent(silent.release.get());
    ::WaitForSingleObject(searchThread.get(), 10000);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the search waited on the silent thread";
    EXPECT_EQ(search.found, simulator.get()) << "the search went on past the silent thread's window";
}

TEST_F(SimulatorBridge, OfTwoRunningSimulatorsTheHigherGetsTheFile) {
    const std::wstring firstLog = dir_ + L"\\first.log", secondLog = dir_ + L"\\second.log";
    circeloLog_->Set(firstLog);
    const StandIn first = StartStandIn(L"", SW_HIDE);
    circeloLog_->Set(secondLog);
    const StandIn second = StartStandIn(L"", SW_HIDE);
    ASSERT_TRUE(first.hwnd && second.hwnd);
    const std::wstring circuit = File(L"a.asc");
    // Both simulators keep their windows hidden (a hidden simulator window is taken like a
    // shown one): under Wine the display restacks shown windows of other processes late, on
    // its own time, which would upset the order arranged here. A window of this test on top
    // tells when the search's raise of the simulator it took, sent without waiting, has landed.
    TitledWindow marker(L"Another program");
    const auto arrange = [&](HWND upper, HWND lower) {
        for (HWND hwnd : {lower, upper, marker.get()})
            ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        const bool arranged = IsAbove(marker.get(), upper) && IsAbove(upper, lower);
        if (!arranged) {
            std::wstring order;
            for (HWND hwnd = ::GetTopWindow(nullptr); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
                if (hwnd == first.hwnd) order += L" first";
                else if (hwnd == second.hwnd) order += L" second";
                else if (hwnd == marker.get()) order += L" marker";
            }
            ADD_FAILURE() << "z-order:" << testing::PrintToString(order);
        }
        return arranged;
    };

    ASSERT_TRUE(arrange(first.hwnd, second.hwnd));
    OpenInSimulator(circuit.c_str());
    EXPECT_TRUE(PumpUntil([&] { return IsAbove(first.hwnd, marker.get()); }, 5000)) << "the first was raised";
    ASSERT_TRUE(arrange(second.hwnd, first.hwnd));
    RunInSimulator(circuit.c_str());
    EXPECT_TRUE(PumpUntil([&] { return IsAbove(second.hwnd, marker.get()); }, 5000)) << "the second was raised";

    EXPECT_EQ(WaitForLog(firstLog, 2), (std::vector<std::wstring>{L"command-line none", L"message open " + circuit}));
    EXPECT_EQ(WaitForLog(secondLog, 2), (std::vector<std::wstring>{L"command-line none", L"message run " + circuit}));
}

// --- The association lookup ----------------------------------------------------------------

TEST_F(SimulatorBridge, AssociationLookupReadsTheQuotedPathBeforeTheQuotedPlaceholder) {
    const std::wstring longPath = L"C:\\" + std::wstring(600, L'p') + L"\\Sim.exe";
    struct Case {
        const char* what;
        std::wstring command;
        const wchar_t* path;  // null: the defaults stay
        const wchar_t* exe;
    } const cases[] = {
        {"quoted path and placeholder", L"\"C:\\Program Files\\Circelo\\Vexa64.exe\" \"%1\"",
         L"C:\\Program Files\\Circelo\\Vexa64.exe", L"Vexa64.exe"},
        {"quoted options after the path", L"\"C:\\Program Files\\Circelo\\Vexa64.exe\" -opt \"x\" \"%1\"",
         L"C:\\Program Files\\Circelo\\Vexa64.exe", L"Vexa64.exe"},
        {"unquoted placeholder", L"\"C:\\Program Files\\Circelo\\Vexa64.exe\" %1", nullptr, nullptr},
        {"one quotation mark", L"C:\\Program Files\\Circelo\\Vexa64.exe\" \"%1\"", nullptr, nullptr},
        {"no backslash", L"\"Vexa64.exe\" \"%1\"", nullptr, nullptr},
        {"over-long value", L"\"" + longPath + L"\" \"%1\"", nullptr, nullptr},
    };
    ClassesDefault type(L".asc", std::wstring(L"PemboroTest.Circuit"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_simulatorPath = L"default path";
        g_simulatorExe = L"default exe";
        g_simulatorLookupDone = false;
        ClassesDefault command(L"PemboroTest.Circuit\\shell\\open\\command", c.command);
        LookupSimulatorAssociation();
        EXPECT_FALSE(g_simulatorLookupDone);  // start-up's own lookup is not the lazy one
        if (!c.path) {
            EXPECT_STREQ(g_simulatorPath, L"default path");
            EXPECT_STREQ(g_simulatorExe, L"default exe");
            continue;
        }
        EXPECT_EQ(g_simulatorPath, g_simulatorPathBuf);
        EXPECT_EQ(g_simulatorExe, g_simulatorExeBuf);
        EXPECT_STREQ(g_simulatorPath, c.path);
        EXPECT_STREQ(g_simulatorExe, c.exe);
    }
}

// The command is read into 512 characters, terminator included: a value that fills them
// without a terminator has no known end and is refused; one that ends in time is read.
// A file-type name too long to take the key suffix stops the lookup.
TEST_F(SimulatorBridge, AssociationLookupKeepsToItsBuffers) {
    ClassesDefault type(L".asc", std::wstring(L"PemboroTest.Circuit"));
    std::wstring command = L"\"C:\\Sim\\Vexa64.exe\" \"%1\"";
    command.append(511 - command.size(), L' ');
    struct Case {
        const char* what;
        std::wstring stored;  // the value's characters, stored as they are
        bool read;
    } const cases[] = {
        {"511 characters and the terminator", command + L'\0', true},
        {"511 characters without terminator", command, true},
        {"512 characters without terminator", command + L' ', false},
        {"512 characters and the terminator", command + L" " + L'\0', false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A character after the data keeps the registry from adding a terminator of its own.
        const std::wstring data = c.stored + L'X';
        ClassesDefault value(L"PemboroTest.Circuit\\shell\\open\\command", data.data(),
                             static_cast<DWORD>(c.stored.size() * sizeof(wchar_t)));
        g_simulatorPath = L"default path";
        g_simulatorExe = L"default exe";
        LookupSimulatorAssociation();
        EXPECT_STREQ(g_simulatorPath, c.read ? L"C:\\Sim\\Vexa64.exe" : L"default path");
        EXPECT_STREQ(g_simulatorExe, c.read ? L"Vexa64.exe" : L"default exe");
    }

    for (const size_t typeLength : {1010u, 1023u, 1500u}) {
        SCOPED_TRACE(typeLength);
        const std::wstring longType(typeLength, L'T');
        ClassesDefault longTypeValue(L".asc", longType);
        g_simulatorPath = L"default path";
        g_simulatorExe = L"default exe";
        LookupSimulatorAssociation();
        EXPECT_STREQ(g_simulatorPath, L"default path");
        EXPECT_STREQ(g_simulatorExe, L"default exe");
    }
}

TEST_F(SimulatorBridge, NoAssociationKeepsTheDefaults) {
    g_simulatorPath = L"default path";
    g_simulatorExe = L"default exe";
    ClassesDefault type(L".asc", std::wstring(L"PemboroTest.Unregistered"));
    LookupSimulatorAssociation();
    EXPECT_STREQ(g_simulatorPath, L"default path");
    EXPECT_STREQ(g_simulatorExe, L"default exe");
}

// --- Handing files over ------------------------------------------------------------------

TEST_F(SimulatorBridge, ARunningSimulatorGetsTheFileByMessage) {
    const StandIn running = StartStandIn();
    ASSERT_TRUE(running.hwnd);
    const std::wstring circuit = File(L"circuit with spaces.asc");
    const std::wstring netlist = File(L"amp.net");

    OpenInSimulator(circuit.c_str());
    RunInSimulator(netlist.c_str());
    OpenInSimulator(netlist.c_str());

    const auto lines = WaitForLog(log_, 4);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"command-line none", L"message open " + circuit,
                                                L"message run " + netlist, L"message open " + netlist}));
    EXPECT_EQ(StandInsStarted().size(), 1u);
}

TEST_F(SimulatorBridge, SendReportsWhetherTheWindowAccepted) {
    const std::wstring circuit = File(L"a.asc");
    {
        const StandIn accepting = StartStandIn();
        ASSERT_TRUE(accepting.hwnd);
        EXPECT_EQ(SendSimulatorMessage(accepting.hwnd, SimulatorOpenMessage, circuit.c_str()), SimulatorReply::Accepted);
        EXPECT_EQ(SendSimulatorMessage(accepting.hwnd, SimulatorRunMessage, circuit.c_str()), SimulatorReply::Accepted);
        EXPECT_EQ(SendSimulatorMessage(accepting.hwnd, WM_APP + 11, circuit.c_str()), SimulatorReply::Refused);
    }
    EndStandIns();
    const StandIn refusing = StartStandIn(L"-refuse");
    ASSERT_TRUE(refusing.hwnd);
    EXPECT_EQ(SendSimulatorMessage(refusing.hwnd, SimulatorOpenMessage, circuit.c_str()), SimulatorReply::Refused);
    // Every atom made for a message is gone again.
    EXPECT_EQ(::GlobalFindAtomW(circuit.c_str()), 0);
}

TEST_F(SimulatorBridge, ARefusingSimulatorLeadsToANewProcessWithTheFile) {
    const StandIn refusing = StartStandIn(L"-refuse");
    ASSERT_TRUE(refusing.hwnd);
    const std::wstring circuit = File(L"NE555.asc");
    OpenInSimulator(circuit.c_str());
    auto lines = WaitForLog(log_, 3);
    EXPECT_TRUE(Contains(lines, L"message refused open " + circuit));
    EXPECT_TRUE(Contains(lines, L"command-line open " + circuit));
    EndStandIns();

    const StandIn refusingAgain = StartStandIn(L"-refuse");
    ASSERT_TRUE(refusingAgain.hwnd);
    RunInSimulator(circuit.c_str());
    lines = WaitForLog(log_, 6);
    EXPECT_TRUE(Contains(lines, L"message refused run " + circuit));
    EXPECT_TRUE(Contains(lines, L"command-line run " + circuit));
}

TEST_F(SimulatorBridge, WithNoneRunningACircuitFileStartsOneSimulatorAtOnce) {
    const std::wstring circuit = File(L"curvetrace.asc");
    OpenInSimulator(circuit.c_str());
    // Started synchronously: whatever was started is there when the call returns.
    EXPECT_EQ(StandInsStarted().size(), 1u);
    const auto lines = WaitForLog(log_, 1);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"command-line open " + circuit}));  // no poll, no message
}

TEST_F(SimulatorBridge, WithNoneRunningANetlistStartsOneSimulatorAndThenMessagesIt) {
    const std::wstring netlist = File(L"filter.sp");
    OpenInSimulator(netlist.c_str());
    // The poll found the new window and the message was answered before the call returned.
    EXPECT_EQ(ReadLog(log_),
              (std::vector<std::wstring>{L"command-line open " + netlist, L"message open " + netlist}));
    EXPECT_EQ(StandInsStarted().size(), 1u);
}

TEST_F(SimulatorBridge, WithNoneRunningARunStartsTheSimulatorWithRunSwitch) {
    const std::wstring circuit = File(L"astable.asc");
    RunInSimulator(circuit.c_str());
    EXPECT_EQ(StandInsStarted().size(), 1u);
    EXPECT_EQ(WaitForLog(log_, 1), (std::vector<std::wstring>{L"command-line run " + circuit}));
}

// --- The lazy lookup ------------------------------------------------------------------------

TEST_F(SimulatorBridge, TheFirstFallbackLooksUpTheAssociationOnceAndOnlyOnce) {
    const std::wstring circuit = File(L"astable.asc");
    g_simulatorPath = L"C:\\nowhere\\Vexax64.exe";  // nothing to start there
    g_simulatorLookupDone = false;
    ClassesDefault type(L".asc", std::wstring(L"PemboroTest.Circuit"));
    auto command = std::make_unique<ClassesDefault>(L"PemboroTest.Circuit\\shell\\open\\command",
                                                    L"\"" + standIn_ + L"\" \"%1\"");

    RunInSimulator(circuit.c_str());
    EXPECT_TRUE(g_simulatorLookupDone);
    EXPECT_STREQ(g_simulatorPath, standIn_.c_str());
    EXPECT_EQ(WaitForLog(log_, 1), (std::vector<std::wstring>{L"command-line run " + circuit}));
    EndStandIns();

    // Registered anew after the first fallback: no longer looked at.
    command.reset();
    ClassesDefault moved(L"PemboroTest.Circuit\\shell\\open\\command", std::wstring(L"\"C:\\elsewhere\\Sim.exe\" \"%1\""));
    RunInSimulator(circuit.c_str());
    EXPECT_STREQ(g_simulatorPath, standIn_.c_str());
    EXPECT_EQ(WaitForLog(log_, 2).size(), 2u);
}

TEST_F(SimulatorBridge, TheNetlistStartUsesThePointersAsTheyStandAndTheFallbackLooksUp) {
    const std::wstring netlist = File(L"filter.net");
    g_simulatorPath = L"C:\\nowhere\\Vexax64.exe";
    g_simulatorLookupDone = false;
    ClassesDefault type(L".asc", std::wstring(L"PemboroTest.Circuit"));
    ClassesDefault command(L"PemboroTest.Circuit\\shell\\open\\command", L"\"" + standIn_ + L"\" \"%1\"");

    OpenInSimulator(netlist.c_str());  // the first start fails, eleven polls find nothing
    EXPECT_TRUE(g_simulatorLookupDone);
    EXPECT_EQ(StandInsStarted().size(), 1u);
    EXPECT_EQ(WaitForLog(log_, 1), (std::vector<std::wstring>{L"command-line open " + netlist}));
}

TEST_F(SimulatorBridge, AFallbackWithNoAssociationStillSetsTheFlag) {
    const std::wstring circuit = File(L"a.asc");
    g_simulatorLookupDone = false;
    ClassesDefault type(L".asc", std::wstring(L"PemboroTest.Unregistered"));
    OpenInSimulator(circuit.c_str());
    EXPECT_TRUE(g_simulatorLookupDone);
    EXPECT_STREQ(g_simulatorPath, standIn_.c_str());
    EXPECT_EQ(WaitForLog(log_, 1), (std::vector<std::wstring>{L"command-line open " + circuit}));
}

// --- Paths with blanks, and paths too long for an atom --------------------------------------

// Each argument reaches the started program whole, blanks and all.
TEST_F(SimulatorBridge, StartedProgramsGetEachArgumentWhole) {
    const std::wstring recorderLog = dir_ + L"\\recorder.log";
    ScopedEnvironment recorder(L"RECORDER_LOG", recorderLog);
    const std::wstring recorderPath = RecorderPath();
    g_simulatorPath = recorderPath.c_str();
    const std::wstring folder = dir_ + L"\\Demo  deck";  // two blanks in a row
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring circuit = folder + L"\\my circuit.asc";
    WriteTextFile(circuit);

    OpenInSimulator(circuit.c_str());
    auto lines = WaitForLog(recorderLog, 1);
    RunInSimulator(circuit.c_str());
    lines = WaitForLog(recorderLog, 2);
    StartSimulator();
    lines = WaitForLog(recorderLog, 3);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], L"<Vexax64.exe> <" + circuit + L">");
    EXPECT_EQ(lines[1], L"<Vexax64.exe> <" + circuit + L"> <-run>");
    EXPECT_EQ(lines[2], L"<Vexax64.exe>");
}

// A global atom holds at most 255 characters: a longer path goes to a new simulator on its
// command line (with "-run" for a run), and the running one is not sent an empty atom.
TEST_F(SimulatorBridge, APathLongerThanAnAtomGoesToANewProcess) {
    const struct {
        const char* what;
        HandOff (*hand)(const wchar_t*);
        const wchar_t* started;
    } cases[] = {
        {"open", &OpenInSimulator, L"command-line open "},
        {"run", &RunInSimulator, L"command-line run "},
    };
    int round = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring runningLog = dir_ + L"\\running" + std::to_wstring(++round) + L".log";
        const std::wstring newLog = dir_ + L"\\new" + std::to_wstring(round) + L".log";
        circeloLog_->Set(runningLog);
        const StandIn running = StartStandIn();
        ASSERT_TRUE(running.hwnd);
        ASSERT_EQ(WaitForLog(runningLog, 1).size(), 1u);
        circeloLog_->Set(newLog);
        const std::wstring longPath = dir_ + L"\\" + std::wstring(280 - dir_.size(), L'n') + L".asc";
        ASSERT_GT(longPath.size(), 255u);

        c.hand(longPath.c_str());
        EXPECT_EQ(WaitForLog(newLog, 1), (std::vector<std::wstring>{c.started + longPath}));
        EXPECT_EQ(ReadLog(runningLog), (std::vector<std::wstring>{L"command-line none"}));
        EndStandIns();
    }
}

// A run has no poll, whatever the file: with no simulator running, a netlist to run starts one
// at once with the file and "-run", and the call does not wait for its window.
TEST_F(SimulatorBridge, WithNoneRunningARunOfANetlistStartsAtOnceWithoutPolling) {
    const std::wstring netlist = File(L"amp.net");
    RunInSimulator(netlist.c_str());
    EXPECT_TRUE(SimulatorWindowsOfOthers().empty()) << "returned before the new simulator was up";
    EXPECT_EQ(StandInsStarted().size(), 1u);
    EXPECT_EQ(WaitForLog(log_, 1), (std::vector<std::wstring>{L"command-line run " + netlist}));
    ASSERT_TRUE(PumpUntil([] { return !SimulatorWindowsOfOthers().empty(); }, 20000));
    PumpMessages(300);
    EXPECT_EQ(ReadLog(log_), (std::vector<std::wstring>{L"command-line run " + netlist})) << "no message after it";
}

}  // namespace
