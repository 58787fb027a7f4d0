// What a speaker feels of the paint: the real frame and view, driven by real messages, at two
// client sizes. Each figure is printed beside its floor, measured in the same run:
//   - Page Down through the whole deck at a speaker's pace (a key every 350 ms), key to the end
//     of the paint, against one blit of the client area from memory;
//   - a cold jump (nothing prepared) against the bare decode of the same slides;
//   - the removal of a hover highlight and a repaint of the slide on screen;
//   - the next photo in picture mode at a speaker's pace;
//   - the process's peak working set, and what the picture cache did;
//   - the process and the pictures' ledger through the deck and jumps, alone and with the
//     console, and 68 keys given to the console with the show minimised (paint_bench_memory_win.cpp);
//   - the overview (paint_bench_overview_win.cpp);
//   - every one-key move at laptop and 4K sizes (paint_bench_jumps_win.cpp);
//   - the return from a demo to the show (paint_bench_demo_win.cpp).
//   - Page Down from the first slide and from the middle, 3 s after start-up (paint_bench_pace_win.cpp);
// Usage: paint_bench [pace|jumps] [pace-ms] [WxH ...]   (defaults: all parts, 400, 1920x1080 3840x2160);
// "pace" or "jumps" runs that part alone.
// A client area the desktop cannot hold in a window is measured in full-screen mode, at the
// desktop's size (the frame's margins make it a little larger): bench.sh runs it on a 3840x2160
// desktop.
#include "paint_bench.h"

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>

#include "app/mainframe.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "pictures/image_loader.h"
#include "launch/target_names.h"
#include "render/geometry.h"
#include "pictures/screen_pictures_win.h"

namespace {

using namespace paintbench;

double DecodeMs(int row) {
    const std::wstring path = std::wstring(g_appDir) + L"\\" + g_slideDeck[row].pszImage;
    const auto start = Clock::now();
    fw::DecodeImageFile(path.c_str());
    return MsSince(start);
}

void FreshCache(CPemboroView* view) { view->m_pictures = std::make_unique<ScreenPictures>(); }

void Measure(testing_win::Presenter& presenter, Size size, int paceMs) {
    CPemboroView* view = presenter.view();
    const HWND hwnd = presenter.viewHwnd();
    size = PlaceView(presenter, size);
    CMainFrame* frame = presenter.frame();
    FreshCache(view);
    std::printf("\n== client area %dx%d%s ==\n", size.w, size.h, frame->m_bFullScreen ? " (full-screen)" : "");

    // Page Down through the deck, as a speaker does, with the look-ahead at work.
    g_currentPage = 0;
    presenter.Paint();
    testing_win::PumpMessages(static_cast<DWORD>(paceMs));
    std::vector<double> steps;
    for (int row = 1; row <= kLastSlide; ++row) {
        steps.push_back(KeyToPaint(hwnd, VK_NEXT));
        testing_win::PumpMessages(static_cast<DWORD>(paceMs));
    }
    const PictureCache::Stats afterPass = view->m_pictures->cache().GetStats();
    const WorkingSet memory = WorkingSetMb();
    const double blit = BlitFloor(hwnd, size.w, size.h, 15);
    std::printf("Page Down at %d ms pace, %zu keys: median %6.1f ms, p90 %6.1f ms, max %6.1f ms"
                "   (floor: one client blit %5.1f ms; median %.1fx the floor)\n",
                paceMs, steps.size(), Median(steps), Percentile(steps, 0.9), Percentile(steps, 1.0), blit,
                blit > 0 ? Median(steps) / blit : 0.0);
    std::printf("  pictures: %d decodes (%d by the workers), %d scalings, %d waits, %.0f MB held, ledger peak %.0f MB\n",
                afterPass.decodes, afterPass.workerDecodes, afterPass.scales, afterPass.waits,
                afterPass.kept / 1048576.0, afterPass.ledger.peak / 1048576.0);
    std::printf("  working set after the pass: %zu MB, peak so far %zu MB (budget of the cache %zu MB)\n", memory.nowMb,
                memory.peakMb, ScreenPictures::kBudgetBytes >> 20);

    // Repaints of the slide on screen: nothing to decode or scale.
    g_currentPage = 0;
    presenter.Paint();
    view->m_pictures->cache().WaitUntilIdle();
    const Square spot = HotspotSquare(ToSlideRect(view->m_rcSlide), g_slideDeck[0].pSpots[0].x, g_slideDeck[0].pSpots[0].y);
    const LPARAM onSpot = MAKELPARAM(spot.x + spot.side / 2, spot.y + spot.side / 2);
    const LPARAM offSpot = MAKELPARAM(size.w / 2, 5);
    POINT inside{size.w / 2, 5};
    ::ClientToScreen(hwnd, &inside);
    ::SetCursorPos(inside.x, inside.y);  // the hover timer keeps a highlight while the pointer is over the slide
    std::vector<double> hover, repaint;
    for (int i = 0; i < 15; ++i) {
        ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, onSpot);
        hover.push_back(Answer(hwnd, [&] { ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, offSpot); }, WM_MOUSEMOVE));
        repaint.push_back(Answer(hwnd, [&] { ::InvalidateRect(hwnd, nullptr, FALSE); ::PostMessageW(hwnd, WM_NULL, 0, 0); },
                                 WM_NULL));
    }
    std::printf("Hover highlight removed: median %5.1f ms; repaint of the same slide: median %5.1f ms\n",
                Median(hover), Median(repaint));

    // Cold jumps: the slide asked for is not among those prepared (the cursor moved without a
    // paint), so the paint decodes and scales it itself. Interleaved with bare decodes of the
    // same file, so that both see the machine alike.
    const int farRows[] = {34, 47, 55, 60};
    std::vector<double> ratios;
    std::printf("Cold jump, median of 3 (paint / bare decode):");
    for (const int row : farRows) {
        std::vector<double> cold, decode;
        for (int i = 0; i < 3; ++i) {
            g_currentPage = 10 + i;
            presenter.Paint();
            view->m_pictures->cache().WaitUntilIdle();
            decode.push_back(DecodeMs(row));
            g_currentPage = row - 1;
            cold.push_back(KeyToPaint(hwnd, VK_NEXT));
            view->m_pictures->cache().WaitUntilIdle();
        }
        ratios.push_back(Median(cold) / Median(decode));
        std::printf("  row %d %.0f/%.0f ms", row, Median(cold), Median(decode));
    }
    std::printf("\n  median %.2fx the bare decode (WIC) of the same slide\n", Median(ratios));

    // Photos of the title slide, stepped with the cursor key at a speaker's pace.
    FreshCache(view);
    g_currentPage = 0;
    presenter.Paint();
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, onSpot);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, onSpot);
    testing_win::PumpMessages(static_cast<DWORD>(paceMs));
    std::vector<double> photos;
    for (int i = 0; i < 12 && !view->m_strPicture.empty(); ++i) {
        photos.push_back(KeyToPaint(hwnd, VK_RIGHT));
        testing_win::PumpMessages(static_cast<DWORD>(paceMs));
    }
    ::SendMessageW(hwnd, WM_CHAR, VK_ESCAPE, 1);
    testing_win::PumpMessages(50);
    std::printf("Next photo at %d ms pace, %zu keys: median %5.1f ms, p90 %5.1f ms\n", paceMs, photos.size(),
                Median(photos), Percentile(photos, 0.9));
}

}  // namespace

