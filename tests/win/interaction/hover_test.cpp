// Hover feedback on the real view: the label and highlighted marker read back from the
// window, the repaints each transition costs, the pause after a click, and every remover.
#include "interaction_fixture.h"

#include "framework/gdi.h"
#include "pictures/halftone_blit.h"
#include "res/resource.h"
#include "render/geometry.h"
#include "render/geometry.h"

namespace interaction {
namespace {

using testing_win::Pixels;
using testing_win::ReadWindow;

// The waveforms slide: two hotspots side by side, and one labelled with a leading '!'.
constexpr int kWaveforms = 7;
constexpr int kLeftOfPair = 6;
constexpr int kRightOfPair = 7;
constexpr int kBangSpot = 0;

bool Yellowish(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) > 190 && GetBValue(c) < 90; }
bool Blueish(COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 120 && GetGValue(c) < 120; }

// Share of yellow pixels of a square of the window.
double YellowShare(HWND hwnd, int x, int y, int side) {
    const Pixels px = ReadWindow(hwnd, RECT{x, y, x + side, y + side});
    int yellow = 0;
    for (int j = 0; j < px.height; ++j)
        for (int i = 0; i < px.width; ++i) yellow += Yellowish(px.At(i, j)) ? 1 : 0;
    const int all = px.width * px.height;
    return all > 0 ? static_cast<double>(yellow) / all : 0.0;
}

// Paints the whole client white straight onto the window, outside the paint cycle, so that
// what the hover draws can be compared with a reference drawn on white.
void WhiteOut(HWND hwnd) {
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    const fw::WindowDc dc(hwnd);
    ::FillRect(dc.get(), &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

// What the highlight must look like: drawn independently on a white surface of the same size.
struct Expected {
    int markerX, markerY, side;
    const wchar_t* label;  // null: no label
    int labelX, labelY, fontHeight;
};

Pixels Reference(const SIZE& client, const Expected& e, const RECT& part) {
    const BITMAPINFO bi = fw::TopDown32Info(client.cx, client.cy);
    void* bits = nullptr;
    const fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    const fw::Bitmap surface(::CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const fw::ScopedSelect selectSurface(dc.get(), surface.get());
    const RECT all{0, 0, client.cx, client.cy};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (e.label) {
        const fw::Font font(::CreateFontW(e.fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, L"Tahoma"));
        const fw::ScopedSelect selectFont(dc.get(), font.get());
        ::SetTextColor(dc.get(), RGB(0, 0, 255));
        ::SetBkMode(dc.get(), TRANSPARENT);
        ::SetTextAlign(dc.get(), TA_CENTER | TA_BOTTOM);
        ::TextOutW(dc.get(), e.labelX, e.labelY, e.label, static_cast<int>(wcslen(e.label)));
    }
    const fw::Bitmap marker(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MARKER_HOT)));
    fw::HalftoneBlit(dc.get(), e.markerX, e.markerY, e.side, e.side, marker.get());
    return testing_win::ReadDc(dc.get(), part);
}

// Counts the pixels that differ by more than a rounding step in any channel.
int Differences(const Pixels& a, const Pixels& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int n = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const COLORREF p = a.At(x, y), q = b.At(x, y);
            if (std::abs(GetRValue(p) - GetRValue(q)) > 2 || std::abs(GetGValue(p) - GetGValue(q)) > 2 ||
                std::abs(GetBValue(p) - GetBValue(q)) > 2)
                ++n;
        }
    }
    return n;
}

