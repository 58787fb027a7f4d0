// The way back from a demo: the stand-in simulator maximised over the full-screen show, then the
// clicker's Page Down (the demo's hot key, as the frame receives it) until the show is in front
// with the demo's slide painted, against one blit of the same client size. The slide comes from
// the picture cache, so the return should cost little more than that blit.
#include "paint_bench.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/mainframe.h"
#include "deck/page_cursor.h"
#include "launch/launch_test_support.h"
#include "launch/simulator.h"
#include "support/win_test_support.h"
#include "view/view.h"

namespace paintbench {
namespace {

// The simulator before the audience, the demo's placement seen done.
bool Placed(CMainFrame* frame, HWND sim) {
    return frame->m_demo.Running() && ::IsZoomed(sim) && ::GetForegroundWindow() == sim;
}

// From the clicker's key to the show in front, the demo over and nothing left to paint.
double KeyToShowBack(CMainFrame* frame, HWND view) {
    const auto start = Clock::now();
    ::PostMessageW(frame->m_hWnd, WM_HOTKEY, CDemoRun::kNextKeyId, MAKELPARAM(0, VK_NEXT));
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (!frame->m_demo.Running() && ::GetForegroundWindow() == frame->m_hWnd &&
            !::GetUpdateRect(view, nullptr, FALSE))
            break;
        if (MsSince(start) > 5000) return -1.0;
        ::Sleep(0);
    }
    ::GdiFlush();
    return MsSince(start);
}

}  // namespace

void MeasureDemoReturn(testing_win::Presenter& presenter, int rounds) {
    CMainFrame* frame = presenter.frame();
    if (!frame->m_bFullScreen) frame->OnFullScreen();
    const HWND view = presenter.viewHwnd();
    g_currentPage = 3;
    presenter.Paint();
    RECT client{};
    ::GetClientRect(view, &client);
    const launch_test::StandIn sim = launch_test::StartStandIn(L"", SW_SHOWNORMAL);
    if (!sim.hwnd) {
        std::printf("\nthe return from a demo: no stand-in simulator to measure with\n");
        return;
    }
    std::vector<double> back;
    for (int i = 0; i < rounds; ++i) {
        frame->m_demo.HandedOver(HandOff{sim.hwnd, 0}, L"UNICODE.asc");
        if (!testing_win::PumpUntil([&] { return Placed(frame, sim.hwnd); }, 10000)) continue;
        testing_win::PumpMessages(300);  // the placement settled, the show covered
        const double ms = KeyToShowBack(frame, view);
        if (ms >= 0) back.push_back(ms);
        testing_win::PumpMessages(200);
    }
    const double blit = BlitFloor(view, client.right, client.bottom, 15);
    std::printf("\n== the return from a demo, client area %ldx%ld ==\n", client.right, client.bottom);
    std::printf("Page Down to the show painted in front, %zu of %d rounds: median %6.1f ms, p90 %6.1f ms"
                "   (floor: one client blit %5.1f ms; median %.1fx the floor)\n",
                back.size(), rounds, Median(back), Percentile(back, 0.9), blit, blit > 0 ? Median(back) / blit : 0.0);
    launch_test::EndStandIns();
}

}  // namespace paintbench
