// The paint of a slide on screen, read back from the real window (1000 x 600) and from a real
// memory DC (1920 x 1080): slide, markers, corner button, logos by slide and switch, notice.
#include "paint_fixture.h"

#include "render/branding_layout.h"
#include "render/geometry.h"

namespace {

using namespace painttest;
using testing_win::Pixels;
using testing_win::Presenter;

constexpr COLORREF kSlide = RGB(40, 90, 160);
constexpr int kPlain = 1;           // a regular slide without hotspots of its own
constexpr int kTitle = 0;
constexpr int kClosing = kLastSlide;
const Hotspot kCentre[] = {{0.5, 0.5, L"centre.asc"}};
const Hotspot kListed1920[] = {{0.205, 0.82, L"listed.asc"}};

class SlidePaint : public ::testing::Test {
protected:
    void SetUp() override {
        ParkPointer();
        for (int row : {kTitle, kPlain, kClosing}) deck_.SolidSlide(row, kSlide);
    }
    DeckFolder deck_;
    PatchedSpots centre_{kPlain, kCentre, 1};
    PatchedSpots noTitleSpots_{kTitle, nullptr, 0};
};

struct LayoutCase {
    const char* what;
    int slide;
    int brandLogoId, secondLogoId;
    std::vector<Drawn> expected;
};

TEST_F(SlidePaint, LayoutsOfA1000x600Window) {
    const Drawn corner{302, Box(982, 582, 18, 18)};
    const Drawn notice{300, Box(350, 582, 300, 18)};
    const Drawn centreMarker{302, Box(491, 291, 18, 18)};
    const Drawn bigBrand{315, Box(25, 249, 450, 126)}, bigParent{312, Box(525, 232, 450, 143)};
    const LayoutCase cases[] = {
        {"no switch", kPlain, 0, 312, {centreMarker, corner, notice, {312, Box(0, 564, 113, 36)}}},
        {"title slide", kTitle, 0, 312, {corner, notice, {312, Box(0, 563, 116, 37)}}},
        {"parent switch", kPlain, 312, 315,
         {centreMarker, corner, notice, {315, Box(0, 564, 128, 36)}, {312, Box(867, 564, 113, 36)}}},
        {"partner switch", kPlain, 304, 312,
         {centreMarker, corner, notice, {312, Box(0, 564, 113, 36)}, {304, Box(890, 564, 90, 36)}}},
        {"closing slide", kClosing, 0, 312, {corner, notice, bigBrand, bigParent}},
        {"closing slide, parent switch", kClosing, 312, 315, {corner, notice, bigBrand, bigParent}},
        {"closing slide, partner 304", kClosing, 304, 312,
         {corner, notice, bigBrand, bigParent, {304, Box(413, 397, 225, 90)}}},
        {"closing slide, partner 306", kClosing, 306, 312,
         {corner, notice, bigBrand, bigParent, {306, Box(413, 432, 225, 55)}}},
    };
    Presenter p(1000, 600);
    ASSERT_NE(p.view(), nullptr);
    for (const LayoutCase& c : cases) {
        g_currentPage = c.slide;
        g_brandLogoId = c.brandLogoId;
        g_secondLogoId = c.secondLogoId;
        const Pixels shot = p.Paint();
        ASSERT_EQ(shot.width, 1000);
        ASSERT_EQ(shot.height, 600);
        EXPECT_EQ(CRect(p.view()->m_rcSlide), CRect(0, 0, 1000, 600)) << c.what;
        ExpectDrawnExactly(shot, c.expected, kSlide, c.what);
        // The slide itself covers the whole client area, corners included.
        for (const POINT pt : {POINT{0, 0}, POINT{999, 0}, POINT{500, 100}, POINT{0, 400}})
            EXPECT_EQ(shot.At(pt.x, pt.y), kSlide) << c.what << " at " << pt.x << "," << pt.y;
    }
}

TEST_F(SlidePaint, LayoutsOfA1920x1080ClientArea) {
    PatchedSpots listed(kPlain, kListed1920, 1);
    Presenter p(1000, 600);
    ASSERT_NE(p.view(), nullptr);
    const Drawn corner{302, Box(1885, 1045, 35, 35)};
    const Drawn notice{300, Box(672, 1048, 576, 32)};
    const SlideRect full{0, 0, 1920, 1080};
    const auto big = [&](LogoSlot slot, int id, int w, int h) {
        const Placement at = PlaceLogo(slot, full, kClosing, w, h);
        return Drawn{id, Box(at.x, at.y, at.w, at.h)};
    };
    const LayoutCase cases[] = {
        {"no switch", kPlain, 0, 312, {{302, Box(376, 177, 35, 35)}, corner, notice, {312, Box(0, 1016, 201, 64)}}},
        {"title slide", kTitle, 0, 312, {corner, notice, {312, Box(0, 1012, 213, 68)}}},
        {"partner switch", kPlain, 304, 312,
         {{302, Box(376, 177, 35, 35)}, corner, notice, {312, Box(0, 1016, 201, 64)}, {304, Box(1721, 1016, 160, 64)}}},
        {"closing slide, partner 311", kClosing, 311, 312,
         {corner, notice, big(LogoSlot::BigLeft, 315, 1820, 512), big(LogoSlot::BigRight, 312, 1233, 393),
          big(LogoSlot::Partner, 311, 1988, 526)}},
    };
    for (const LayoutCase& c : cases) {
        g_currentPage = c.slide;
        g_brandLogoId = c.brandLogoId;
        g_secondLogoId = c.secondLogoId;
        const Pixels shot = PaintIntoMemory(p.view(), 1920, 1080);
        EXPECT_EQ(CRect(p.view()->m_rcSlide), CRect(0, 0, 1920, 1080)) << c.what;
        ExpectDrawnExactly(shot, c.expected, kSlide, c.what);
        EXPECT_EQ(shot.At(1919, 0), kSlide) << c.what;
    }
}

// Markers lie over the logos, and a later hotspot's marker over an earlier one's. On a 1000 x 600
// window the parent logo takes (0, 564)-(113, 600); two markers of 18 sit on it, the second
// 8 pixels right of the first. The marker's dark frame tells which of the two lies on top.
TEST_F(SlidePaint, MarkersLieOverLogosAndLaterMarkersOverEarlierOnes) {
    const Hotspot overlapping[] = {{0.05, 0.03, L"first.asc"}, {0.058, 0.03, L"second.asc"}};
    PatchedSpots spots(kPlain, overlapping, 2);
    Presenter p(1000, 600);
    g_currentPage = kPlain;
    const Pixels shot = p.Paint();
    const SlideRect rc{0, 0, 1000, 600};
    const Square first = HotspotSquare(rc, overlapping[0].x, overlapping[0].y);
    const Square second = HotspotSquare(rc, overlapping[1].x, overlapping[1].y);
    const RECT logoBox = Box(0, 564, 113, 36);
    ASSERT_EQ(first.side, 18);
    ASSERT_TRUE(first.x < second.x && second.x < first.x + first.side && first.y == second.y);
    ASSERT_TRUE(Inside(logoBox, first.x, first.y) && Inside(logoBox, second.x + 17, second.y + 17));

    const Pixels marker = RenderBitmap(302, 18, 18);
    EXPECT_TRUE(RegionMatches(shot, second.x, second.y, marker)) << "the later marker, whole";
    const int shown = second.x - first.x;  // of the first, the columns the second leaves
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < shown; ++x)
            ASSERT_LE(Distance(shot.At(first.x + x, first.y + y), marker.At(x, y)), 2) << x << "," << y;
    const Pixels logo = RenderBitmap(312, 113, 36);
    const RECT covered{first.x, first.y, second.x + 18, second.y + 18};
    for (int y = logoBox.top; y < logoBox.bottom; ++y) {
        for (int x = logoBox.left; x < logoBox.right; ++x) {
            if (Inside(covered, x, y)) continue;
            ASSERT_LE(Distance(shot.At(x, y), logo.At(x, y - logoBox.top)), 2) << "the logo at " << x << "," << y;
        }
    }
}

