// Soak run of the view's interaction paths on the real frame and view: page steps (flat out, and
// at a speaker's pace so that the look-ahead finishes between keys), hover moves over hotspots
// and the corner button, and picture-mode entries and exits. Every step is painted before the
// next. Then hand-offs of demo files to the stand-in simulator, each after the simulator has
// idled longer than the system's hung-window time, as between the demos of a talk. Prints the
// process's GDI object count and private bytes before and after each phase, and checks them:
// once the picture cache holds what it keeps, neither the GDI objects nor the memory beyond the
// cache may grow, and every hand-off must reach the one running simulator by message. The run
// ends with status 1 when a check fails.
// Usage: soak [pageSteps [hoverMoves [pictureCycles [pacedSteps [paceMs [handOffs [idleMs]]]]]]]
//        (defaults 10000 10000 1000 300 400 4 6000)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/simulator.h"
#include "launch/target_names.h"
#include "support/win_test_support.h"
#include "render/geometry.h"
#include "pictures/screen_pictures_win.h"
#include "view/view.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    int gdiObjects;
    SIZE_T privateBytes;
    SIZE_T cacheBytes;  // the pictures' ledger: what they hold by design comes and goes with the slides
};

Figures Measure(CPemboroView* view) {
    // The look-ahead finishes first: a picture half made is neither counted nor let go yet.
    if (view->m_pictures) view->m_pictures->cache().WaitUntilIdle();
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
    const SIZE_T cache = view->m_pictures ? view->m_pictures->cache().GetStats().ledger.alive : 0;
    // Wine 8 leaves PrivateUsage at 0; its PagefileUsage is the same commit charge, as on Windows.
    return {testing_win::CountGdiObjects(), pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage, cache};
}

double Percent(double from, double to) { return from > 0 ? (to - from) * 100.0 / from : 0.0; }

// What a phase may add and still count as flat: a few GDI objects that a first use somewhere in
// the system keeps, and heap that the allocator keeps for reuse. A leak of one object or one
// kilobyte per step shows far above these over the thousands of steps of a phase.
constexpr int kGdiSlack = 4;
constexpr double kMemorySlackBytes = 8.0 * 1048576.0;

SIZE_T BeyondCache(const Figures& f) { return f.privateBytes > f.cacheBytes ? f.privateBytes - f.cacheBytes : 0; }

// Prints the phase's figures and whether they stayed flat; false when they grew.
bool Report(const char* phase, int count, double ms, const Figures& a, const Figures& b) {
    const double rest[] = {static_cast<double>(BeyondCache(a)), static_cast<double>(BeyondCache(b))};
    const bool gdiFlat = b.gdiObjects - a.gdiObjects <= kGdiSlack;
    const bool memoryFlat = rest[1] - rest[0] <= kMemorySlackBytes;
    std::printf("%-12s %6d ops %7.0f ms  GDI objects %4d -> %4d (%+.2f %%)  private MB %6.1f -> %6.1f"
                "  of which beyond the picture cache %6.1f -> %6.1f (%+.2f %%)%s%s\n",
                phase, count, ms, a.gdiObjects, b.gdiObjects, Percent(a.gdiObjects, b.gdiObjects),
                a.privateBytes / 1048576.0, b.privateBytes / 1048576.0, rest[0] / 1048576.0, rest[1] / 1048576.0,
                Percent(rest[0], rest[1]), gdiFlat ? "" : "  GDI OBJECTS GREW", memoryFlat ? "" : "  MEMORY GREW");
    std::fflush(stdout);
    return gdiFlat && memoryFlat;
}

// Runs `op` count times; after each the view paints what the step asked for, and queued
// messages and timers are let through for `paceMs` (0: just what is queued).
double Run(HWND view, int count, DWORD paceMs, const std::function<void(int)>& op) {
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i) {
        op(i);
        ::UpdateWindow(view);
        testing_win::PumpMessages(paceMs);
    }
    testing_win::PumpMessages();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Key(HWND view, UINT vk) { ::SendMessageW(view, WM_KEYDOWN, vk, 1); }

std::wstring FromUnixPath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return path;
}

// Lines of the stand-in's log that begin with `prefix`.
int LogLinesStartingWith(const std::wstring& log, const char* prefix) {
    HANDLE file = ::CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    std::string text;
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read) text.append(chunk, read);
    ::CloseHandle(file);
    int lines = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        if (text.compare(start, std::char_traits<char>::length(prefix), prefix) == 0) ++lines;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

