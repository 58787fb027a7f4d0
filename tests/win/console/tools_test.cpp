// The speaker's tools, read back from the show's pixels: the pointer's dot under the mouse on the
// show and under the mouse on the console's slide, at the mapped place, repainting only where it
// was and where it is; a zoom drawn from the slide file's own pixels; a freeze that keeps what the
// show shows while the speaker steps on the console.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/app.h"
#include "app/mainframe.h"
#include "console/console_win.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/target_names.h"
#include "pictures/image_loader.h"
#include "res/resource.h"
#include "render/pointer_dot.h"
#include "support/win_test_support.h"
#include "talk/talk.h"
#include "view/view.h"

namespace {

using testing_win::Pixels;
using testing_win::Presenter;

constexpr int kW = 960, kH = 540;

bool Red(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90; }

int Distance(COLORREF a, COLORREF b) {
    return std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                     std::abs(GetBValue(a) - GetBValue(b))});
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// A slide without hotspots, away from both ends of the deck: only its logos, notice and corner
// button lie over its pixels, all of them along its foot.
int PlainRow() {
    for (int row = 1; row < kLastSlide; ++row)
        if (g_slideDeck[row].nSpots == 0) return row;
    return 1;
}

class Tools : public ::testing::Test {
protected:
    void SetUp() override {
        wcsncpy_s(g_appDir, testing_win::DistDir().c_str(), _TRUNCATE);
        g_currentPage = PlainRow();
        p_ = std::make_unique<Presenter>(kW, kH);
    }
    void TearDown() override { p_.reset(); }
    Talk& TheTalk() { return p_->frame()->m_talk; }
    void Key(HWND hwnd, UINT vk) { ::SendMessageW(hwnd, WM_KEYDOWN, vk, 1); }
    CPresenterConsole* OpenConsole() {
        ::SendMessageW(p_->frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
        CPresenterConsole* console = CPresenterConsole::Current();
        if (console) ::UpdateWindow(console->m_hWnd);
        return console;
    }
    Pixels Shown() { return testing_win::ReadWindow(p_->viewHwnd()); }

    testing_win::SavedGlobals globals_;
    std::unique_ptr<Presenter> p_;
};

TEST_F(Tools, TheDotFollowsTheMouseOnTheShowAndRepaintsOnlyWhereItWasAndIs) {
    const Pixels before = p_->Paint();
    Key(p_->viewHwnd(), 'L');
    ASSERT_TRUE(TheTalk().PointerOn());
    // A mark the show does not draw, far from the dot: a repaint of the whole slide would take it.
    {
        const HDC dc = ::GetDC(p_->viewHwnd());
        const RECT mark{800, 60, 820, 80};
        const HBRUSH magenta = ::CreateSolidBrush(RGB(255, 0, 255));
        ::FillRect(dc, &mark, magenta);
        ::DeleteObject(magenta);
        ::ReleaseDC(p_->viewHwnd(), dc);
    }
    ::SendMessageW(p_->viewHwnd(), WM_MOUSEMOVE, 0, At(300, 200));
    Pixels now = Shown();
    EXPECT_TRUE(Red(now.At(300, 200))) << "the dot under the mouse";
    EXPECT_TRUE(Red(now.At(300 + DotDiameter(96, kH) / 2 - 3, 200))) << "as wide as the DPI makes it";
    EXPECT_EQ(now.At(300 + DotDiameter(96, kH), 200), before.At(300 + DotDiameter(96, kH), 200)) << "no wider";

    ::SendMessageW(p_->viewHwnd(), WM_MOUSEMOVE, 0, At(500, 300));
    now = Shown();
    EXPECT_TRUE(Red(now.At(500, 300)));
    EXPECT_EQ(now.At(300, 200), before.At(300, 200)) << "the slide back where the dot was";
    EXPECT_EQ(now.At(810, 70), RGB(255, 0, 255)) << "nothing else of the show was repainted";

    // Off again: the slide comes back under the mouse, and the mouse moves no dot.
    Key(p_->viewHwnd(), 'L');
    now = Shown();
    EXPECT_EQ(now.At(500, 300), before.At(500, 300));
    ::SendMessageW(p_->viewHwnd(), WM_MOUSEMOVE, 0, At(400, 250));
    EXPECT_FALSE(Red(Shown().At(400, 250)));
    EXPECT_FALSE(TheTalk().Dot());
}

TEST_F(Tools, TheMouseOverTheConsolesSlidePutsTheDotAtTheSamePlaceOfTheShow) {
    p_->Paint();
    CPresenterConsole* console = OpenConsole();
    ASSERT_NE(console, nullptr);
    Key(console->m_hWnd, 'L');  // L given to the console turns the pointer on too
    ASSERT_TRUE(TheTalk().PointerOn());
    const SlideRect& slide = console->m_layout.current;
    ASSERT_GT(slide.Width(), 0);
    struct Case {
        double fx, fy;
    } const cases[] = {{0.3, 0.4}, {0.75, 0.2}, {0.5, 0.9}};
    for (const Case& c : cases) {
        const int cx = slide.left + static_cast<int>(c.fx * slide.Width());
        const int cy = slide.top + static_cast<int>(c.fy * slide.Height());
        ::SendMessageW(console->m_hWnd, WM_MOUSEMOVE, 0, At(cx, cy));
        const Pixels shown = Shown();
        const int sx = static_cast<int>(c.fx * kW), sy = static_cast<int>(c.fy * kH);
        EXPECT_TRUE(Red(shown.At(sx, sy))) << c.fx << "," << c.fy;
        EXPECT_FALSE(Red(shown.At(std::min(kW - 1, sx + 40), sy))) << "one dot only";
        // The console's own picture shows it too, smaller.
        ::UpdateWindow(console->m_hWnd);
        EXPECT_TRUE(Red(testing_win::ReadWindow(console->m_hWnd).At(cx, cy))) << "on the console";
    }
    // Off the console's slide: no dot.
    ::SendMessageW(console->m_hWnd, WM_MOUSEMOVE, 0, At(slide.right + 5, slide.top + 5));
    EXPECT_FALSE(TheTalk().Dot());
    EXPECT_FALSE(Red(Shown().At(static_cast<int>(0.5 * kW), static_cast<int>(0.9 * kH))));
}

// Z and a drag over the top-left quarter: the show is that quarter, from the slide file's own
// pixels scaled to the window, not the window's picture enlarged.
TEST_F(Tools, AZoomShowsThePartOfTheSlideFileDraggedOver) {
    p_->Paint();
    Key(p_->viewHwnd(), 'Z');
    ASSERT_TRUE(TheTalk().ZoomArmed());
    ::SendMessageW(p_->viewHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(0, 0));
    ::SendMessageW(p_->viewHwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(kW / 2 - 1, kH / 2 - 1));
    ::SendMessageW(p_->viewHwnd(), WM_LBUTTONUP, 0, At(kW / 2 - 1, kH / 2 - 1));
    ASSERT_TRUE(TheTalk().Speaker().zoom);
    const SlideArea dragged = *TheTalk().Speaker().zoom;
    EXPECT_NEAR(dragged.left, 0.0, 0.01);
    EXPECT_NEAR(dragged.top, 0.0, 0.01);
    EXPECT_NEAR(dragged.right, 0.5, 0.01);
    EXPECT_NEAR(dragged.bottom, 0.5, 0.01);

    const wchar_t* path = ResolvePath(g_slideDeck[g_currentPage].pszImage);
    fw::DecodedFile file = fw::DecodeImageFile(path);
    ASSERT_TRUE(file.pixels);
    const fw::ConstPixelView all = file.pixels.view();
    // Parts whose edges fall on the file's pixels: the quarter at its own size, and an eighth
    // from the middle at four times its size.
    const SlideArea parts[] = {{0.0, 0.0, 0.5, 0.5}, {0.25, 0.25, 0.375, 0.375}};
    for (const SlideArea& part : parts) {
        TheTalk().ZoomTo(part, 0.01);
        const Pixels shown = p_->Paint();
        const int l = static_cast<int>(part.left * all.width), t = static_cast<int>(part.top * all.height);
        const int r = static_cast<int>(part.right * all.width), b = static_cast<int>(part.bottom * all.height);
        const fw::ConstPixelView crop{all.data + t * all.stride + l * 4, r - l, b - t, all.stride};
        const fw::PixelBuffer want = fw::ScaledCopy(crop, kW, kH);
        ASSERT_TRUE(want);
        int compared = 0, off = 0;
        for (int y = 3; y < kH - 3; y += 7)
            for (int x = 3; x < kW - 3; x += 11) {
                const std::uint8_t* px = want.data() + y * want.stride() + x * 4;
                off += Distance(shown.At(x, y), RGB(px[2], px[1], px[0])) > 3 ? 1 : 0;
                ++compared;
            }
        EXPECT_EQ(off, 0) << off << " of " << compared << " points differ from the file's part " << part.left;
    }
    const SlideArea part = parts[0];

    // Escape shows the whole slide; so does a page key, which steps as usual.
    ::SendMessageW(p_->viewHwnd(), WM_CHAR, VK_ESCAPE, 1);
    EXPECT_FALSE(TheTalk().Speaker().zoom);
    EXPECT_TRUE(p_->frame()->m_hWnd && ::IsWindow(p_->frame()->m_hWnd)) << "Escape only unzoomed";
    TheTalk().ZoomTo(part);
    const int row = g_currentPage;
    Key(p_->viewHwnd(), VK_NEXT);
    EXPECT_EQ(g_currentPage, row + 1);
    EXPECT_FALSE(TheTalk().Speaker().zoom);
}

// A hotspot opens where it is seen: through the zoom, a click on its enlarged square hits it.
TEST_F(Tools, HotspotsAreHitWhereTheZoomShowsThem) {
    g_currentPage = 0;
    p_->Paint();
    const Hotspot& spot = g_slideDeck[0].pSpots[0];
    const SlideRect whole{0, 0, kW, kH};
    const Square sq = HotspotSquare(whole, spot.x, spot.y);
    const double cx = (sq.x + sq.side / 2.0) / kW, cy = (sq.y + sq.side / 2.0) / kH;
    TheTalk().ZoomTo({cx - 0.1, cy - 0.1, cx + 0.1, cy + 0.1});
    ASSERT_TRUE(TheTalk().Speaker().zoom);
    // The square's centre is now at the window's centre (the part is centred on it).
    EXPECT_EQ(p_->view()->HotspotAt(CPoint(kW / 2, kH / 2)), &spot);
    EXPECT_NE(p_->view()->HotspotAt(CPoint(sq.x + sq.side / 2, sq.y + sq.side / 2)), &spot)
        << "not where the whole slide had it";
}

// F: the show keeps what it shows while the console steps; F again shows the speaker's slide.
TEST_F(Tools, AFreezeKeepsTheShowWhileTheConsoleStepsThenShowsTheSpeakersSlide) {
    const Pixels before = p_->Paint();
    Key(p_->viewHwnd(), 'F');
    EXPECT_FALSE(TheTalk().Frozen()) << "without the console there is nowhere to look ahead";
    CPresenterConsole* console = OpenConsole();
    ASSERT_NE(console, nullptr);
    Key(console->m_hWnd, 'F');
    ASSERT_TRUE(TheTalk().Frozen());
    const int row = g_currentPage;
    Key(console->m_hWnd, VK_NEXT);
    Key(console->m_hWnd, VK_NEXT);
    EXPECT_EQ(g_currentPage, row + 2) << "the speaker moves on";
    Pixels frozen = p_->Paint();
    int same = 0;
    for (int y = 0; y < kH; y += 17)
        for (int x = 0; x < kW; x += 13) same += frozen.At(x, y) == before.At(x, y) ? 1 : 0;
    const int all = ((kH + 16) / 17) * ((kW + 12) / 13);
    EXPECT_EQ(same, all) << "the show keeps exactly what it showed";
    ::UpdateWindow(console->m_hWnd);
    const auto wrote = [&](const std::wstring& text) {
        return std::find(console->m_written.begin(), console->m_written.end(), text) != console->m_written.end();
    };
    EXPECT_TRUE(wrote(L"Frozen"));
    EXPECT_TRUE(wrote(CounterText(row + 2, SLIDE_COUNT))) << "the console shows the speaker's slide";

    Key(console->m_hWnd, 'F');
    EXPECT_FALSE(TheTalk().Frozen());
    const Pixels after = p_->Paint();
    int changed = 0;
    for (int y = 0; y < kH; y += 17)
        for (int x = 0; x < kW; x += 13) changed += after.At(x, y) != before.At(x, y) ? 1 : 0;
    EXPECT_GT(changed, all / 20) << "the speaker's slide, not the frozen one";
    ::UpdateWindow(console->m_hWnd);
    EXPECT_FALSE(wrote(L"Frozen"));
}

}  // namespace