TEST_F(SlidePaint, HalvedOnePixelCheckerboardIsUniformMidGrey) {
    ASSERT_TRUE(WriteImage(deck_.SlidePath(kPlain), 2000, 1200, GUID_ContainerFormatPng,
                           [](int x, int y) { return (x + y) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0); }));
    PatchedSpots none(kPlain, nullptr, 0);
    Presenter p(1000, 600);
    g_currentPage = kPlain;
    const Pixels shot = p.Paint();
    const COLORREF grey = shot.At(0, 0);
    EXPECT_TRUE(GetRValue(grey) == 127 || GetRValue(grey) == 128) << Show(grey);
    // Above the logos and the notice the whole slide is the one grey.
    EXPECT_TRUE(RegionIs(shot, RECT{0, 0, 1000, 560}, grey));
}

TEST_F(SlidePaint, OutOfRangePageIsClampedAndStored) {
    deck_.SolidSlide(kTitle, RGB(200, 30, 30));
    deck_.SolidSlide(kClosing, RGB(30, 200, 30));
    Presenter p(1000, 600);
    for (const auto& [page, row, colour] :
         {std::tuple{-3, kTitle, RGB(200, 30, 30)}, std::tuple{70, kClosing, RGB(30, 200, 30)}}) {
        g_currentPage = page;
        const Pixels shot = p.Paint();
        EXPECT_EQ(g_currentPage, row) << "from " << page;
        EXPECT_EQ(shot.At(500, 100), colour) << "from " << page;
    }
}

