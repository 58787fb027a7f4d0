// What the paint draws on a printed or previewed page: two framed slides to a sheet, their
// logos and markers, the copyright line, and the page cursor put back on every path.
#include "paint_fixture.h"

#include "render/geometry.h"
#include "render/print_layout.h"

namespace {

using namespace painttest;
using testing_win::Pixels;
using testing_win::Presenter;

constexpr COLORREF kUpper = RGB(40, 90, 160);
constexpr COLORREF kLower = RGB(160, 120, 40);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kUntouched = RGB(90, 90, 90);
// A page of A4 at 300 dpi, as the PDF printer gives it: mid 1754, margin 109.
constexpr int kPageW = 2479, kPageH = 3508;
constexpr SlideRect kPage{0, 0, kPageW, kPageH};

// On the upper half (109, 109, 2370, 1645), s = 41: the first square fits with its 61 x 63 box,
// the second fits only as a 41 x 41 square, so paper leaves it out.
const Hotspot kSpots[] = {{0.5, 0.5, L"inside.asc"}, {0.985, 0.5, L"edge.asc"}};

bool Reddish(COLORREF c) { return GetRValue(c) > GetGValue(c) + 40 && GetRValue(c) > GetBValue(c) + 40; }

class PrintPaint : public ::testing::Test {
protected:
    void SetUp() override {
        ParkPointer();
        NumberSlides();
        deck_.SolidSlide(0, kUpper);
        deck_.SolidSlide(1, kLower);
        deck_.SolidSlide(FindSlideByNumber(61), kUpper);
        deck_.SolidSlide(kLastSlide, kLower);
    }
    Pixels PrintSheet(int sheet) {
        presenter_.view()->m_nPrintPage = sheet;
        return PaintIntoMemory(presenter_.view(), kPageW, kPageH, true, kUntouched);
    }

    DeckFolder deck_;
    PatchedSpots titleSpots_{0, kSpots, 2};
    PatchedSpots plainSpots_{1, nullptr, 0};
    Presenter presenter_{1000, 600};
};

TEST_F(PrintPaint, FirstSheetHoldsTwoFramedSlidesAndTheCopyrightLine) {
    g_currentPage = 7;
    const Pixels sheet = PrintSheet(1);
    EXPECT_EQ(g_currentPage, 7);
    const SheetLayout layout = LayOutSheet(kPage);
    const SlideRect& up = layout.upper;
    const SlideRect& low = layout.lower;

    EXPECT_EQ(sheet.At(600, 600), kUpper);
    EXPECT_EQ(sheet.At(600, 2400), kLower);
    // The page's own background everywhere else: the margins and the gap.
    EXPECT_EQ(sheet.At(10, 10), kWhite);
    EXPECT_EQ(sheet.At(600, (up.bottom + low.top) / 2), kWhite);
    EXPECT_EQ(sheet.At(kPageW - 10, 600), kWhite);

    // Black frames, 6 units wide (109 >> 4), just outside each slide.
    const SheetFrame frame = FrameAround(up, layout.m);
    ASSERT_EQ(frame.penWidth, 6);
    for (const SlideRect& r : {up, low}) {
        const int midY = (r.top + r.bottom) / 2, midX = (r.left + r.right) / 2;
        const COLORREF inside = r.top == up.top ? kUpper : kLower;
        for (int d = 1; d <= 5; ++d) {
            EXPECT_EQ(sheet.At(r.left - d, midY), RGB(0, 0, 0)) << d;
            EXPECT_EQ(sheet.At(r.right - 1 + d, midY), RGB(0, 0, 0)) << d;
            EXPECT_EQ(sheet.At(midX, r.top - d), RGB(0, 0, 0)) << d;
            EXPECT_EQ(sheet.At(midX, r.bottom - 1 + d), RGB(0, 0, 0)) << d;
        }
        EXPECT_EQ(sheet.At(r.left - 8, midY), kWhite);
        EXPECT_EQ(sheet.At(r.right + 7, midY), kWhite);
        EXPECT_EQ(sheet.At(midX, r.top - 8), kWhite);
        EXPECT_EQ(sheet.At(r.left + 1, midY - 40), inside);
        EXPECT_EQ(sheet.At(r.right - 2, midY - 40), inside);
    }

    // Markers: the corner button of each half, the inner hotspot, not the one at the edge.
    const int s = SquareSizeFor(up).s;
    ASSERT_EQ(s, 41);
    const Pixels marker = RenderBitmap(302, s, s);
    EXPECT_TRUE(RegionMatches(sheet, up.right - s, up.bottom - s, marker));
    EXPECT_TRUE(RegionMatches(sheet, low.right - s, low.bottom - s, marker));
    const Square inside = HotspotSquare(up, kSpots[0].x, kSpots[0].y);
    EXPECT_TRUE(RegionMatches(sheet, inside.x, inside.y, marker));
    // The edge hotspot's own square: it would fit as drawn, but the bitmap's own box would not.
    BITMAP own{};
    {
        const fw::Bitmap bitmap(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(302)));
        ASSERT_TRUE(bitmap);
        ::GetObjectW(bitmap.get(), sizeof own, &own);
    }
    const Square edge = HotspotSquare(up, kSpots[1].x, kSpots[1].y);
    ASSERT_TRUE(MarkerFitsOnPaper(up, edge.x, edge.y, s, s));
    ASSERT_FALSE(MarkerFitsOnPaper(up, edge.x, edge.y, own.bmWidth, own.bmHeight));
    EXPECT_TRUE(RegionIs(sheet, RECT{edge.x, edge.y, edge.x + s, edge.y + s}, kUpper)) << "left out on paper";

