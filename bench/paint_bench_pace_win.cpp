// Page Down at a speaker's pace as a talk runs it: from the first slide, 3 s after the program
// started (a fresh picture cache, nothing made yet), through the whole deck; and from the middle
// of the deck, 3 s after start-up too. Each key is timed to the end of its paint, against one blit
// of the client area measured in the same run, and counted as ready when the paint found its
// picture made (no decode, scaling or wait on the window's thread).
#include <chrono>
#include <cstdio>
#include <memory>

#include "paint_bench.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "pictures/screen_pictures_win.h"

namespace paintbench {

void MeasurePace(testing_win::Presenter& presenter, Size asked, int paceMs) {
    CPemboroView* view = presenter.view();
    const HWND hwnd = presenter.viewHwnd();
    const Size size = PlaceView(presenter, asked);
    std::printf("\n== Page Down at %d ms pace from 3 s after start-up, client area %dx%d%s ==\n", paceMs, size.w,
                size.h, presenter.frame()->m_bFullScreen ? " (full-screen)" : "");
    for (const int start : {0, kLastSlide / 2}) {
        view->m_pictures = std::make_unique<ScreenPictures>();  // the program just started
        g_currentPage = start;
        presenter.Paint();
        testing_win::PumpMessages(3000);
        std::vector<double> steps;
        int ready = 0;
        const PictureCache::Stats atStart = view->m_pictures->cache().GetStats();
        const int identifiesAtStart = view->m_pictures->identifies();
        const auto identifyTimeAtStart = view->m_pictures->identifyTime();
        std::vector<int> late;
        for (int row = start + 1; row <= kLastSlide; ++row) {
            const PictureCache::Stats before = view->m_pictures->cache().GetStats();
            steps.push_back(KeyToPaint(hwnd, VK_NEXT));
            const PictureCache::Stats after = view->m_pictures->cache().GetStats();
            if (after.callerMakes == before.callerMakes && after.waits == before.waits) ++ready;
            else late.push_back(row + 1);
            testing_win::PumpMessages(static_cast<DWORD>(paceMs));
        }
        const double blit = BlitFloor(hwnd, size.w, size.h, 15);
        const PictureCache::Stats stats = view->m_pictures->cache().GetStats();
        std::printf("from slide %2d, %2zu keys: median %6.1f ms, p90 %6.1f, max %6.1f; ready %d of %zu"
                    "   (floor: one client blit %5.1f ms; median %.2fx, p90 %.2fx the floor)\n",
                    start + 1, steps.size(), Median(steps), Percentile(steps, 0.9), Percentile(steps, 1.0), ready,
                    steps.size(), blit, blit > 0 ? Median(steps) / blit : 0.0,
                    blit > 0 ? Percentile(steps, 0.9) / blit : 0.0);
        // Where a key's time goes on the window's thread, per key: the wanted lists said, the
        // pictures asked for, the metadata calls; and the plans made (by any thread).
        const auto perKey = [&](std::chrono::nanoseconds t) {
            return std::chrono::duration<double, std::milli>(t).count() / static_cast<double>(steps.size());
        };
        std::printf("  per key: Want %.2f ms (%.1f calls), Get %.2f ms (%.1f calls), metadata calls %.2f ms (%.1f), "
                    "%.1f plans\n",
                    perKey(stats.wantTime - atStart.wantTime), double(stats.wants - atStart.wants) / steps.size(),
                    perKey(stats.getTime - atStart.getTime), double(stats.gets - atStart.gets) / steps.size(),
                    perKey(view->m_pictures->identifyTime() - identifyTimeAtStart),
                    double(view->m_pictures->identifies() - identifiesAtStart) / steps.size(),
                    double(stats.plans - atStart.plans) / steps.size());
        if (!late.empty()) {
            std::printf("  not ready at slides:");
            for (const int s : late) std::printf(" %d", s);
            std::printf("\n");
        }
        std::printf("  pictures: %d decodes (%d by the workers), %d made by the window's thread, %d waits; ledger peak "
                    "%.0f of %.0f MB\n",
                    stats.decodes, stats.workerDecodes, stats.callerMakes, stats.waits, stats.ledger.peak / 1048576.0,
                    stats.budget / 1048576.0);
    }
}

}  // namespace paintbench
