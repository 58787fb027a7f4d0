// Prints how long the hand-off of a file to a running simulator takes: from the call of
// OpenInSimulator to the stand-in simulator's reply (find the window, add the atom, send
// the message, the simulator opens the file and answers), with its parts measured alone.
// Usage: handoff_bench [rounds]; the stand-in is started from the build and ended after.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "launch/process_start_win.h"
#include "launch/simulator.h"

namespace {

constexpr UINT kRoundTripTimeoutMs = 5000;

std::wstring FromUnixPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return path;
}

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    double median, p90, min, max;
};

Figures Measure(int rounds, const std::function<void()>& step) {
    std::vector<double> times;
    times.reserve(static_cast<size_t>(rounds));
    for (int i = 0; i < rounds; ++i) {
        const double start = NowMs();
        step();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 9 / 10], times.front(), times.back()};
}

void Print(const char* what, const Figures& f) {
    std::printf("%-44s median %7.3f ms   p90 %7.3f   min %7.3f   max %7.3f\n", what, f.median, f.p90, f.min, f.max);
}

int CountTopLevelWindows() {
    int n = 0;
    for (HWND hwnd = ::GetTopWindow(nullptr); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) ++n;
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    const std::wstring standIn = FromUnixPath(PEMBORO_BUILD_DIR) + L"\\tools\\vexa\\Vexax64.exe";
    g_simulatorPath = standIn.c_str();
    g_simulatorExe = L"Vexax64.exe";
    g_simulatorLookupDone = true;
    ::SetEnvironmentVariableW(L"CIRCELO_LOG", nullptr);  // the simulator as it runs in a talk: no log

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring circuit = std::wstring(temp) + L"handoff bench.asc";
    {
        HANDLE file = ::CreateFileW(circuit.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const char text[] = "* RC low pass\nV1 in 0 PULSE(0 1 0 1n 1n 5m 10m)\nR1 in out 1k\nC1 out 0 1u\n.tran 20m\n";
        DWORD written = 0;
        ::WriteFile(file, text, sizeof text - 1, &written, nullptr);
        ::CloseHandle(file);
    }

    if (FindSimulatorWindow()) {
        std::fprintf(stderr, "a simulator is running already; end it first\n");
        return 1;
    }
    StartSimulator();
    HWND simulator = nullptr;
    for (int i = 0; i < 200 && !simulator; ++i) {
        ::Sleep(50);
        simulator = FindSimulatorWindow();
    }
    if (!simulator) {
        std::fprintf(stderr, "the stand-in simulator did not come up: %ls\n", standIn.c_str());
        return 1;
    }
    // Let it settle: the first messages pay for its first paint and file-system caches.
    for (int i = 0; i < 20; ++i) OpenInSimulator(circuit.c_str());

    std::printf("Hand-off to a running simulator, %d rounds, %d top-level windows in the z-order\n", rounds,
                CountTopLevelWindows());
    Print("OpenInSimulator (find + atom + message + reply)", Measure(rounds, [&] { OpenInSimulator(circuit.c_str()); }));
    Print("RunInSimulator (find + atom + message + run)", Measure(rounds, [&] { RunInSimulator(circuit.c_str()); }));
    Print("FindSimulatorWindow alone", Measure(rounds, [] { FindSimulatorWindow(); }));
    Print("SendSimulatorMessage alone (open)",
          Measure(rounds, [&] { SendSimulatorMessage(simulator, SimulatorOpenMessage, circuit.c_str()); }));
    Print("GlobalAddAtom + GlobalDeleteAtom", Measure(rounds, [&] { ::GlobalDeleteAtom(::GlobalAddAtomW(circuit.c_str())); }));
    Print("SendMessageTimeout round trip, no work", Measure(rounds, [&] {
              DWORD_PTR reply = 0;
              ::SendMessageTimeoutW(simulator, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kRoundTripTimeoutMs, &reply);
          }));

    DWORD pid = 0;
    ::GetWindowThreadProcessId(simulator, &pid);
    ::PostMessageW(simulator, WM_CLOSE, 0, 0);
    if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        if (::WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) ::TerminateProcess(process, 0);
        ::CloseHandle(process);
    }
    ::DeleteFileW(circuit.c_str());
    return 0;
}
