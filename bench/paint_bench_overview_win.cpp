// paint_bench's figures for the overview, at each client size:
//   - Tab to the overview on the window (key to the end of the paint), against one blit of the
//     client area; with every thumbnail made, and right after start-up with none made yet;
//   - a move of the frame with the cursor key;
//   - how long after start-up (the first paint of a fresh view) the worker has made all
//     thumbnails while the presenter is idle, against the bare decodes of the 69 slide files one
//     after another, and the memory they take.
#include "paint_bench.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/mainframe.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/gdi.h"
#include "pictures/image_loader.h"
#include "launch/target_names.h"
#include "support/win_test_support.h"
#include "pictures/screen_pictures_win.h"
#include "pictures/thumbnails.h"
#include "view/view.h"

namespace {

using paintbench::Clock;
using paintbench::Median;
using paintbench::MsSince;

// The floor of making every thumbnail: the bare decodes of a sample of the slide files, as if
// all were decoded one after another.
double AllDecodesMs() {
    std::vector<double> t;
    for (int row = 0; row < SLIDE_COUNT; row += 7) {
        const std::wstring path = std::wstring(g_appDir) + L"\\" + g_slideDeck[row].pszImage;
        const auto start = Clock::now();
        fw::DecodeImageFile(path.c_str());
        t.push_back(MsSince(start));
    }
    return Median(t) * SLIDE_COUNT;
}

// A fresh cache and no thumbnails: the view as it is at start-up.
void Restart(CPemboroView* view) {
    view->m_thumbnails.reset();
    view->m_pictures = std::make_unique<ScreenPictures>();
}

}  // namespace

void paintbench::PrintOverviewFigures(testing_win::Presenter& presenter, int w, int h) {
    CPemboroView* view = presenter.view();
    const HWND hwnd = presenter.viewHwnd();
    CMainFrame* frame = presenter.frame();
    const int screenW = ::GetSystemMetrics(SM_CXSCREEN), screenH = ::GetSystemMetrics(SM_CYSCREEN);
    if (frame->m_bFullScreen) frame->OnFullScreen();
    if (w + 64 <= screenW && h + 96 <= screenH) presenter.Resize(w, h);
    else frame->OnFullScreen();
    testing_win::PumpMessages(100);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    std::printf("\n== overview, client area %ldx%ld%s ==\n", client.right, client.bottom,
                frame->m_bFullScreen ? " (full-screen)" : "");

    // Start-up: the first paint, then nothing but the message loop until all are made.
    g_currentPage = 0;
    Restart(view);
    const auto start = Clock::now();
    presenter.Paint();
    // At once, none made yet: numbered frames.
    const double firstOpen = paintbench::KeyToPaint(hwnd, VK_TAB);
    const auto Ready = [&] { return view->m_pictures->cache().Ready(PictureClient::Overview); };
    const int readyAtOpen = Ready();
    paintbench::KeyToPaint(hwnd, VK_TAB);
    double allReady = -1.0;
    int ready = 0;
    while (MsSince(start) < 20000.0) {
        testing_win::PumpMessages(5);
        ready = Ready();
        if (ready == view->m_thumbnails->Count()) {
            allReady = MsSince(start);
            break;
        }
    }
    const double floor = AllDecodesMs();
    std::printf("Thumbnails after start-up, presenter idle: all %d made in %.0f ms (%d made when the overview first "
                "opened); they hold %.1f MB   (floor: %d bare decodes %.0f ms; %.2fx the floor)\n",
                ready, allReady, readyAtOpen, view->m_pictures->cache().GetStats().thumbnails / 1048576.0, SLIDE_COUNT, floor,
                floor > 0 ? allReady / floor : 0.0);

    // Opened and closed again with every thumbnail there, and the frame moved.
    std::vector<double> open, move;
    for (int i = 0; i < 11; ++i) {
        testing_win::PumpMessages(50);
        open.push_back(paintbench::KeyToPaint(hwnd, VK_TAB));
        move.push_back(paintbench::KeyToPaint(hwnd, VK_RIGHT));
        paintbench::KeyToPaint(hwnd, VK_TAB);
    }
    const double blit = paintbench::BlitFloor(hwnd, client.right, client.bottom, 9);
    std::printf("Tab to the overview on the window: median %.1f ms with all thumbnails (%.1f ms at start-up, none "
                "made); frame moved: median %.1f ms   (floor: one client blit %.1f ms; open %.1fx the floor)\n",
                Median(open), firstOpen, Median(move), blit, blit > 0 ? Median(open) / blit : 0.0);
}
