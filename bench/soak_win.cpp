// Soak run of the view's interaction paths on the real frame and view: page steps (flat out, and
// at a speaker's pace so that the look-ahead finishes between keys), hover moves over hotspots
// and the corner button, and picture-mode entries and exits. Every step is painted before the
// next. Prints the process's GDI object count and private bytes before and after each phase;
// both should stay flat once the picture cache holds what it keeps.
// Usage: soak [pageSteps [hoverMoves [pictureCycles [pacedSteps [paceMs]]]]]
//        (defaults 10000 10000 1000 300 400)
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <vector>

#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/target_names.h"
#include "support/win_test_support.h"
#include "view/geometry.h"
#include "view/screen_pictures_win.h"
#include "view/view.h"
#include "view/geometry.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    int gdiObjects;
    SIZE_T privateBytes;
    SIZE_T cacheBytes;  // what the picture cache holds by design: it comes and goes with the slides
};

Figures Measure(CPemboroView* view) {
    // The look-ahead finishes first: a picture half made is neither counted nor let go yet.
    if (view->m_pictures) view->m_pictures->cache().WaitUntilIdle();
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
    const SIZE_T cache = view->m_pictures ? view->m_pictures->cache().GetStats().bytes : 0;
    // Wine 8 leaves PrivateUsage at 0; its PagefileUsage is the same commit charge, as on Windows.
    return {testing_win::CountGdiObjects(), pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage, cache};
}

double Percent(double from, double to) { return from > 0 ? (to - from) * 100.0 / from : 0.0; }

void Report(const char* phase, int count, double ms, const Figures& a, const Figures& b) {
    const double rest[] = {static_cast<double>(a.privateBytes - a.cacheBytes), static_cast<double>(b.privateBytes - b.cacheBytes)};
    std::printf("%-12s %6d ops %7.0f ms  GDI objects %4d -> %4d (%+.2f %%)  private MB %6.1f -> %6.1f"
                "  of which beyond the picture cache %6.1f -> %6.1f (%+.2f %%)\n",
                phase, count, ms, a.gdiObjects, b.gdiObjects, Percent(a.gdiObjects, b.gdiObjects),
                a.privateBytes / 1048576.0, b.privateBytes / 1048576.0, rest[0] / 1048576.0, rest[1] / 1048576.0,
                Percent(rest[0], rest[1]));
    std::fflush(stdout);
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

}  // namespace

int main(int argc, char** argv) {
    const int pageSteps = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int hoverMoves = argc > 2 ? std::atoi(argv[2]) : 10000;
    const int pictureCycles = argc > 3 ? std::atoi(argv[3]) : 1000;
    const int pacedSteps = argc > 4 ? std::atoi(argv[4]) : 300;
    const DWORD paceMs = argc > 5 ? static_cast<DWORD>(std::atoi(argv[5])) : 400;

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

    std::printf("soak: %d page steps flat out, %d at %lu ms each, %d hover moves, %d picture-mode cycles "
                "(view 1000 x 600)\n",
                pageSteps, pacedSteps, static_cast<unsigned long>(paceMs), hoverMoves, pictureCycles);
    const Figures start = Measure(view);

    g_currentPage = 0;
    Figures before = Measure(view);
    double ms = Run(hwnd, pageSteps, 0, pageStep);
    double total = ms;
    Figures after = Measure(view);
    Report("page steps", pageSteps, ms, before, after);

    g_currentPage = 0;
    before = Measure(view);
    ms = Run(hwnd, pacedSteps, paceMs, pageStep);
    total += ms;
    after = Measure(view);
    Report("paced steps", pacedSteps, ms, before, after);

    g_currentPage = kWaveforms;
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    before = Measure(view);
    ms = Run(hwnd, hoverMoves, 0, hoverMove);
    total += ms;
    after = Measure(view);
    Report("hover moves", hoverMoves, ms, before, after);

    g_currentPage = 0;
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    before = Measure(view);
    ms = Run(hwnd, pictureCycles, 0, pictureCycle);
    total += ms;
    after = Measure(view);
    Report("picture mode", pictureCycles, ms, before, after);

    const Figures end = Measure(view);
    Report("whole run", pageSteps + pacedSteps + hoverMoves + pictureCycles, total, start, end);
    return 0;
}