// The bounding box of the blue label pixels.
RECT BlueBox(const Pixels& px) {
    RECT box{px.width, px.height, -1, -1};
    for (int y = 0; y < px.height; ++y) {
        for (int x = 0; x < px.width; ++x) {
            if (!Blueish(px.At(x, y))) continue;
            box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    return box;
}

class Hover : public InteractionTest {
protected:
    // The centre of a hotspot's square of the current slide, in client pixels.
    POINT Centre(int spot) const {
        const Hotspot& h = g_slideDeck[g_currentPage].pSpots[spot];
        const Square sq = HotspotSquare(ToSlideRect(view().m_rcSlide), h.x, h.y);
        return {sq.x + sq.side / 2, sq.y + sq.side / 2};
    }
    const Hotspot* SpotOf(int spot) const { return &g_slideDeck[g_currentPage].pSpots[spot]; }
    void MoveTo(POINT p, UINT flags = 0) { MouseMove(viewHwnd(), p.x, p.y, flags); }
    // Keeps the pointer itself over the view, so the hover timer has no reason to clear anything.
    void ParkPointer() {
        PlacePointer(ScreenPoint(viewHwnd(), 500, 300));
        testing_win::PumpMessages(30);
        Settle();
    }
    // Moves the pointer and waits, without dispatching the moves it causes, until the system
    // reports it there steadily: under Wine a late motion event of the previous position can
    // still reach GetCursorPos for a while.
    static bool PlacePointer(POINT screen) {
        ::SetCursorPos(screen.x, screen.y);
        const DWORD start = ::GetTickCount();
        DWORD steadySince = 0;
        while (::GetTickCount() - start < 3000) {
            POINT now;
            if (::GetCursorPos(&now) && now.x == screen.x && now.y == screen.y) {
                if (!steadySince) steadySince = ::GetTickCount();
                if (::GetTickCount() - steadySince >= 150) return true;
            } else {
                steadySince = 0;
            }
            ::Sleep(5);
        }
        return false;
    }
};

// The label names the file, and says when the file is not there: the speaker sees it before the
// click that would do nothing in front of the audience.
TEST_F(Hover, LabelAndMarkerOnTheListedRectangles) {
    UseProgramFolder(L"hover-labels", {L"Centre.asc", L"Lyon.jpg"});
    struct Case {
        const char* what;
        SIZE client;
        Hotspot spot;
        Expected expected;
    } const cases[] = {
        {"1000 x 600", {1000, 600}, {0.5, 0.5, L"!Centre.asc"}, {491, 291, 18, L"Centre.asc", 500, 291, 13}},
        {"1920 x 1080", {1920, 1080}, {0.205, 0.82, L"Lyon.jpg"}, {376, 177, 35, L"Lyon.jpg", 393, 177, 25}},
        {"a missing file", {1000, 600}, {0.5, 0.5, L"!Gone.asc"}, {491, 291, 18, L"Gone.asc (missing)", 500, 291, 13}},
        {"a missing photo", {1920, 1080}, {0.205, 0.82, L"Gone.jpg"}, {376, 177, 35, L"Gone.jpg (missing)", 393, 177, 25}},
    };
    for (const Case& c : cases) {
        Open(1000, 600);
        // A frame with a 1920 x 1080 client does not fit the screen; the view alone can be that big,
        // and the part around the hotspot stays visible.
        ::MoveWindow(viewHwnd(), 0, 0, c.client.cx, c.client.cy, TRUE);
        Settle();
        ASSERT_EQ(CRect(view().m_rcSlide), CRect(0, 0, c.client.cx, c.client.cy)) << c.what;

        WhiteOut(viewHwnd());
        view().DrawHotspotHover(&c.spot);
        EXPECT_TRUE(view().m_bHover) << c.what;
        EXPECT_EQ(view().m_pHoverSpot, &c.spot) << c.what;

        const Expected& e = c.expected;
        // The label and the marker with a margin around them.
        const RECT around{e.markerX - 100, e.markerY - 50, e.markerX + e.side + 100, e.markerY + e.side + 20};
        const Pixels shown = ReadWindow(viewHwnd(), around);
        EXPECT_EQ(Differences(shown, Reference(c.client, e, around)), 0) << c.what;

        EXPECT_GT(YellowShare(viewHwnd(), e.markerX, e.markerY, e.side), 0.5) << c.what;
        const RECT label = BlueBox(shown);
        EXPECT_LE(label.bottom + around.top, e.labelY) << c.what << ": the label stands on the square's top edge";
        EXPECT_GT(label.bottom + around.top, e.labelY - 5) << c.what;
        EXPECT_NEAR((label.left + label.right) / 2.0 + around.left, e.labelX, 2.0) << c.what;
        // The comparison is not blind to the font: a few pixels taller or shorter draws another label.
        // (Tahoma under Wine draws some neighbouring heights alike, so one pixel is not enough.)
        for (int other : {e.fontHeight - 3, e.fontHeight + 3}) {
            Expected off = e;
            off.fontHeight = other;
            EXPECT_GT(Differences(shown, Reference(c.client, off, around)), 0) << c.what << ": height " << other;
        }
    }
}

// The pointer resting on a hotspot of the deck whose file is not beside the program: the label
// says so. Once the file is there, the next time the pointer comes the label is the name alone.
TEST_F(Hover, ThePointerOnAHotspotWhoseFileIsMissingSaysSo) {
    const std::wstring dir = UseProgramFolder(L"hover-missing", {});
    const std::wstring file = dir + L"\\Centre.asc";
    ::DeleteFileW(file.c_str());
    const Hotspot spots[] = {{0.5, 0.5, L"!Centre.asc"}};
    g_slideDeck[kWaveforms].pSpots = spots;  // the saved globals put the row back
    g_slideDeck[kWaveforms].nSpots = 1;
    Open(1000, 600, kWaveforms);
    ParkPointer();
    const RECT around{391, 241, 609, 329};
    const auto shows = [&](const wchar_t* label) {
        return Differences(ReadWindow(viewHwnd(), around),
                           Reference({1000, 600}, {491, 291, 18, label, 500, 291, 13}, around)) == 0;
    };

    WhiteOut(viewHwnd());
    MoveTo({500, 300});
    EXPECT_TRUE(view().m_bHover);
    EXPECT_TRUE(shows(L"Centre.asc (missing)"));
    EXPECT_FALSE(shows(L"Centre.asc"));

    HANDLE created = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    ::CloseHandle(created);
    MoveTo({100, 100});  // away: the highlight goes with a repaint
    EXPECT_FALSE(view().m_bHover);
    WhiteOut(viewHwnd());
    MoveTo({500, 300});
    EXPECT_TRUE(shows(L"Centre.asc"));
    ::DeleteFileW(file.c_str());
}

TEST_F(Hover, CornerButtonHighlightHasNoLabel) {
    Open(1000, 600, kWaveforms);
    WhiteOut(viewHwnd());
    view().DrawCornerHover();
    EXPECT_TRUE(view().m_bHover);
    EXPECT_EQ(view().m_pHoverSpot, nullptr);
    const RECT all{0, 0, 1000, 600};
    EXPECT_EQ(Differences(ReadWindow(viewHwnd(), all), Reference({1000, 600}, {982, 582, 18, nullptr, 0, 0, 0}, all)), 0);
}

TEST_F(Hover, RepaintsOnlyWhenAHighlightGoes) {
    Open(1000, 600, kWaveforms);
    ParkPointer();
    const POINT left = Centre(kLeftOfPair), right = Centre(kRightOfPair);
    const POINT corner{991, 591}, cornerEdge{1000, 600}, nothing{500, 300};
    struct Step {
        const char* what;
        POINT to;
        int paints;
        bool hover;
        int spot;  // -1: none
    } const steps[] = {
        {"nothing -> nothing", nothing, 0, false, -1},
        {"nothing -> hotspot", left, 0, true, kLeftOfPair},
        {"within the hotspot", {left.x + 4, left.y - 3}, 0, true, kLeftOfPair},
        {"hotspot -> adjacent hotspot", right, 1, true, kRightOfPair},
        {"hotspot -> corner", corner, 1, true, -1},
        {"within the corner", cornerEdge, 0, true, -1},
        {"corner -> hotspot", left, 1, true, kLeftOfPair},
        {"hotspot -> nothing", nothing, 1, false, -1},
        {"nothing -> corner", corner, 0, true, -1},
        {"corner -> nothing", nothing, 1, false, -1},
    };
    PaintCounter paints(viewHwnd());
    for (const Step& s : steps) {
        paints.reset();
        MoveTo(s.to);
        EXPECT_EQ(paints.count(), s.paints) << s.what;
        EXPECT_EQ(view().m_bHover, s.hover) << s.what;
        EXPECT_EQ(view().m_pHoverSpot, s.spot < 0 ? nullptr : SpotOf(s.spot)) << s.what;
    }
}

TEST_F(Hover, TheHighlightIsOnTheWindowUntilARepaintRemovesIt) {
    // The real slide and its markers under the highlight.
    wcsncpy_s(g_appDir, testing_win::DistDir().c_str(), _TRUNCATE);
    Open(1000, 600, kWaveforms);
    ParkPointer();
    const Square sq = HotspotSquare(ToSlideRect(view().m_rcSlide), SpotOf(kBangSpot)->x, SpotOf(kBangSpot)->y);
    const RECT around{sq.x - 80, sq.y - 30, sq.x + sq.side + 80, sq.y + sq.side + 5};
    const RECT above{around.left, around.top, around.right, sq.y};
    const Pixels painted = ReadWindow(viewHwnd(), around);
    EXPECT_LT(YellowShare(viewHwnd(), sq.x, sq.y, sq.side), 0.1);

    MoveTo(Centre(kBangSpot));
    EXPECT_GT(YellowShare(viewHwnd(), sq.x, sq.y, sq.side), 0.5);
    // The label "xprobe.asc", without the '!' that asks for a run, stands above the square.
    const RECT label = BlueBox(ReadWindow(viewHwnd(), above));
    EXPECT_GT(label.right - label.left, 30);
    EXPECT_LE(label.bottom, above.bottom - above.top);
    EXPECT_GT(label.bottom, above.bottom - above.top - 5);
    EXPECT_GT(Differences(ReadWindow(viewHwnd(), around), painted), 0);

    // Moving within the square draws it again over itself, without a repaint in between.
    {
        PaintCounter paints(viewHwnd());
        MoveTo({Centre(kBangSpot).x + 5, Centre(kBangSpot).y + 5});
        EXPECT_EQ(paints.count(), 0);
        EXPECT_GT(YellowShare(viewHwnd(), sq.x, sq.y, sq.side), 0.5);
    }

    MoveTo({500, 300});
    EXPECT_EQ(Differences(ReadWindow(viewHwnd(), around), painted), 0) << "the slide as painted, at once";
}

TEST_F(Hover, DrawingAndRemovingLeavesNoGdiObjectBehind) {
    Open(1000, 600, kWaveforms);
    ParkPointer();
    const POINT path[] = {Centre(kLeftOfPair), Centre(kRightOfPair), {991, 591}, Centre(kBangSpot), {500, 300}};
    auto walk = [&] {
        for (const POINT& p : path) MoveTo(p);
    };
    walk();  // font and bitmap caches fill on first use
    const int before = testing_win::CountGdiObjects();
    for (int i = 0; i < 50; ++i) walk();
    EXPECT_EQ(testing_win::CountGdiObjects(), before);
}

TEST_F(Hover, AButtonShiftOrCtrlDuringTheMoveShowsNothingAndRemovesTheHighlight) {
    Open(1000, 600, kWaveforms);
    ParkPointer();
    const POINT spot = Centre(kLeftOfPair);
    const Square sq = HotspotSquare(ToSlideRect(view().m_rcSlide), SpotOf(kLeftOfPair)->x, SpotOf(kLeftOfPair)->y);
    PaintCounter paints(viewHwnd());
    for (UINT flags : {UINT{MK_LBUTTON}, UINT{MK_RBUTTON}, UINT{MK_SHIFT}, UINT{MK_CONTROL}, UINT{MK_MBUTTON}}) {
        MoveTo(spot);
        ASSERT_TRUE(view().m_bHover);
        paints.reset();
        MoveTo(spot, flags);
        EXPECT_EQ(paints.count(), 1) << flags;
        EXPECT_FALSE(view().m_bHover) << flags;
        EXPECT_EQ(view().m_pHoverSpot, nullptr) << flags;
        paints.reset();
        MoveTo(spot, flags);
        EXPECT_EQ(paints.count(), 0) << flags;
        EXPECT_LT(YellowShare(viewHwnd(), sq.x, sq.y, sq.side), 0.1) << flags;
    }
}

TEST_F(Hover, PausedForOneSecondAfterAnActivatingClick) {
    Open(1000, 600, kWaveforms);
    ParkPointer();
    FakeClock clock(0.0);
    view().m_dClickTime = 1000.5;
    struct Case {
        const char* what;
        double now;
        bool hover;
    } const cases[] = {
        {"at the click", 1000.5, false},
        {"half a second later", 1001.0, false},
        {"exactly one second later", 1001.5, false},
        {"1.001 s later", 1001.501, true},
        {"the clock set back", 990.0, false},
        {"much later", 5000.0, true},
    };
    PaintCounter paints(viewHwnd());
    for (const Case& c : cases) {
        clock.set(c.now);
        MoveTo({500, 300});
        paints.reset();
        MoveTo(Centre(kLeftOfPair));
        EXPECT_EQ(view().m_bHover, c.hover) << c.what;
        EXPECT_EQ(paints.count(), 0) << c.what;
    }
    // A highlight left from before the click goes at the first move within the pause.
    clock.set(1001.501);
    MoveTo(Centre(kLeftOfPair));
    ASSERT_TRUE(view().m_bHover);
    clock.set(1001.2);
    paints.reset();
    MoveTo(Centre(kLeftOfPair));
    EXPECT_FALSE(view().m_bHover);
    EXPECT_EQ(paints.count(), 1);
}

TEST_F(Hover, NothingIsHighlightedInPictureModeAndALeftoverGoes) {
    UseProgramFolder(L"hover-photos", {g_slideDeck[0].pSpots[1].pszTarget});
    Open(1000, 600, 0);
    ParkPointer();
    MoveTo(Centre(0));
    ASSERT_TRUE(view().m_bHover);
    view().EnterPictureMode(SpotOf(1));
    ASSERT_FALSE(view().m_strPicture.empty());
    Settle();
    PaintCounter paints(viewHwnd());
    MoveTo(Centre(0));
    EXPECT_FALSE(view().m_bHover);
    EXPECT_EQ(paints.count(), 1);
    paints.reset();
    MoveTo(Centre(0));
    MoveTo({991, 591});
    EXPECT_FALSE(view().m_bHover);
    EXPECT_EQ(paints.count(), 0);
}

TEST_F(Hover, TheTimerClearsOnlyForThePointerOutsideTheSlide) {
    Open(1000, 600, kWaveforms);
    ParkPointer();
    ASSERT_NE(view().m_nTimerId, 0u) << "the first paint starts the hover timer";
    struct Case {
        const char* what;
        POINT pointer;  // client pixels
        bool ownTimer;
        bool cleared;
    } const cases[] = {
        {"over the slide", {500, 300}, true, false},
        {"on the column past the last one", {1000, 300}, true, false},
        {"on the row past the last one", {500, 600}, true, false},
        {"at the far corner", {1000, 600}, true, false},
        {"two columns past", {1001, 300}, true, true},
        {"below", {500, 601}, true, true},
        {"left of the view", {-1, 300}, true, true},
        {"outside, another timer", {1001, 300}, false, false},
    };
    PaintCounter paints(viewHwnd());
    for (const Case& c : cases) {
        MoveTo(Centre(kLeftOfPair));
        ASSERT_TRUE(view().m_bHover) << c.what;
        ASSERT_TRUE(PlacePointer(ScreenPoint(viewHwnd(), c.pointer.x, c.pointer.y))) << c.what;
        paints.reset();
        const UINT_PTR id = c.ownTimer ? view().m_nTimerId : view().m_nTimerId + 1;
        ::SendMessageW(viewHwnd(), WM_TIMER, id, 0);
        EXPECT_EQ(view().m_bHover, !c.cleared) << c.what;
        EXPECT_EQ(paints.count(), c.cleared ? 1 : 0) << c.what;
    }
    // With nothing shown the timer has nothing to remove.
    MoveTo({500, 300});
    paints.reset();
    ::SendMessageW(viewHwnd(), WM_TIMER, view().m_nTimerId, 0);
    EXPECT_EQ(paints.count(), 0);
}

TEST_F(Hover, ButtonUpFocusLossAndLeavingANonClientAreaRemoveTheHighlight) {
    Open(1000, 600, kWaveforms);
    ParkPointer();
    struct Remover {
        const char* what;
        void (*send)(CMainFrame&, HWND view);
    } const removers[] = {
        {"button up", [](CMainFrame&, HWND v) { ::SendMessageW(v, WM_LBUTTONUP, 0, MAKELPARAM(850, 456)); }},
        {"focus lost", [](CMainFrame&, HWND v) { ::SendMessageW(v, WM_KILLFOCUS, 0, 0); }},
        {"leaving the frame's caption",
         [](CMainFrame& f, HWND) {
             MSG msg{f.m_hWnd, WM_NCMOUSELEAVE, 0, 0, 0, {}};
             f.PreTranslateMessage(&msg);
         }},
        {"leaving another window's non-client area",
         [](CMainFrame& f, HWND v) {
             MSG msg{v, WM_NCMOUSELEAVE, 0, 0, 0, {}};
             f.PreTranslateMessage(&msg);
         }},
    };
    PaintCounter paints(viewHwnd());
    for (const Remover& r : removers) {
        MoveTo(Centre(kLeftOfPair));
        ASSERT_TRUE(view().m_bHover) << r.what;
        paints.reset();
        r.send(frame(), viewHwnd());
        EXPECT_FALSE(view().m_bHover) << r.what;
        EXPECT_EQ(view().m_pHoverSpot, nullptr) << r.what;
        EXPECT_EQ(paints.count(), 1) << r.what;
        paints.reset();
        r.send(frame(), viewHwnd());
        EXPECT_EQ(paints.count(), 0) << r.what << ", with nothing shown";
    }
}

}  // namespace
}  // namespace interaction