TEST_F(SlidePaint, MissingSlideShowsTheBackgroundUnderLogosAndMarkers) {
    g_currentPage = kPlain;
    std::filesystem::remove(deck_.SlidePath(kPlain));
    Presenter p(1000, 600);
    const Pixels shot = p.Paint();
    EXPECT_EQ(shot.At(500, 100), RGB(255, 255, 255));
    EXPECT_TRUE(RegionMatches(shot, 982, 582, RenderBitmap(302, 18, 18)));
    EXPECT_TRUE(RegionMatches(shot, 491, 291, RenderBitmap(302, 18, 18)));
    EXPECT_TRUE(RegionMatches(shot, 0, 564, RenderBitmap(312, 113, 36)));
    EXPECT_TRUE(RegionMatches(shot, 350, 582, RenderBitmap(300, 300, 18)));
}

TEST_F(SlidePaint, PaintOfOnlyAStripRedrawsTheStripInPlace) {
    g_currentPage = kPlain;
    Presenter p(1000, 600);
    const Pixels before = p.Paint();
    ASSERT_EQ(before.At(700, 300), kSlide);
    // The slide changes on disk; only the bottom strip is repainted.
    const COLORREF changed = RGB(220, 180, 20);
    deck_.SolidSlide(kPlain, changed);
    const RECT strip{0, 580, 1000, 600};
    ::InvalidateRect(p.viewHwnd(), &strip, FALSE);
    ::UpdateWindow(p.viewHwnd());
    const Pixels after = testing_win::ReadWindow(p.viewHwnd());
    for (int y = 0; y < 580; ++y)
        for (int x = 0; x < 1000; ++x)
            ASSERT_EQ(after.At(x, y), before.At(x, y)) << "outside the strip at " << x << "," << y;
    EXPECT_EQ(after.At(700, 590), changed);
    EXPECT_EQ(after.At(200, 599), changed);
    // Markers and logos cut by the strip are drawn at the same client coordinates.
    EXPECT_TRUE(RegionMatches(after, 982, 582, RenderBitmap(302, 18, 18)));
    const Pixels logo = RenderBitmap(312, 113, 36);
    for (int y = 580; y < 600; ++y)
        for (int x = 0; x < 113; ++x) ASSERT_LE(Distance(after.At(x, y), logo.At(x, y - 564)), 2) << x << "," << y;
}

TEST_F(SlidePaint, ViewNeverErasesAndStartsOneHoverTimer) {
    g_currentPage = kPlain;
    Presenter p(1000, 600);
    p.Paint();
    const UINT_PTR timer = p.view()->m_nTimerId;
    EXPECT_NE(timer, 0u);
    p.Paint();
    EXPECT_EQ(p.view()->m_nTimerId, timer);

    MemoryPage page(50, 50, RGB(1, 2, 3));
    EXPECT_NE(::SendMessageW(p.viewHwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(page.dc()), 0), 0);
    EXPECT_TRUE(RegionIs(page.Read(), RECT{0, 0, 50, 50}, RGB(1, 2, 3)));
}

TEST_F(SlidePaint, BigModesFirstPaintOnlyEntersFullScreen) {
    g_currentPage = kPlain;
    Presenter p(1000, 600);
    CMainFrame* frame = p.frame();
    ASSERT_FALSE(frame->m_bFullScreen);
    g_bigMode = true;

    // A print or preview call leaves the request pending.
    PatchedSpots none(kPlain, nullptr, 0);
    PaintIntoMemory(p.view(), 400, 600, true);
    EXPECT_TRUE(g_bigMode);
    EXPECT_FALSE(frame->m_bFullScreen);

    MemoryPage page(1000, 600, RGB(1, 2, 3));
    {
        CBorrowedDC dc(page.dc());
        p.view()->OnDraw(&dc);
    }
    EXPECT_FALSE(g_bigMode);
    EXPECT_TRUE(frame->m_bFullScreen);
    EXPECT_TRUE(RegionIs(page.Read(), RECT{0, 0, 1000, 600}, RGB(1, 2, 3))) << "the first paint draws nothing";

    // The paints that follow draw the slide and toggle nothing.
    testing_win::PumpMessages(50);
    const Pixels shot = testing_win::ReadWindow(p.viewHwnd(), RECT{100, 100, 200, 200});
    EXPECT_EQ(shot.At(50, 50), kSlide);
    EXPECT_TRUE(frame->m_bFullScreen);
    frame->OnFullScreen();
    EXPECT_FALSE(frame->m_bFullScreen);
}

TEST_F(SlidePaint, RepeatedPaintsHoldNoGdiObjects) {
    g_currentPage = kPlain;
    g_brandLogoId = 304;
    Presenter p(1000, 600);
    p.Paint();
    PaintIntoMemory(p.view(), 1000, 600, true);
    const int before = testing_win::CountGdiObjects();
    for (int i = 0; i < 5; ++i) {
        g_currentPage = i % 2 ? kPlain : kClosing;
        p.Paint();
        PaintIntoMemory(p.view(), 1000, 600, true);
    }
    EXPECT_EQ(testing_win::CountGdiObjects(), before);
}

}  // namespace
