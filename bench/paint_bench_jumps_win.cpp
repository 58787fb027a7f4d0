// Every one-key move at the client sizes of laptops and 4K monitors: Page Down, Page Up, Ctrl+Page
// Down, Ctrl+Page Up, Home and End from a slide in the middle of the deck whose look-ahead has
// been made, and the next photo, key to the end of the paint, against its floor: one blit of a
// prepared client-sized picture onto the window, measured in the same run; then what the
// pictures' ledger reached and the process's working set with the middle of the deck on screen.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "paint_bench.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "pictures/screen_pictures_win.h"

namespace paintbench {
namespace {

constexpr int kJumps = 12;

// Shows `row` as a paint does, and lets the workers make what one key away from it needs.
void Settle(testing_win::Presenter& presenter, int row, int paceMs) {
    g_currentPage = row;
    presenter.Paint();
    presenter.view()->m_pictures->cache().WaitUntilIdle();
    testing_win::PumpMessages(static_cast<DWORD>(paceMs));
}

struct Move {
    const char* name;
    UINT vk;
    bool ctrl;
};
constexpr Move kMoves[] = {{"PgDn", VK_NEXT, false},     {"PgUp", VK_PRIOR, false}, {"Ctrl+PgDn", VK_NEXT, true},
                           {"Ctrl+PgUp", VK_PRIOR, true}, {"Home", VK_HOME, false},  {"End", VK_END, false}};

// The next photo of the title slide, from a photo whose look-ahead has been made.
double NextPhoto(testing_win::Presenter& presenter, int paceMs) {
    CPemboroView* view = presenter.view();
    const HWND hwnd = presenter.viewHwnd();
    Settle(presenter, 0, paceMs);
    view->EnterPictureMode(&g_slideDeck[0].pSpots[0]);
    ::UpdateWindow(hwnd);
    view->m_pictures->cache().WaitUntilIdle();
    testing_win::PumpMessages(static_cast<DWORD>(paceMs));
    const double ms = KeyToPaint(hwnd, VK_RIGHT);
    view->LeavePictureMode();
    ::UpdateWindow(hwnd);
    return ms;
}

}  // namespace

void MeasureJumps(testing_win::Presenter& presenter, int paceMs) {
    const Size sizes[] = {{1920, 1080}, {2560, 1600}, {3200, 1800}, {3840, 2160}};
    std::printf("\n== every one-key move from the middle of the deck, its look-ahead made: median of %d, key to the end "
                "of the paint, ms, and its ratio to one client blit ==\n",
                kJumps);
    std::printf("%-20s", "client area");
    for (const Move& m : kMoves) std::printf(" %13s", m.name);
    std::printf(" %13s %8s %10s %10s\n", "next photo", "blit", "ledger MB", "process");
    CPemboroView* view = presenter.view();
    const HWND hwnd = presenter.viewHwnd();
    for (const Size asked : sizes) {
        const Size size = PlaceView(presenter, asked);
        view->m_pictures = std::make_unique<ScreenPictures>();
        std::vector<std::vector<double>> keys(std::size(kMoves));
        std::vector<double> photos;
        std::size_t largest = 0;
        for (int i = 0; i < kJumps; ++i) {
            const int row = 6 + i * (kLastSlide - 12) / kJumps;
            for (std::size_t m = 0; m < std::size(kMoves); ++m) {
                Settle(presenter, row, paceMs);
                largest = std::max(largest, WorkingSetMb().nowMb);
                keys[m].push_back(kMoves[m].ctrl ? CtrlKeyToPaint(hwnd, kMoves[m].vk) : KeyToPaint(hwnd, kMoves[m].vk));
            }
            if (i % 3 == 0) photos.push_back(NextPhoto(presenter, paceMs));
        }
        const double blit = BlitFloor(hwnd, size.w, size.h, 15);
        const PictureCache::Stats stats = view->m_pictures->cache().GetStats();
        char label[48];
        std::snprintf(label, sizeof label, "%dx%d%s", size.w, size.h, presenter.frame()->m_bFullScreen ? " (full)" : "");
        std::printf("%-20s", label);
        const auto cell = [&](const std::vector<double>& t) {
            std::printf(" %6.1f %5.2fx", Median(t), blit > 0 ? Median(t) / blit : 0.0);
        };
        for (const auto& t : keys) cell(t);
        cell(photos);
        std::printf(" %6.1f ms %5.0f/%3.0f %7zu MB\n", blit, stats.ledger.peak / 1048576.0, stats.budget / 1048576.0,
                    largest);
        std::printf("%-20s p90 of the keys:", "");
        for (const auto& t : keys) std::printf(" %6.1f", Percentile(t, 0.9));
        std::printf("; workers: %d decodes, %d made and never used; %d waits (%d cut short)\n", stats.workerDecodes,
                    stats.madeUnused, stats.waits, stats.waitsCut);
    }
    std::printf("(ledger: the most the pictures took, kept and in progress, against the budget; process: the most with "
                "the middle of the deck on screen; peak working set of the process so far %zu MB)\n",
                WorkingSetMb().peakMb);
}

}  // namespace paintbench
