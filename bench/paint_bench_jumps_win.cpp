// The one-key jumps at the client sizes of laptops and 4K monitors: Ctrl+Page Down to the last
// slide, Ctrl+Page Up to the first and Page Down, each from a slide in the middle of the deck
// whose look-ahead has been made, key to the end of the paint, against its floor: a repaint of the
// slide the key brought (the same paint with nothing to decode or scale), measured right after
// it; then what the picture cache holds and the process's working set.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "paint_bench.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "view/screen_pictures_win.h"

namespace paintbench {
namespace {

constexpr int kJumps = 12;

// Shows `row` as a paint does, and lets the worker make what one key away from it needs.
void Settle(testing_win::Presenter& presenter, int row, int paceMs) {
    g_currentPage = row;
    presenter.Paint();
    presenter.view()->m_pictures->cache().WaitUntilIdle();
    testing_win::PumpMessages(static_cast<DWORD>(paceMs));
}

// A repaint of the slide on screen: the floor of a key that finds its picture ready.
double Repaint(HWND view) {
    return Answer(view, [&] { ::InvalidateRect(view, nullptr, FALSE); ::PostMessageW(view, WM_NULL, 0, 0); }, WM_NULL);
}

// A key's median in milliseconds, and its floor's.
std::string Cell(const std::vector<double>& t, const std::vector<double>& floor) {
    char text[32];
    std::snprintf(text, sizeof text, "%5.1f / %4.1f", Median(t), Median(floor));
    return text;
}

}  // namespace

void MeasureJumps(testing_win::Presenter& presenter, int paceMs) {
    const Size sizes[] = {{1920, 1080}, {2560, 1600}, {3200, 1800}, {3840, 2160}};
    std::printf("\n== one-key jumps from the middle of the deck, each with its look-ahead made, median of %d ==\n",
                kJumps);
    std::printf("%-22s %16s %16s %16s %9s %12s\n", "client area", "Ctrl+PgDn", "Ctrl+PgUp", "Page Down", "cache MB",
                "working set");
    std::printf("%-22s %16s %16s %16s\n", "", "key / repaint ms", "key / repaint ms", "key / repaint ms");
    CPemboroView* view = presenter.view();
    const HWND hwnd = presenter.viewHwnd();
    for (const Size asked : sizes) {
        std::size_t largest = 0;
        const Size size = PlaceView(presenter, asked);
        view->m_pictures = std::make_unique<ScreenPictures>();
        std::vector<double> last, first, next, lastFloor, firstFloor, nextFloor;
        for (int i = 0; i < kJumps; ++i) {
            const int row = 6 + i * (kLastSlide - 12) / kJumps;
            Settle(presenter, row, paceMs);
            last.push_back(CtrlKeyToPaint(hwnd, VK_NEXT));
            lastFloor.push_back(Repaint(hwnd));
            Settle(presenter, row, paceMs);
            first.push_back(CtrlKeyToPaint(hwnd, VK_PRIOR));
            firstFloor.push_back(Repaint(hwnd));
            Settle(presenter, row, paceMs);
            next.push_back(KeyToPaint(hwnd, VK_NEXT));
            nextFloor.push_back(Repaint(hwnd));
            // The middle of the deck held: everything one key away from `row` made.
            Settle(presenter, row, paceMs);
            largest = std::max(largest, WorkingSetMb().nowMb);
        }
        const PictureCache::Stats stats = view->m_pictures->cache().GetStats();
        char label[48];
        std::snprintf(label, sizeof label, "%dx%d%s", size.w, size.h, presenter.frame()->m_bFullScreen ? " (full)" : "");
        std::printf("%-22s %16s %16s %16s %9.0f %9zu MB\n", label, Cell(last, lastFloor).c_str(),
                    Cell(first, firstFloor).c_str(), Cell(next, nextFloor).c_str(), stats.peakBytes / 1048576.0,
                    largest);
        std::printf("%-22s p90 of the keys %5.1f / %5.1f / %5.1f ms; worker: %d decodes, %d made only to be let go; "
                    "%d waits (%d cut short)\n",
                    "", Percentile(last, 0.9), Percentile(first, 0.9), Percentile(next, 0.9), stats.workerDecodes,
                    stats.dropped, stats.waits, stats.waitsCut);
    }
    std::printf("(cache MB: the most the picture cache held; working set: the most with the middle of the deck on "
                "screen; peak working set of the process so far %zu MB)\n",
                WorkingSetMb().peakMb);
}

}  // namespace paintbench