    // Logos on both halves; no copyright image on paper.
    const int h = Trunc(up.Height() * 0.063);
    EXPECT_TRUE(RegionMatches(sheet, up.left, up.bottom - h, RenderBitmap(312, RoundHalfUp(1233.0 * h / 393.0), h)));
    const Pixels notice = RenderBitmap(300, Trunc(up.right * 0.3), RoundHalfUp(up.Height() * 0.03));
    EXPECT_FALSE(RegionMatches(sheet, Trunc(up.right * 0.35), up.bottom - notice.height, notice));

    // The copyright line: dark red text centred in the strip below the lower slide, nowhere else.
    const CopyrightLine line = PlaceCopyrightLine(kPage, layout.m);
    int red = 0, left = kPageW, right = 0;
    for (int y = low.bottom + 2; y < kPageH; ++y)
        for (int x = 0; x < kPageW; ++x)
            if (Reddish(sheet.At(x, y))) {
                ++red;
                EXPECT_GE(y, line.y) << "text above its top";
                EXPECT_LT(y, line.y + line.fontHeight) << "text below its cell";
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GT(red, 100);
    EXPECT_LE(std::abs((left + right) / 2 - line.x), 3) << "centred on the page";
}

TEST_F(PrintPaint, LastSheetHoldsTheClosingSlideAndSheetBeyondDrawsNothing) {
    g_currentPage = 12;
    const Pixels last = PrintSheet(31);
    EXPECT_EQ(last.At(600, 600), kUpper);
    EXPECT_EQ(last.At(600, 2400), kLower);
    EXPECT_EQ(g_currentPage, 12);

    const Pixels beyond = PrintSheet(32);
    EXPECT_TRUE(RegionIs(beyond, RECT{0, 0, kPageW, kPageH}, kUntouched)) << "not even the page fill";
    EXPECT_EQ(g_currentPage, 12);
}

TEST_F(PrintPaint, OddCountLeavesTheLowerHalfEmpty) {
    g_slideDeck[kLastSlide].nNumber = 0;
    NumberSlides();
    ASSERT_EQ(g_enabledPageCount, 61);
    g_currentPage = 3;
    const Pixels last = PrintSheet(31);
    EXPECT_EQ(g_currentPage, 3);
    const SheetLayout layout = LayOutSheet(kPage);
    EXPECT_EQ(last.At(600, 600), kUpper);
    EXPECT_EQ(last.At(layout.upper.left - 1, 800), RGB(0, 0, 0)) << "the upper frame";
    // No slide, frame, logo or marker in the lower half; the copyright line is still there.
    EXPECT_TRUE(RegionIs(last, RECT{0, layout.lower.top - 10, kPageW, layout.lower.bottom + 10}, kWhite));
    int red = 0;
    for (int y = layout.lower.bottom + 10; y < kPageH; ++y)
        for (int x = 0; x < kPageW; ++x) red += Reddish(last.At(x, y));
    EXPECT_GT(red, 100);
}

}  // namespace