// Hands demo files to the stand-in simulator, opens and runs in turn, each after it has idled for
// `idleMs` while the presenter goes on painting and taking messages. True when every file reached
// the one running simulator by message and no second one started.
bool HandOffs(CPemboroView* view, HWND hwnd, int count, DWORD idleMs) {
    const std::wstring standIn = FromUnixPath(PEMBORO_BUILD_DIR) + L"\\tools\\vexa\\Vexax64.exe";
    const std::wstring dir = testing_win::TempDir();
    const std::wstring log = dir + L"\\soak-circelo.log";
    const std::wstring circuit = dir + L"\\soak circuit.asc";
    ::DeleteFileW(log.c_str());
    {
        HANDLE file = ::CreateFileW(circuit.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const char text[] = "* RC low pass\nV1 in 0 PULSE(0 1 0 1n 1n 5m 10m)\nR1 in out 1k\nC1 out 0 1u\n.tran 20m\n";
        DWORD written = 0;
        ::WriteFile(file, text, sizeof text - 1, &written, nullptr);
        ::CloseHandle(file);
    }
    ::SetEnvironmentVariableW(L"CIRCELO_LOG", log.c_str());
    g_simulatorPath = standIn.c_str();
    g_simulatorExe = L"Vexax64.exe";
    g_simulatorLookupDone = true;  // a fallback start would start a second stand-in, and show

    StartSimulator();
    testing_win::PumpUntil([&] { return LogLinesStartingWith(log, "command-line") > 0 && FindSimulatorWindow(); },
                           20000);
    std::vector<double> times;
    const Figures before = Measure(view);
    const auto phaseStart = Clock::now();
    for (int i = 0; i < count; ++i) {
        testing_win::PumpMessages(idleMs);
        const auto start = Clock::now();
        if (i % 2) RunInSimulator(circuit.c_str());
        else OpenInSimulator(circuit.c_str());
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        // The presenter paints again after each hand-off.
        Key(hwnd, i % 2 ? VK_PRIOR : VK_NEXT);
        ::UpdateWindow(hwnd);
    }
    testing_win::PumpMessages(200);
    const Figures after = Measure(view);
    const int byMessage = LogLinesStartingWith(log, "message open") + LogLinesStartingWith(log, "message run");
    const std::vector<DWORD> running = testing_win::ChildProcessesRunning(standIn);
    std::sort(times.begin(), times.end());
    std::printf("hand-offs    %6d ops, each after %lu ms idle: %d by message, %u simulator process(es); "
                "call median %.1f ms, max %.1f ms%s\n",
                count, static_cast<unsigned long>(idleMs), byMessage, static_cast<unsigned>(running.size()),
                times.empty() ? 0.0 : times[times.size() / 2], times.empty() ? 0.0 : times.back(),
                byMessage == count && running.size() == 1 ? "" : "  HAND-OFFS LOST");
    const double phaseMs = std::chrono::duration<double, std::milli>(Clock::now() - phaseStart).count();
    const bool flat = Report("hand-offs", count, phaseMs, before, after);
    testing_win::EndProcesses(running);
    ::SetEnvironmentVariableW(L"CIRCELO_LOG", nullptr);
    ::DeleteFileW(circuit.c_str());
    return flat && byMessage == count && running.size() == 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int pageSteps = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int hoverMoves = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int pictureCycles = argc > 3 ? std::atoi(argv[3]) : 1000;
    const int pacedSteps = argc > 4 ? std::atoi(argv[4]) : 300;
    const DWORD paceMs = argc > 5 ? static_cast<DWORD>(std::atoi(argv[5])) : 400;
    const int handOffs = argc > 6 ? std::atoi(argv[6]) : 4;
    const DWORD idleMs = argc > 7 ? static_cast<DWORD>(std::atoi(argv[7])) : 6000;

    // The demo deck's photos, as the program finds them beside itself.
    wcsncpy_s(g_appDir, testing_win::DistDir().c_str(), _TRUNCATE);
    g_currentPage = 0;
    testing_win::Presenter presenter(1000, 600);
    CPemboroView* view = presenter.view();
    if (!view) return 1;
    const HWND hwnd = presenter.viewHwnd();
    // The pointer rests over the view, so the hover timer keeps the highlights it sees.
    POINT park{500, 300};
    ::ClientToScreen(hwnd, &park);
    ::SetCursorPos(park.x, park.y);
    ::UpdateWindow(hwnd);

    // Hover targets on the waveforms slide: two hotspots side by side, the corner button, nothing.
    constexpr int kWaveforms = 7;
    auto centre = [&](int page, int spot) {
        const Hotspot& h = g_slideDeck[page].pSpots[spot];
        const Square sq = HotspotSquare(ToSlideRect(view->m_rcSlide), h.x, h.y);
        return MAKELPARAM(sq.x + sq.side / 2, sq.y + sq.side / 2);
    };
    auto hoverPath = [&]() {
        const LPARAM path[] = {centre(kWaveforms, 6), centre(kWaveforms, 6) + 1, centre(kWaveforms, 7),
                               MAKELPARAM(991, 591), MAKELPARAM(1000, 600), centre(kWaveforms, 0),
                               MAKELPARAM(500, 300), MAKELPARAM(990, 590)};
        return std::vector<LPARAM>(std::begin(path), std::end(path));
    };
    const Hotspot* title = g_slideDeck[0].pSpots;
    const int titleSpots = g_slideDeck[0].nSpots;

    auto pageStep = [&](int i) {
        // Through the deck and back, with a Ctrl jump and a wheel notch now and then.
        const int lap = i % 140;
        if (lap == 139) {
            BYTE keys[256] = {};
            keys[VK_CONTROL] = 0x80;
            ::SetKeyboardState(keys);
            Key(hwnd, VK_PRIOR);
            keys[VK_CONTROL] = 0;
            ::SetKeyboardState(keys);
        } else if (i % 7 == 3) {
            ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, lap < 69 ? -120 : 120), 0);
        } else {
            Key(hwnd, lap < 69 ? VK_NEXT : VK_PRIOR);
        }
    };
    std::vector<LPARAM> path;
    auto hoverMove = [&](int i) { ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, path[static_cast<size_t>(i) % path.size()]); };
    auto pictureCycle = [&](int i) {
        // Enter by a photo hotspot, step through neighbours by keys and wheel, leave by Escape or a page key.
        view->EnterPictureMode(&title[i % titleSpots]);
        ::UpdateWindow(hwnd);
        Key(hwnd, VK_RIGHT);
        ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
        ::UpdateWindow(hwnd);
        if (i % 2) ::SendMessageW(hwnd, WM_CHAR, 27, 1);
        else Key(hwnd, VK_PRIOR);
        ::UpdateWindow(hwnd);
    };

    // Warm up every path once: font caches and first-use allocations are not leaks.
    pageStep(0);
    g_currentPage = kWaveforms;
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    path = hoverPath();
    Run(hwnd, static_cast<int>(path.size()) * 2, 0, hoverMove);
    g_currentPage = 0;
    pictureCycle(0);
    pictureCycle(1);
    testing_win::PumpMessages(50);

    // A lap through the deck fills the picture cache to what it keeps.
    Run(hwnd, 140, 0, pageStep);

    std::printf("soak: %d page steps flat out, %d at %lu ms each, %d hover moves, %d picture-mode cycles, "
                "%d hand-offs after %lu ms idle (view 1000 x 600)\n",
                pageSteps, pacedSteps, static_cast<unsigned long>(paceMs), hoverMoves, pictureCycles, handOffs,
                static_cast<unsigned long>(idleMs));
    bool flat = true;
    const Figures start = Measure(view);

    g_currentPage = 0;
    Figures before = Measure(view);
    double ms = Run(hwnd, pageSteps, 0, pageStep);
    double total = ms;
    Figures after = Measure(view);
    flat = Report("page steps", pageSteps, ms, before, after) && flat;

    g_currentPage = 0;
    before = Measure(view);
    ms = Run(hwnd, pacedSteps, paceMs, pageStep);
    total += ms;
    after = Measure(view);
    flat = Report("paced steps", pacedSteps, ms, before, after) && flat;

    g_currentPage = kWaveforms;
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    before = Measure(view);
    ms = Run(hwnd, hoverMoves, 0, hoverMove);
    total += ms;
    after = Measure(view);
    flat = Report("hover moves", hoverMoves, ms, before, after) && flat;

    g_currentPage = 0;
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    before = Measure(view);
    ms = Run(hwnd, pictureCycles, 0, pictureCycle);
    total += ms;
    after = Measure(view);
    flat = Report("picture mode", pictureCycles, ms, before, after) && flat;

    g_currentPage = 0;
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    if (handOffs > 0) flat = HandOffs(view, hwnd, handOffs, idleMs) && flat;

    const Figures end = Measure(view);
    flat = Report("whole run", pageSteps + pacedSteps + hoverMoves + pictureCycles, total, start, end) && flat;
    std::printf("soak: %s\n", flat ? "flat" : "FAILED: figures grew or hand-offs were lost (above)");
    return flat ? 0 : 1;
}
