// Prints how long a full paint of a real deck slide takes on a screen-compatible DC at three
// client sizes, beside the bare decode of the same file (the loader's WIC path and GDI+) and
// the halftone stretch alone, with a breakdown of the rest of the paint.
// Usage: paint_bench [runs] [slide row ...]; defaults: 25 runs, rows 0 (title, 50 markers) and 3.
#include <windows.h>
#include <gdiplus.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/dc.h"
#include "framework/gdi.h"
#include "gdiplus_file_decode.h"
#include "framework/halftone_blit.h"
#include "framework/image_loader.h"
#include "launch/target_names.h"
#include "view/branding_win.h"
#include "view/memldc.h"
#include "view/slide_draw_win.h"
#include "view/view.h"
#include "support/win_test_support.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a) { return std::chrono::duration<double, std::milli>(Clock::now() - a).count(); }

double MedianOf(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return t.empty() ? 0.0 : t[t.size() / 2];
}

// Runs every measurement once per round, round after round, so that a busy machine slows
// them all alike; gives the median of each.
std::vector<double> Interleaved(int runs, const std::vector<std::function<void()>>& steps) {
    std::vector<std::vector<double>> times(steps.size());
    for (int i = 0; i < runs; ++i)
        for (std::size_t k = 0; k < steps.size(); ++k) {
            const auto a = Clock::now();
            steps[k]();
            times[k].push_back(Ms(a));
        }
    std::vector<double> medians;
    for (auto& t : times) medians.push_back(MedianOf(std::move(t)));
    return medians;
}

// A memory DC with a bitmap compatible with the screen, as a window's paint DC would be.
struct ScreenTarget {
    fw::WindowDc screen{nullptr};
    fw::MemoryDc dc{::CreateCompatibleDC(screen.get())};
    fw::Bitmap bmp;
    HGDIOBJ old = nullptr;
    ScreenTarget(int w, int h) : bmp(::CreateCompatibleBitmap(screen.get(), w, h)) {
        old = ::SelectObject(dc.get(), bmp.get());
    }
    ~ScreenTarget() { ::SelectObject(dc.get(), old); }
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 25;
    std::vector<int> rows;
    for (int i = 2; i < argc; ++i) rows.push_back(std::clamp(std::atoi(argv[i]), 0, LAST_SLIDE));
    if (rows.empty()) rows = {0, 3};

    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    {
        std::wcscpy(g_appDir, testing_win::DistDir().c_str());
        g_brandLogoId = 0;
        g_secondLogoId = 312;
        ::SetCursorPos(1919, 1079);
        testing_win::Presenter presenter(1000, 600);
        CPemboroView* view = presenter.view();
        if (!view) return 1;

        struct Size {
            int w, h;
        };
        for (const int row : rows) {
            const std::wstring path = std::wstring(g_appDir) + L"\\" + g_slideDeck[row].pszImage;
            std::printf("slide row %d (%ls, %d markers), %d interleaved runs, median ms\n", row,
                        g_slideDeck[row].pszImage, g_slideDeck[row].nSpots, runs);
            fw::LoadImageFile(path.c_str());  // codec start-up is paid once per process, not per paint
            DecodeWithGdiplusFile(path);
            const fw::Bitmap decoded = fw::LoadImageFile(path.c_str());
            if (!decoded) {
                std::printf("  the slide does not decode\n");
                continue;
            }
            std::printf("  %-10s %7s %7s %7s %8s %8s %8s %7s %7s\n", "size", "paint", "WIC", "GDI+", "stretch",
                        "overlay", "surface", "rest", "ratio");
            for (const Size s : {Size{1000, 600}, Size{1920, 1080}, Size{3840, 2160}}) {
                ::MoveWindow(view->m_hWnd, 0, 0, s.w, s.h, FALSE);
                ScreenTarget target(s.w, s.h);
                CBorrowedDC dc(target.dc.get());
                const SlideRect rc{0, 0, s.w, s.h};
                g_currentPage = row;
                view->OnDraw(&dc);  // warm-up
                const std::vector<double> m = Interleaved(runs, {
                    [&] { g_currentPage = row; view->OnDraw(&dc); },
                    [&] { fw::LoadImageFile(path.c_str()); },
                    [&] { DecodeWithGdiplusFile(path); },
                    [&] { fw::HalftoneBlit(target.dc.get(), 0, 0, s.w, s.h, decoded.get()); },
                    [&] {
                        DrawLogos(target.dc.get(), rc, row, g_brandLogoId, g_secondLogoId);
                        DrawCopyrightImage(target.dc.get(), rc);
                        DrawMarkers(target.dc.get(), rc, g_slideDeck[row], false);
                    },
                    [&] { CMemLDC memory(&dc); },
                });
                const double paint = m[0], wic = m[1], gdiplus = m[2], stretch = m[3], overlay = m[4], surface = m[5];
                std::printf("  %4dx%-5d %7.1f %7.1f %7.1f %8.1f %8.1f %8.1f %7.1f %6.2fx\n", s.w, s.h, paint, wic,
                            gdiplus, stretch, overlay, surface, paint - wic - stretch - overlay - surface,
                            paint / std::min(wic, gdiplus));
            }
        }
        std::printf("WIC = the loader's decode (the paint's), GDI+ = Bitmap::FromFile + GetHBITMAP\n"
                    "ratio = full paint / fastest bare decode; rest = paint - WIC - stretch - overlay - surface\n");
    }
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return 0;
}
