// paint_bench's figures of memory, at a client size: the whole process's working set (sampled
// after every key and every step of the look-ahead, the most of them) and the pictures' ledger
// (its peak against the budget) through a pass of the deck at a speaker's pace and three jumps to
// each end, with the show alone and with the presenter console open; then, at any size, the
// process before and after 68 Page Downs given to the console while the show is minimised.
#include "paint_bench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "app/mainframe.h"
#include "console/console_win.h"
#include "deck/deck.h"
#include "pictures/screen_pictures_win.h"
#include "res/resource.h"
#include "support/win_test_support.h"
#include "view/view.h"

namespace {

using namespace paintbench;

// The most the process and the ledger reached: sampled after each key, while the message loop
// runs at a speaker's pace.
struct Highs {
    std::size_t processMb = 0;
    std::size_t ledgerPeak = 0;
};

void PumpSampling(int paceMs, Highs& highs, const std::function<void()>& key) {
    key();
    for (int waited = 0; waited < paceMs; waited += 25) {
        testing_win::PumpMessages(25);
        highs.processMb = std::max(highs.processMb, WorkingSetMb().nowMb);
    }
}

// A pass through the deck at the pace, then Ctrl+Page Up and Ctrl+Page Down three times.
Highs PassAndJumps(testing_win::Presenter& presenter, int paceMs) {
    CPemboroView* view = presenter.view();
    const HWND hwnd = presenter.viewHwnd();
    view->m_pictures = std::make_unique<ScreenPictures>();
    Highs highs;
    g_currentPage = 0;
    presenter.Paint();
    for (int row = 1; row <= kLastSlide; ++row) PumpSampling(paceMs, highs, [&] { KeyToPaint(hwnd, VK_NEXT); });
    for (int i = 0; i < 3; ++i) {
        PumpSampling(paceMs, highs, [&] { CtrlKeyToPaint(hwnd, VK_PRIOR); });
        PumpSampling(paceMs, highs, [&] { CtrlKeyToPaint(hwnd, VK_NEXT); });
    }
    highs.ledgerPeak = view->m_pictures->cache().GetStats().ledger.peak;
    return highs;
}

// The console, a laptop panel's size, mostly off the desktop so that it hides little of the show.
CPresenterConsole* OpenConsole(testing_win::Presenter& presenter) {
    ::SendMessageW(presenter.frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    CPresenterConsole* console = CPresenterConsole::Current();
    if (!console) return nullptr;
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    ::SetWindowPos(console->m_hWnd, nullptr, screenW - 160, screenH - 120, 1920, 1080, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetFocus(presenter.viewHwnd());
    testing_win::PumpMessages(200);
    return console;
}

void CloseConsole(testing_win::Presenter& presenter) {
    if (CPresenterConsole::Current()) ::SendMessageW(presenter.frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    testing_win::PumpMessages(100);
}

}  // namespace

void paintbench::MeasureMemory(testing_win::Presenter& presenter, Size size, int paceMs) {
    size = PlaceView(presenter, size);
    const double budgetMb = static_cast<double>(ScreenPictures::kBudgetBytes) / 1048576.0;
    const Highs alone = PassAndJumps(presenter, paceMs);
    Highs withConsole;
    if (OpenConsole(presenter)) {
        withConsole = PassAndJumps(presenter, paceMs);
        CloseConsole(presenter);
    }
    std::printf("Memory at %dx%d through the deck at %d ms and 3 jumps to each end: process at most %zu MB alone, "
                "%zu MB with the console (goal 250 MB); pictures' ledger peak %.0f / %.0f MB alone, %.0f MB with the "
                "console (budget %.0f MB)\n",
                size.w, size.h, paceMs, alone.processMb, withConsole.processMb, alone.ledgerPeak / 1048576.0, budgetMb,
                withConsole.ledgerPeak / 1048576.0, budgetMb);
}

void paintbench::MeasureConsoleWhileMinimised(testing_win::Presenter& presenter, int paceMs) {
    CMainFrame* frame = presenter.frame();
    PlaceView(presenter, {1920, 1080});
    presenter.view()->m_pictures = std::make_unique<ScreenPictures>();
    g_currentPage = 0;
    presenter.Paint();
    CPresenterConsole* console = OpenConsole(presenter);
    if (!console) {
        std::printf("Console with the show minimised: the console did not open\n");
        return;
    }
    const HWND consoleHwnd = console->m_hWnd;
    ::ShowWindow(frame->m_hWnd, SW_MINIMIZE);
    testing_win::PumpMessages(300);
    const std::size_t before = WorkingSetMb().nowMb;
    const std::size_t ledgerBefore = presenter.view()->m_pictures->cache().GetStats().ledger.alive;
    std::size_t most = before;
    std::vector<double> keys;
    for (int i = 0; i < kLastSlide - 1; ++i) {
        keys.push_back(Answer(consoleHwnd, [&] { ::PostMessageW(consoleHwnd, WM_KEYDOWN, VK_NEXT, 1); }, WM_KEYDOWN));
        testing_win::PumpMessages(static_cast<DWORD>(paceMs));
        most = std::max(most, WorkingSetMb().nowMb);
    }
    const std::size_t after = WorkingSetMb().nowMb;
    const std::size_t ledgerAfter = presenter.view()->m_pictures->cache().GetStats().ledger.alive;
    std::printf("Console at 1920x1080 with the show minimised, %zu Page Downs given to it: process %zu MB before, %zu MB "
                "after (%+ld MB, at most %zu MB); pictures alive %.0f MB before, %.0f MB after; key to the console's "
                "pixels median %.1f ms\n",
                keys.size(), before, after, static_cast<long>(after) - static_cast<long>(before), most,
                ledgerBefore / 1048576.0, ledgerAfter / 1048576.0, Median(keys));
    ::ShowWindow(frame->m_hWnd, SW_RESTORE);
    CloseConsole(presenter);
}
