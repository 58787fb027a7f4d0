// The speaker's tools at laptop and 4K sizes: the pointer's dot following the mouse (a mouse move
// to the dot's pixels on the window, against one blit of the dot's box), and a zoom step of Ctrl
// and the wheel (the notch to the zoomed slide on the window, against one blit of the client
// area). The dot repaints its old and new boxes only; a zoom step scales the slide file's pixels.
#include "paint_bench.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "app/mainframe.h"
#include "deck/page_cursor.h"
#include "render/pointer_dot.h"
#include "support/win_test_support.h"
#include "talk/talk.h"
#include "view/view.h"

namespace paintbench {

void MeasureTools(testing_win::Presenter& presenter, const std::vector<Size>& sizes) {
    CMainFrame* frame = presenter.frame();
    Talk& talk = frame->m_talk;
    const HWND view = presenter.viewHwnd();
    for (const Size wanted : sizes) {
        const Size size = PlaceView(presenter, wanted);
        g_currentPage = 10;
        presenter.Paint();
        if (!talk.PointerOn()) ::SendMessageW(view, WM_KEYDOWN, 'L', 1);
        testing_win::PumpMessages(100);
        // A circle across the slide, a move every few pixels as a hand makes them.
        std::vector<double> moves;
        for (int i = 0; i < 120; ++i) {
            const int x = size.w / 2 + static_cast<int>(size.w / 4 * std::cos(i * 0.05));
            const int y = size.h / 2 + static_cast<int>(size.h / 4 * std::sin(i * 0.05));
            moves.push_back(Answer(view, [&] { ::PostMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }, WM_MOUSEMOVE));
        }
        const SlideRect box = DotBox(0, 0, DotDiameter(presenter.view()->TextDpi(), size.h));
        const double dotFloor = BlitFloor(view, box.Width(), box.Height(), 60);
        std::printf("\nPointer at %dx%d: mouse move to the dot on the window, %zu moves: median %5.2f ms, p90 %5.2f ms; "
                    "one blit of the dot's %dx%d box %5.3f ms (%.1fx)\n",
                    size.w, size.h, moves.size(), Median(moves), Percentile(moves, 0.9), box.Width(), box.Height(),
                    dotFloor, dotFloor > 0 ? Median(moves) / dotFloor : 0.0);
        ::SendMessageW(view, WM_KEYDOWN, 'L', 1);

        // Ctrl and the wheel at the middle of a zoomed slide, in and out again.
        talk.ZoomTo({0.25, 0.25, 0.75, 0.75});
        presenter.Paint();
        POINT mid{size.w / 2, size.h / 2};
        ::ClientToScreen(view, &mid);
        std::vector<double> steps;
        for (int i = 0; i < 16; ++i) {
            const short delta = (i / 4) % 2 == 0 ? WHEEL_DELTA : -WHEEL_DELTA;
            steps.push_back(Answer(view, [&] {
                ::PostMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(delta)), MAKELPARAM(mid.x, mid.y));
            }, WM_MOUSEWHEEL));
        }
        const double floor = BlitFloor(view, size.w, size.h, 20);
        std::printf("Zoom at %dx%d: Ctrl+wheel notch to the zoomed slide on the window, %zu notches: median %5.1f ms, "
                    "p90 %5.1f ms; one blit of the client area %5.2f ms (%.1fx)\n",
                    size.w, size.h, steps.size(), Median(steps), Percentile(steps, 0.9), floor,
                    floor > 0 ? Median(steps) / floor : 0.0);
        talk.Unzoom();
    }
}

}  // namespace paintbench