int main(int argc, char** argv) {
    // "pace", "jumps" or "tools" first: that part alone.
    std::string only;
    if (argc > 1 && (std::string(argv[1]) == "pace" || std::string(argv[1]) == "jumps" || std::string(argv[1]) == "tools")) {
        only = argv[1];
        --argc, ++argv;
    }
    const int pace = argc > 1 ? std::max(0, std::atoi(argv[1])) : 400;
    std::vector<Size> sizes;
    for (int i = 2; i < argc; ++i) {
        Size s{};
        if (std::sscanf(argv[i], "%dx%d", &s.w, &s.h) == 2 && s.w > 0 && s.h > 0) sizes.push_back(s);
    }
    if (sizes.empty()) sizes = {{1920, 1080}, {3840, 2160}};

    wcsncpy_s(g_appDir, testing_win::DistDir().c_str(), _TRUNCATE);
    std::printf("desktop %dx%d; deck in %ls\n", ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), g_appDir);
    DecodeMs(0);  // the codecs start once per process, not per paint
    {
        testing_win::Presenter presenter(1000, 600);
        if (!presenter.view()) return 1;
        presenter.Paint();
        if (only == "tools") {
            MeasureTools(presenter, sizes);
            return 0;
        }
        std::printf("working set with the first slide shown at 1000x600: %zu MB\n", WorkingSetMb().nowMb);
        if (only == "pace") {
            for (const Size s : sizes) MeasurePace(presenter, s, pace);
            return 0;
        }
        if (only == "jumps") {
            MeasureJumps(presenter, pace);
            return 0;
        }
        for (const Size s : sizes) {
            MeasurePace(presenter, s, pace);
            Measure(presenter, s, pace);
            MeasureWithConsole(presenter, pace);
            MeasureMemory(presenter, s, pace);
        }
        MeasureConsoleWhileMinimised(presenter, pace);
        for (const Size s : sizes) PrintOverviewFigures(presenter, s.w, s.h);
        MeasureJumps(presenter, pace);
        MeasureDemoReturn(presenter, 15);
        MeasureTools(presenter, sizes);
    }
    std::printf("\npeak working set of the process: %zu MB\n", WorkingSetMb().peakMb);
    return 0;
}
