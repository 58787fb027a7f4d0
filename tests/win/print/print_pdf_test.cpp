// The whole deck printed through the direct print command to the default printer, a real CUPS
// PDF printer: every sheet asked for once, in order, on a printing DC that is the printer's page;
// and in the PDF that comes out, 31 pages with the framed slides, the copyright line and the
// right slides where the page layout puts them.
#include "print_test_support.h"

namespace {

using namespace printtest;

// The rectangle of `r` (printer pixels at `dpi`) in a page rendered at 50 dpi.
struct Scaled {
    double k;
    double operator()(int v) const { return v * k; }
};

// Finds the darkest pixel of a line through the page within +-2 pixels of `expected`.
int DarkestNear(const Pixels& page, bool vertical, int fixed, double expected, int* luma) {
    int best = -1, bestLuma = 256;
    for (int v = static_cast<int>(expected) - 2; v <= static_cast<int>(expected) + 2; ++v) {
        const int l = Luma(vertical ? page.At(fixed, v) : page.At(v, fixed));
        if (l < bestLuma) bestLuma = l, best = v;
    }
    *luma = bestLuma;
    return best;
}

// The top third of each enabled slide's image, coarsely: the closing slide's big logos sit lower.
struct SlideLook {
    int row;
    std::vector<double> signature;
};
const std::vector<SlideLook>& SlideLooks() {
    static const std::vector<SlideLook> looks = [] {
        std::vector<SlideLook> out;
        for (int row = 0; row < SLIDE_COUNT; ++row) {
            if (g_slideDeck[row].nNumber == 0) continue;
            const Pixels slide = LoadPng(testing_win::DistDir() + L"\\" + g_slideDeck[row].pszImage);
            if (slide.width == 0) continue;
            out.push_back({row, Signature(slide, RECT{0, 0, slide.width, slide.height / 3}, 24, 6)});
        }
        return out;
    }();
    return looks;
}

// The enabled row whose slide looks most like `region` of the page.
int MostLikeSlide(const Pixels& page, RECT region) {
    region.bottom = region.top + (region.bottom - region.top) / 3;
    const std::vector<double> printed = Signature(page, region, 24, 6);
    int best = -1;
    double bestDistance = 0;
    for (const SlideLook& look : SlideLooks()) {
        const double d = Distance(printed, look.signature);
        if (best < 0 || d < bestDistance) best = look.row, bestDistance = d;
    }
    return best;
}

TEST(PrintedDeck, DirectPrintGivesThirtyOneSheetsWithFramesCopyrightAndTheRightSlides) {
    REQUIRE_PRINTER();
    DeckState deck;
    ASSERT_EQ(g_enabledPageCount, 62);
    WatchedPresenter presenter(800, 450);
    WatchedView& view = *presenter.view();
    g_currentPage = 12;
    presenter.ViewPixels();
    const PrinterPage printer = DefaultPrinterPage();
    ASSERT_GT(printer.dpi, 0);
    const CString title = presenter.document()->GetTitle();
    ASSERT_EQ(title, L"Circelo Vexa Roundway 2017");

    UnixWorkDir work;
    work.Touch("started");
    std::vector<std::wstring> duringJob;
    view.onSheet = [&](UINT page) {
        if (page != 2) return;
        for (HWND hwnd : ThreadWindows(presenter.frameHwnd())) duringJob.push_back(TextOf(hwnd));
        EXPECT_FALSE(::IsWindowEnabled(presenter.frameHwnd())) << "the frame waits while the job runs";
    };
    WindowWatcher watcher(presenter.frameHwnd(), [](HWND hwnd) { return TextOf(hwnd) == L"Printing"; });
    presenter.Command(ID_FILE_PRINT_DIRECT);

    // The loop: every sheet once, in order, on the printer's page; the slide on screen stays.
    std::vector<UINT> expected(31);
    for (UINT i = 0; i < 31; ++i) expected[i] = i + 1;
    EXPECT_EQ(view.SheetNumbers(), expected);
    for (const WatchedView::Sheet& s : view.sheets) {
        EXPECT_EQ(s.printPageDuring, static_cast<int>(s.page));
        EXPECT_TRUE(s.continueAfter) << s.page;
    }
    for (const WatchedView::Paint& p : view.paints) {
        if (!p.printing) continue;
        EXPECT_EQ(CRect(p.clip), CRect(printer.clip)) << "the printable page is the clip box";
        EXPECT_EQ(p.currentPageAfter, 12);
    }
    EXPECT_EQ(view.m_nPrintPage, 31);
    EXPECT_EQ(g_currentPage, 12);
    EXPECT_NE(std::find(duringJob.begin(), duringJob.end(), L"Printing"), duringJob.end())
        << "a progress window while printing";
    EXPECT_TRUE(::IsWindowEnabled(presenter.frameHwnd()));
    EXPECT_TRUE(ThreadWindows(presenter.frameHwnd()).empty()) << "nothing left standing";
    EXPECT_EQ(watcher.ForcedClosed(), 0) << "no message box";

    // The PDF, named after the document.
    const PdfJob job = WaitForPdf(work, "Circelo_Vexa_Roundway_2017", {1, 31});
    ASSERT_EQ(job.status, 0) << job.info;
    EXPECT_EQ(job.pages, 31) << job.info;

    // Page 1 at 50 dpi: the layout of a clip box (0, 0, W, H) scaled by 50 / dpi.
    const Pixels page1 = LoadPng(work.Windows("page-1.png"));
    ASSERT_GT(page1.width, 0);
    const Scaled at{50.0 / printer.dpi};
    const int H = printer.clip.bottom, W = printer.clip.right;
    const int mid = H >> 1, m = mid >> 4, pw = std::max(m >> 4, 2), half = pw >> 1;
    const RECT upper{m, m, W - m, mid - m}, lower{m, mid, W - m, 2 * mid - 2 * m};
    for (const RECT& r : {upper, lower}) {
        // The frame is pw wide, centred `half` outside the slide: its middle line, scaled.
        const double left = at(r.left - half) - 0.5, right = at(r.right + half) - 0.5;
        const double top = at(r.top - half) - 0.5, bottom = at(r.bottom + half) - 0.5;
        const int midX = static_cast<int>(at((r.left + r.right) / 2)), midY = static_cast<int>(at((r.top + r.bottom) / 2));
        int luma = 0;
        for (int y : {midY - 40, midY, midY + 40}) {
            const int x1 = DarkestNear(page1, false, y, left, &luma);
            EXPECT_LT(luma, 80) << "left frame at x " << left << " row " << y;
            EXPECT_GT(Luma(page1.At(x1 - 3, y)), 240) << "white paper outside the left frame";
            DarkestNear(page1, false, y, right, &luma);
            EXPECT_LT(luma, 80) << "right frame at x " << right << " row " << y;
        }
        for (int x : {midX - 100, midX, midX + 100}) {
            DarkestNear(page1, true, x, top, &luma);
            EXPECT_LT(luma, 80) << "top frame at y " << top << " column " << x;
            DarkestNear(page1, true, x, bottom, &luma);
            EXPECT_LT(luma, 80) << "bottom frame at y " << bottom << " column " << x;
        }
    }
    // Between the halves and in the margins: paper.
    for (int x = static_cast<int>(at(upper.left)) + 2; x < static_cast<int>(at(upper.right)) - 2; x += 7) {
        EXPECT_GT(Luma(page1.At(x, static_cast<int>(at(upper.bottom + half + pw + m / 2)))), 240);
        EXPECT_GT(Luma(page1.At(x, 2)), 240);
    }

    // The copyright line: dark red, centred across the page, its top 1.5 m above the bottom,
    // one text line high (the font's cell is 2 m / 3).
    const int lineTop = H - (m >> 1) - m, cell = 2 * m / 3;
    int red = 0, minX = page1.width, maxX = 0, minY = page1.height, maxY = 0;
    for (int y = static_cast<int>(at(lower.bottom + half + pw)) + 1; y < page1.height; ++y)
        for (int x = 0; x < page1.width; ++x)
            if (Reddish(page1.At(x, y))) {
                ++red;
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    ASSERT_GT(red, 50) << "no copyright line";
    EXPECT_NEAR((minX + maxX + 1) / 2.0, at((0 + W) / 2), 2.0) << "centred";
    EXPECT_GE(minY, at(lineTop) - 2) << "below its top line";
    EXPECT_LE(maxY, at(lineTop + cell) + 2) << "within one line";
    EXPECT_GT(maxX - minX, at(W) / 3) << "a whole line of text";

    // Which slides: rows 0 and 1 on the first page, numbers 61 and 62 (the closing slide) on the last.
    const auto inner = [&](const RECT& r) {
        return RECT{static_cast<int>(at(r.left)) + 2, static_cast<int>(at(r.top)) + 2, static_cast<int>(at(r.right)) - 2,
                    static_cast<int>(at(r.bottom)) - 2};
    };
    EXPECT_EQ(MostLikeSlide(page1, inner(upper)), 0);
    EXPECT_EQ(MostLikeSlide(page1, inner(lower)), 1);
    const Pixels page31 = LoadPng(work.Windows("page-31.png"));
    ASSERT_GT(page31.width, 0);
    EXPECT_EQ(MostLikeSlide(page31, inner(upper)), FindSlideByNumber(61));
    EXPECT_EQ(MostLikeSlide(page31, inner(lower)), kLastSlide);
}

}  // namespace
