// The off-screen surface over real DCs: covering the clip box, the mapping carried over, one
// copy back at the end, the page drawn on directly, and a refused surface dropping the paint.
#include "paint_fixture.h"

#include "render/memldc.h"

namespace {

using namespace painttest;
using testing_win::Pixels;

constexpr COLORREF kBefore = RGB(90, 90, 90);
constexpr COLORREF kBackground = RGB(10, 200, 30);
constexpr COLORREF kInk = RGB(200, 20, 120);

void Fill(HDC dc, const RECT& rc, COLORREF c) {
    const fw::Brush brush(::CreateSolidBrush(c));
    ::FillRect(dc, &rc, brush.get());
}

TEST(MemLDC, WholeAreaIsComposedOffScreenAndCopiedOnceAtTheEnd) {
    MemoryPage target(1000, 600, kBefore);
    ::SetBkColor(target.dc(), kBackground);
    CBorrowedDC dc(target.dc());
    {
        CMemLDC surface(&dc);
        ASSERT_TRUE(surface.IsReady());
        EXPECT_NE(surface.m_hDC, target.dc());
        BITMAP bm{};
        ::GetObjectW(::GetCurrentObject(surface.m_hDC, OBJ_BITMAP), sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, 1000);
        EXPECT_EQ(bm.bmHeight, 600);
        POINT origin{-1, -1};
        ::GetWindowOrgEx(surface.m_hDC, &origin);
        EXPECT_EQ(origin.x, 0);
        EXPECT_EQ(origin.y, 0);
        Fill(surface.m_hDC, RECT{100, 100, 200, 150}, kInk);
        // Nothing reaches the target before the surface ends.
        EXPECT_TRUE(RegionIs(target.Read(), RECT{0, 0, 1000, 600}, kBefore));
    }
    const Pixels after = target.Read();
    EXPECT_EQ(after.At(0, 0), kBackground);
    EXPECT_EQ(after.At(999, 599), kBackground);
    EXPECT_TRUE(RegionIs(after, RECT{100, 100, 200, 150}, kInk));
    EXPECT_EQ(after.At(99, 100), kBackground);
    EXPECT_EQ(after.At(200, 149), kBackground);
}

TEST(MemLDC, StripOfTheClipBoxLandsInPlace) {
    MemoryPage target(1000, 600, kBefore);
    ::IntersectClipRect(target.dc(), 0, 580, 1000, 600);
    CBorrowedDC dc(target.dc());
    {
        CMemLDC surface(&dc);
        ASSERT_TRUE(surface.IsReady());
        // A picture of the whole area in client coordinates: bands 10 rows high.
        Fill(surface.m_hDC, RECT{0, 0, 1000, 590}, kInk);
        Fill(surface.m_hDC, RECT{0, 590, 1000, 600}, kBackground);
        Fill(surface.m_hDC, RECT{990, 585, 1000, 595}, RGB(1, 2, 3));
        BITMAP bm{};
        ::GetObjectW(::GetCurrentObject(surface.m_hDC, OBJ_BITMAP), sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, 1000);
        EXPECT_EQ(bm.bmHeight, 20) << "a bitmap over the strip only";
        POINT origin{};
        ::GetWindowOrgEx(surface.m_hDC, &origin);
        EXPECT_EQ(origin.y, 580) << "its first pixel stands for the strip's top-left corner";
    }
    ::SelectClipRgn(target.dc(), nullptr);
    const Pixels after = target.Read();
    EXPECT_TRUE(RegionIs(after, RECT{0, 0, 1000, 580}, kBefore));
    EXPECT_TRUE(RegionIs(after, RECT{0, 580, 990, 590}, kInk));
    EXPECT_TRUE(RegionIs(after, RECT{0, 590, 990, 600}, kBackground));
    EXPECT_TRUE(RegionIs(after, RECT{990, 585, 1000, 595}, RGB(1, 2, 3)));
}

TEST(MemLDC, ScaledMappingKeepsLogicalCoordinates) {
    MemoryPage target(1000, 600, kBefore);
    ::SetMapMode(target.dc(), MM_ANISOTROPIC);
    ::SetWindowExtEx(target.dc(), 2000, 1200, nullptr);
    ::SetViewportExtEx(target.dc(), 1000, 600, nullptr);
    ::SetBkColor(target.dc(), kBackground);
    CBorrowedDC dc(target.dc());
    {
        CMemLDC surface(&dc);
        ASSERT_TRUE(surface.IsReady());
        BITMAP bm{};
        ::GetObjectW(::GetCurrentObject(surface.m_hDC, OBJ_BITMAP), sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, 1000) << "sized in device pixels";
        EXPECT_EQ(bm.bmHeight, 600);
        Fill(surface.m_hDC, RECT{1000, 600, 2000, 1200}, kInk);  // the lower right quarter
    }
    ::SetMapMode(target.dc(), MM_TEXT);
    const Pixels after = target.Read();
    EXPECT_TRUE(RegionIs(after, RECT{500, 300, 1000, 600}, kInk));
    EXPECT_EQ(after.At(499, 299), kBackground);
    EXPECT_EQ(after.At(0, 0), kBackground);
}

TEST(MemLDC, PrintingDrawsStraightOntoThePage) {
    MemoryPage page(400, 300, kBefore);
    const HDC pageDc = page.dc();
    {
        CBorrowedDC dc(pageDc);
        dc.m_bPrinting = TRUE;
        {
            CMemLDC surface(&dc);
            ASSERT_TRUE(surface.IsReady());
            EXPECT_EQ(surface.m_hDC, pageDc);
            EXPECT_TRUE(surface.m_bPrinting);
            // The page's background fill and the drawing are there at once.
            Fill(surface.m_hDC, RECT{10, 10, 20, 20}, kInk);
            const Pixels during = page.Read();
            EXPECT_EQ(during.At(0, 0), RGB(255, 255, 255));
            EXPECT_EQ(during.At(15, 15), kInk);
        }
    }
    // The page's DC outlives the surface.
    EXPECT_EQ(::GetObjectType(pageDc), static_cast<DWORD>(OBJ_MEMDC));
    Fill(pageDc, RECT{0, 0, 5, 5}, kInk);
    EXPECT_EQ(page.Read().At(2, 2), kInk);
}

TEST(MemLDC, RefusedSurfaceDropsThePaint) {
    // A target whose handle the platform no longer knows: no memory DC can be made for it.
    HDC gone = ::CreateCompatibleDC(nullptr);
    ::DeleteDC(gone);
    CBorrowedDC dc(gone);
    {
        CMemLDC surface(&dc);
        EXPECT_FALSE(surface.IsReady());
        EXPECT_EQ(surface.m_hDC, nullptr);
    }
    // A target with nothing to repaint makes no surface either.
    MemoryPage target(100, 100, kBefore);
    ::IntersectClipRect(target.dc(), 50, 50, 50, 50);
    CBorrowedDC empty(target.dc());
    {
        CMemLDC surface(&empty);
        EXPECT_FALSE(surface.IsReady());
    }
    ::SelectClipRgn(target.dc(), nullptr);
    EXPECT_TRUE(RegionIs(target.Read(), RECT{0, 0, 100, 100}, kBefore));
}

TEST(MemLDC, HoldsNoGdiObjectsAfterwards) {
    MemoryPage target(800, 600, kBefore);
    CBorrowedDC dc(target.dc());
    { CMemLDC warmUp(&dc); }
    const int before = testing_win::CountGdiObjects();
    for (int i = 0; i < 10; ++i) {
        CMemLDC surface(&dc);
        Fill(surface.m_hDC, RECT{0, 0, 10, 10}, kInk);
    }
    EXPECT_EQ(testing_win::CountGdiObjects(), before);
}

}  // namespace
