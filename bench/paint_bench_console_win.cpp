// What the presenter console costs the show: Page Down through the deck at a speaker's pace, key
// to the end of the show's paint, with the console closed, open, and closed again, in the same
// run; the console's pictures come from the show's picture cache, so its held bytes and the
// process's peak working set are printed with it. The console is a laptop panel's size, placed
// mostly off the desktop so that it hides little of the show (on one monitor it is a window
// over the show; a paint that reaches the screen only in part would flatter the figure).
#include "paint_bench.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/mainframe.h"
#include "console/console_win.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "res/resource.h"
#include "support/win_test_support.h"
#include "pictures/screen_pictures_win.h"
#include "view/view.h"

namespace {

using paintbench::Median;

double P90(const std::vector<double>& t) { return paintbench::Percentile(t, 0.9); }

std::vector<double> PassThroughTheDeck(testing_win::Presenter& presenter, int paceMs) {
    g_currentPage = 0;
    presenter.Paint();
    testing_win::PumpMessages(static_cast<DWORD>(paceMs));
    std::vector<double> steps;
    for (int row = 1; row <= kLastSlide; ++row) {
        steps.push_back(paintbench::KeyToPaint(presenter.viewHwnd(), VK_NEXT));
        testing_win::PumpMessages(static_cast<DWORD>(paceMs));
    }
    return steps;
}

}  // namespace

void paintbench::MeasureWithConsole(testing_win::Presenter& presenter, int paceMs) {
    CMainFrame* frame = presenter.frame();
    const std::vector<double> before = PassThroughTheDeck(presenter, paceMs);

    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    CPresenterConsole* console = CPresenterConsole::Current();
    if (!console) {
        std::printf("Page Down with the presenter console: the console did not open\n");
        return;
    }
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    ::SetWindowPos(console->m_hWnd, nullptr, screenW - 160, screenH - 120, 1920, 1080, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetFocus(presenter.viewHwnd());
    testing_win::PumpMessages(200);
    const std::vector<double> with = PassThroughTheDeck(presenter, paceMs);
    const PictureCache::Stats stats = presenter.view()->m_pictures->cache().GetStats();
    const std::size_t peakWithConsole = paintbench::WorkingSetMb().peakMb;
    ::SendMessageW(frame->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    testing_win::PumpMessages(100);

    const std::vector<double> after = PassThroughTheDeck(presenter, paceMs);
    std::vector<double> without = before;
    without.insert(without.end(), after.begin(), after.end());
    const double floor = Median(without);
    std::printf("Page Down with the presenter console open (console 1920x1080), %zu keys: median %6.1f ms, p90 %6.1f ms"
                "   (without it, before and after: median %6.1f ms, p90 %6.1f ms; %.2fx)\n",
                with.size(), Median(with), P90(with), floor, P90(without), floor > 0 ? Median(with) / floor : 0.0);
    std::printf("  picture cache with the console: %.0f MB held, peak %.0f MB (budget %zu MB); peak working set %zu MB\n",
                stats.kept / 1048576.0, stats.ledger.peak / 1048576.0, ScreenPictures::kBudgetBytes >> 20,
                peakWithConsole);
}
