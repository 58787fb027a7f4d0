// The program at 96, 144 and 192 dpi (room_servers.sh runs these tests once at each, in a Wine
// session whose prefix says so: Wine gives every monitor that one DPI): full-screen fits every
// monitor to the pixel, and every text the program draws is in proportion to the DPI. Each run
// writes what it measured to the run's work folder (ROOM_WORK); the runs at 144 and 192 hold their
// figures against those the 96 dpi run wrote.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "console/console_win.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/print_preview.h"
#include "framework/window_dpi.h"
#include "res/resource.h"
#include "room_fixture.h"
#include "render/geometry.h"
#include "view/overlay_drawing_win.h"
#include "view/overview_layout.h"
#include "view/view.h"

namespace room {
namespace {

int RunDpi() {
    const char* dpi = std::getenv("ROOM_DPI");
    return dpi ? std::atoi(dpi) : 0;
}

std::string WorkFolder() {
    const char* work = std::getenv("ROOM_WORK");
    return work ? work : "";
}

// The rows of `rc` in which some pixel passes `ink`: the height of what was written there.
int InkHeight(const Pixels& px, const SlideRect& rc, const std::function<bool(COLORREF)>& ink) {
    int first = -1, last = -1;
    for (int y = std::max(rc.top, 0); y < std::min(rc.bottom, px.height); ++y)
        for (int x = std::max(rc.left, 0); x < std::min(rc.right, px.width); ++x) {
            if (!ink(px.At(x, y))) continue;
            if (first < 0) first = y;
            last = y;
            break;
        }
    return first < 0 ? 0 : last - first + 1;
}

// The bounding box of the pixels of one colour.
SlideRect BoxOf(const Pixels& px, COLORREF colour) {
    SlideRect box{px.width, px.height, 0, 0};
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) {
            if (px.At(x, y) != colour) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    return box;
}

std::function<bool(COLORREF)> Not(COLORREF ground) {
    return [ground](COLORREF c) { return c != ground; };
}

class Dpi : public Room {
protected:
    void SetUp() override {
        Room::SetUp();
        ASSERT_GT(RunDpi(), 0) << "run by room_servers.sh, which sets ROOM_DPI and ROOM_WORK";
        ASSERT_FALSE(WorkFolder().empty());
    }
};

// The prefix's DPI is every window's, and at each one full-screen covers each monitor to the
// pixel, its frame (larger at a higher DPI) just beyond the edges.
TEST_F(Dpi, FullScreenFitsEveryMonitorExactly) {
    for (const int number : {1, 2}) {
        const CRect monitor = MonitorNumbered(number);
        Presenter p(800, 500);
        EXPECT_EQ(fw::WindowDpi(p.frame()->m_hWnd), RunDpi());
        ::SetWindowPos(p.frame()->m_hWnd, nullptr, monitor.left + 20, monitor.top + 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PumpMessages(20);
        p.frame()->OnFullScreen();
        ExpectShowCovers(p.frame(), monitor);
        p.frame()->OnFullScreen();
    }
}

// Every text the program draws, measured on the screen where it is drawn.
TEST_F(Dpi, EveryTextIsInProportionToTheDpi) {
    std::map<std::string, int> measured;
    const CRect laptop = MonitorNumbered(1);
    Presenter p(800, 500);
    p.frame()->OnFullScreen();
    ASSERT_EQ(ClientOnScreen(p.viewHwnd()), laptop);
    const HWND view = p.viewHwnd();
    CPemboroView& v = *p.view();
    const SlideRect client{0, 0, laptop.Width(), laptop.Height()};

    // The hover label: what the hover draws above the hotspot's square, on the first slide with one.
    g_currentPage = 0;
    while (g_currentPage < kLastSlide && g_slideDeck[g_currentPage].nSpots == 0) ++g_currentPage;
    ASSERT_GT(g_slideDeck[g_currentPage].nSpots, 0);
    const Pixels plain = p.Paint();
    const Hotspot& spot = g_slideDeck[g_currentPage].pSpots[0];
    const Square square = HotspotSquare(client, spot.x, spot.y);
    ::SendMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(square.x + square.side / 2, square.y + square.side / 2));
    ASSERT_TRUE(v.m_bHover);
    const Pixels hovered = testing_win::ReadWindow(view);
    int first = -1, last = -1;
    for (int y = 0; y < square.y; ++y)
        for (int x = 0; x < client.right; ++x) {
            if (hovered.At(x, y) == plain.At(x, y)) continue;
            if (first < 0) first = y;
            last = y;
            break;
        }
    measured["hover label"] = first < 0 ? 0 : last - first + 1;
    v.ClearHover();

    // The typed number's digits in their box.
    for (const UINT digit : {'1', '2'}) ::SendMessageW(view, WM_KEYDOWN, digit, 1);
    const Pixels number = p.Paint();
    const SlideRect box = BoxOf(number, kOverlayGround);
    measured["number box"] = InkHeight(number, box, Not(kOverlayGround));
    ::SendMessageW(view, WM_CHAR, VK_ESCAPE, 1);

    // The key help: its table is as many lines high as it has rows, each in proportion to the text.
    ::SendMessageW(view, WM_KEYDOWN, 'H', 1);
    const Pixels help = p.Paint();
    const SlideRect table = BoxOf(help, kOverlayGround);
    measured["key help"] = table.Height();
    EXPECT_GE(table.left, 0);
    EXPECT_LE(table.right, client.right);
    ::SendMessageW(view, WM_CHAR, VK_ESCAPE, 1);

    // The overview's numbers, under their thumbnails.
    ::SendMessageW(view, WM_KEYDOWN, VK_TAB, 1);
    const Pixels overview = p.Paint();
    const OverviewLayout layout = LayOutOverview(client.right, client.bottom, SLIDE_COUNT, RunDpi());
    measured["overview number"] = InkHeight(overview, layout.Label(9), Not(kOverviewGround));
    ::SendMessageW(view, WM_KEYDOWN, VK_TAB, 1);

    // The console's texts, on the projector.
    ::SendMessageW(p.frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    ASSERT_EQ(WindowRect(console->m_hWnd), MonitorNumbered(2));
    ::RedrawWindow(console->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const Pixels page = testing_win::ReadWindow(console->m_hWnd);
    const ConsoleLayout& l = console->m_layout;
    measured["console counter"] = InkHeight(page, l.counter, Not(kConsoleGround));
    measured["console time"] = InkHeight(page, l.elapsed, Not(kConsoleGround));
    measured["console clock"] = InkHeight(page, l.clock, Not(kConsoleGround));
    ::DestroyWindow(console->m_hWnd);

    // The print preview's bar: the height of its buttons' font.
    auto info = std::make_unique<CPrintInfo>();
    info->SetMaxPage(31);
    CPrintPreviewWnd* preview = CPrintPreviewWnd::Open(p.frame(), &v, std::move(info));
    ASSERT_NE(preview, nullptr);
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(preview->Button(AFX_ID_PREVIEW_NEXT), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_NE(::GetObjectW(font, sizeof(lf), &lf), 0);
    measured["print preview bar"] = std::abs(lf.lfHeight);
    preview->Close();
    PumpMessages(50);
    p.frame()->OnFullScreen();

    // Written for the later runs, and held against the 96 dpi run's.
    {
        std::ofstream out(WorkFolder() + "/dpi-" + std::to_string(RunDpi()) + ".txt");
        for (const auto& [name, height] : measured) out << name << "\t" << height << "\n";
    }
    for (const auto& [name, height] : measured) {
        std::printf("%-20s %4d px at %d dpi\n", name.c_str(), height, RunDpi());
        EXPECT_GT(height, 0) << name;
    }
    if (RunDpi() == 96) return;
    std::ifstream in(WorkFolder() + "/dpi-96.txt");
    ASSERT_TRUE(in) << "the 96 dpi run comes first";
    std::string line;
    int compared = 0;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        const std::string name = line.substr(0, tab);
        const int at96 = std::atoi(line.c_str() + tab + 1);
        ASSERT_TRUE(measured.count(name)) << name;
        const double want = at96 * RunDpi() / 96.0;
        // Glyphs are whole pixels, with smoothed edges a row or two of their own: that either way,
        // or 6 % of the height.
        EXPECT_NEAR(measured[name], want, std::max(2.5, want * 0.06)) << name << ": " << at96 << " px at 96 dpi";
        ++compared;
    }
    EXPECT_EQ(compared, static_cast<int>(measured.size()));
}

// With a talk length the two times share a row: at every DPI each stays inside its half, the
// smoothed edges of its digits clear of the box's sides.
TEST_F(Dpi, TheTwoTimesOfATalkWithALengthStayInTheirHalves) {
    Presenter p(800, 500);
    p.frame()->m_talk.SetMinutes(45);
    p.frame()->OnFullScreen();
    ::SendMessageW(p.frame()->m_hWnd, WM_COMMAND, ID_PRESENTER_CONSOLE, 0);
    CPresenterConsole* console = CPresenterConsole::Current();
    ASSERT_NE(console, nullptr);
    ::SendMessageW(p.viewHwnd(), WM_KEYDOWN, VK_NEXT, 1);  // the talk starts: "0:00:00" and "0:45:00"
    p.Paint();
    ::RedrawWindow(console->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const Pixels page = testing_win::ReadWindow(console->m_hWnd);
    const ConsoleLayout& l = console->m_layout;
    ASSERT_GT(l.left.Width(), 0);
    for (const SlideRect& box : {l.elapsed, l.left}) {
        EXPECT_GT(InkHeight(page, box, Not(kConsoleGround)), 0);
        for (const int x : {box.left, box.left + 1, box.right - 2, box.right - 1}) {
            const SlideRect column{x, box.top, x + 1, box.bottom};
            EXPECT_EQ(InkHeight(page, column, Not(kConsoleGround)), 0) << "ink at x " << x << " of a box "
                                                                        << box.left << "-" << box.right;
        }
    }
}

}  // namespace
}  // namespace room
