// Print preview in the real frame: it takes the view's place, shows the printer's pages drawn by
// the view's printing paint, pages with Page Down and Page Up, shows one or two pages, zooms,
// prints, and closes with Escape to the slide exactly as it was.
#include "print_test_support.h"

namespace {

using namespace printtest;

const wchar_t* const kBarCaptions[] = {L"&Print...", L"&Next Page", L"Pre&v Page", L"&Two Page",
                                       L"Zoom &In",  L"Zoom &Out",  L"&Close"};
const UINT kBarIds[] = {AFX_ID_PREVIEW_PRINT,  AFX_ID_PREVIEW_NEXT,    AFX_ID_PREVIEW_PREV, AFX_ID_PREVIEW_NUMPAGE,
                        AFX_ID_PREVIEW_ZOOMIN, AFX_ID_PREVIEW_ZOOMOUT, AFX_ID_PREVIEW_CLOSE};

// The sheets on the page area's grey ground, left to right along its middle row.
std::vector<RECT> SheetsShown(const Pixels& area) {
    const COLORREF ground = area.At(1, 1);
    const COLORREF shadow = RGB(64, 64, 64);
    const auto isSheet = [&](int x, int y) {
        const COLORREF c = area.At(x, y);
        return c != ground && c != shadow && c != CLR_INVALID;
    };
    std::vector<RECT> sheets;
    const int y = area.height / 2;
    for (int x = 0; x < area.width; ++x) {
        if (!isSheet(x, y)) continue;
        RECT r{x, y, x, y};
        while (isSheet(r.right, y)) ++r.right;
        const int mx = (r.left + r.right) / 2;
        while (isSheet(mx, r.top - 1)) --r.top;
        r.bottom = y;
        while (isSheet(mx, r.bottom)) ++r.bottom;
        sheets.push_back(r);
        x = r.right;
    }
    return sheets;
}

class PrintPreview : public ::testing::Test {
protected:
    void SetUp() override {
        REQUIRE_PRINTER();  // the preview shows a printer's pages
        ::SetCursorPos(1919, 1079);
        g_currentPage = 12;
    }
    CPrintPreviewWnd* Open() {
        presenter_.Command(ID_FILE_PRINT_PREVIEW);
        CPrintPreviewWnd* preview = presenter_.preview();
        if (preview) Pump(200);
        return preview;
    }
    void Pump(DWORD ms = 0) { PumpLikeTheApp(presenter_.frame(), ms); }
    // Until the preview is gone: it goes from the message loop, after its own handlers.
    bool PumpUntilClosed(HWND previewHwnd) {
        return PumpLikeTheAppUntil(
            presenter_.frame(), [&] { return !presenter_.preview() && !::IsWindow(previewHwnd); }, 5000);
    }
    Pixels PageArea(CPrintPreviewWnd* preview) {
        ::UpdateWindow(preview->PageArea());
        return testing_win::ReadWindow(preview->PageArea());
    }
    void Key(WORD vk) {
        PressKey(vk);
        Pump(60);
    }
    DeckState deck_;
    WatchedPresenter presenter_{1000, 700};
};

TEST_F(PrintPreview, TakesTheViewsPlacePagesWithTheKeysAndEscapeReturnsToTheSameSlide) {
    const Pixels before = presenter_.ViewPixels();
    CPrintPreviewWnd* preview = Open();
    ASSERT_NE(preview, nullptr);
    const HWND previewHwnd = preview->m_hWnd;
    EXPECT_FALSE(::IsWindowVisible(presenter_.view()->m_hWnd));
    EXPECT_TRUE(::IsWindowVisible(previewHwnd));
    RECT client{}, shown{};
    ::GetClientRect(presenter_.frameHwnd(), &client);
    ::GetClientRect(previewHwnd, &shown);
    EXPECT_EQ(CRect(shown), CRect(client));
    EXPECT_TRUE(preview->Info().m_bPreview);
    EXPECT_EQ(preview->Info().GetMaxPage(), 31u);
    EXPECT_EQ(preview->CurrentPage(), 1u);
    EXPECT_EQ(preview->PagesShown(), 1);

    // The bar: its buttons left to right across the top, the page area below.
    RECT area{};
    ::GetWindowRect(preview->PageArea(), &area);
    int lastX = -1;
    for (size_t i = 0; i < std::size(kBarIds); ++i) {
        const HWND button = preview->Button(kBarIds[i]);
        ASSERT_NE(button, nullptr) << i;
        EXPECT_EQ(TextOf(button), kBarCaptions[i]);
        RECT r{};
        ::GetWindowRect(button, &r);
        EXPECT_GT(r.left, lastX) << i;
        EXPECT_LE(r.bottom, area.top) << i;
        lastX = r.left;
    }
    EXPECT_FALSE(::IsWindowEnabled(preview->Button(AFX_ID_PREVIEW_PREV))) << "on the first page";
    EXPECT_FALSE(::IsWindowEnabled(preview->Button(AFX_ID_PREVIEW_ZOOMOUT))) << "whole pages already";

    // The printing paint drew sheet 1, and the slide on screen stayed.
    ASSERT_FALSE(presenter_.view()->sheets.empty());
    EXPECT_EQ(presenter_.view()->sheets.back().page, 1u);
    EXPECT_EQ(g_currentPage, 12);

    // Page Down and Page Up through the system's input queue, with the focus on the pages and on
    // a button of the bar; the first page is as far back as it goes.
    Key(VK_NEXT);
    EXPECT_EQ(preview->CurrentPage(), 2u);
    EXPECT_EQ(presenter_.view()->sheets.back().page, 2u) << "the new page was drawn";
    Key(VK_NEXT);
    EXPECT_EQ(preview->CurrentPage(), 3u);
    ::SetFocus(preview->Button(AFX_ID_PREVIEW_ZOOMIN));
    Key(VK_PRIOR);
    EXPECT_EQ(preview->CurrentPage(), 2u);
    Key(VK_PRIOR);
    Key(VK_PRIOR);
    EXPECT_EQ(preview->CurrentPage(), 1u);
    EXPECT_EQ(g_currentPage, 12);

    Key(VK_ESCAPE);
    ASSERT_TRUE(PumpUntilClosed(previewHwnd));
    EXPECT_TRUE(::IsWindowVisible(presenter_.view()->m_hWnd));
    EXPECT_EQ(::GetFocus(), presenter_.view()->m_hWnd);
    EXPECT_EQ(g_currentPage, 12);
    const Pixels after = presenter_.ViewPixels();
    EXPECT_EQ(after.bgra, before.bgra) << "the same slide, drawn the same way";
}

TEST_F(PrintPreview, ShowsThePrintersPageDrawnByThePrintingPaint) {
    CPrintPreviewWnd* preview = Open();
    ASSERT_NE(preview, nullptr);
    const PaperMetrics& paper = preview->Paper();
    const PrinterPage printer = DefaultPrinterPage();
    ASSERT_GT(printer.dpi, 0);
    EXPECT_EQ(paper.printable.cx, printer.clip.right) << "the default printer's page";
    EXPECT_EQ(paper.printable.cy, printer.clip.bottom);
    // Every paint for the preview saw a printing DC whose clip box is the printer's page.
    for (const WatchedView::Paint& p : presenter_.view()->paints) {
        if (!p.printing) continue;
        EXPECT_EQ(CRect(p.clip), CRect(0, 0, paper.printable.cx, paper.printable.cy));
    }

    const Pixels shot = PageArea(preview);
    const std::vector<RECT> sheets = SheetsShown(shot);
    ASSERT_EQ(sheets.size(), 1u);
    const RECT& s = sheets[0];
    const int w = s.right - s.left, h = s.bottom - s.top;
    EXPECT_NEAR(double(w) / h, double(paper.paper.cx) / paper.paper.cy, 0.01) << "the printer's proportions";
    EXPECT_NEAR(s.left + w / 2.0, shot.width / 2.0, 3.0) << "centred";
    EXPECT_GT(h, shot.height * 8 / 10) << "as large as fits";

    // The sheet's layout, scaled: frames just outside both slides, the copyright line below.
    const double k = double(w) / paper.paper.cx;
    const int H = paper.printable.cy, W = paper.printable.cx;
    const int mid = H >> 1, m = mid >> 4, half = std::max(m >> 4, 2) >> 1;
    const auto x = [&](int v) { return static_cast<int>(s.left + (paper.offset.x + v) * k); };
    const auto y = [&](int v) { return static_cast<int>(s.top + (paper.offset.y + v) * k); };
    for (const RECT& r : {RECT{m, m, W - m, mid - m}, RECT{m, mid, W - m, 2 * mid - 2 * m}}) {
        const int cy = y((r.top + r.bottom) / 2), cx = x((r.left + r.right) / 2);
        const auto darkNear = [&](int px, int py, bool horizontal) {
            int best = 255;
            for (int d = -2; d <= 2; ++d)
                best = std::min(best, Luma(horizontal ? shot.At(px + d, py) : shot.At(px, py + d)));
            return best;
        };
        EXPECT_LT(darkNear(x(r.left - half), cy, true), 100) << "left frame";
        EXPECT_LT(darkNear(x(r.right + half), cy, true), 100) << "right frame";
        EXPECT_LT(darkNear(cx, y(r.top - half), false), 100) << "top frame";
        EXPECT_LT(darkNear(cx, y(r.bottom + half), false), 100) << "bottom frame";
    }
    int red = 0;
    for (int py = y(2 * mid - 2 * m + m / 2); py < s.bottom; ++py)
        for (int px = s.left; px < s.right; ++px) red += Reddish(shot.At(px, py)) ? 1 : 0;
    EXPECT_GT(red, 20) << "the copyright line";
}

TEST_F(PrintPreview, TwoPagesZoomAndTheBarsButtons) {
    CPrintPreviewWnd* preview = Open();
    ASSERT_NE(preview, nullptr);
    const auto click = [&](UINT id) {
        ::SendMessageW(preview->Button(id), BM_CLICK, 0, 0);
        Pump(30);
    };
    click(AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(preview->PagesShown(), 2);
    EXPECT_EQ(TextOf(preview->Button(AFX_ID_PREVIEW_NUMPAGE)), L"&One Page");
    Pixels shot = PageArea(preview);
    std::vector<RECT> sheets = SheetsShown(shot);
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(CRect(sheets[0]).Width(), CRect(sheets[1]).Width());
    EXPECT_EQ(CRect(sheets[0]).Height(), CRect(sheets[1]).Height());
    EXPECT_LT(sheets[0].right, sheets[1].left);

    // Next Page moves by one page; at the end the last two pages show and Next is disabled.
    click(AFX_ID_PREVIEW_NEXT);
    EXPECT_EQ(preview->CurrentPage(), 2u);
    Key(VK_END);
    EXPECT_EQ(preview->CurrentPage(), 30u);
    EXPECT_FALSE(::IsWindowEnabled(preview->Button(AFX_ID_PREVIEW_NEXT)));
    Key(VK_NEXT);
    EXPECT_EQ(preview->CurrentPage(), 30u);
    EXPECT_EQ(SheetsShown(PageArea(preview)).size(), 2u);
    click(AFX_ID_PREVIEW_PREV);
    EXPECT_EQ(preview->CurrentPage(), 29u);

    // Zoom In shows one page, larger, with scroll bars; the largest step disables Zoom In.
    const int fitted = CRect(sheets[0]).Height();
    click(AFX_ID_PREVIEW_ZOOMIN);
    EXPECT_EQ(preview->Zoom(), 1);
    EXPECT_EQ(preview->PagesShown(), 1);
    EXPECT_FALSE(::IsWindowEnabled(preview->Button(AFX_ID_PREVIEW_NUMPAGE)));
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::GetScrollInfo(preview->PageArea(), SB_VERT, &si);
    EXPECT_GT(si.nMax + 1, static_cast<int>(si.nPage)) << "the page is taller than the window";
    EXPECT_GT(si.nMax + 1, fitted * 3 / 2);
    click(AFX_ID_PREVIEW_ZOOMIN);
    EXPECT_EQ(preview->Zoom(), 2);
    EXPECT_FALSE(::IsWindowEnabled(preview->Button(AFX_ID_PREVIEW_ZOOMIN)));
    click(AFX_ID_PREVIEW_ZOOMOUT);
    click(AFX_ID_PREVIEW_ZOOMOUT);
    EXPECT_EQ(preview->Zoom(), 0);
    EXPECT_EQ(preview->PagesShown(), 2) << "back to two pages";
    EXPECT_FALSE(::IsWindowEnabled(preview->Button(AFX_ID_PREVIEW_ZOOMOUT)));

    click(AFX_ID_PREVIEW_NUMPAGE);
    EXPECT_EQ(preview->PagesShown(), 1);
    EXPECT_EQ(TextOf(preview->Button(AFX_ID_PREVIEW_NUMPAGE)), L"&Two Page");
    const HWND previewHwnd = preview->m_hWnd;
    click(AFX_ID_PREVIEW_CLOSE);
    EXPECT_TRUE(PumpUntilClosed(previewHwnd));
    EXPECT_TRUE(::IsWindowVisible(presenter_.view()->m_hWnd));
    EXPECT_EQ(g_currentPage, 12);
}

TEST_F(PrintPreview, PrintClosesThePreviewAndOpensThePrintDialog) {
    REQUIRE_PRINTER();
    CPrintPreviewWnd* preview = Open();
    ASSERT_NE(preview, nullptr);
    const HWND previewHwnd = preview->m_hWnd;
    bool dialog = false, viewBack = false, previewGone = false;
    WindowWatcher watcher(presenter_.frameHwnd(), [&](HWND hwnd) {
        if (!IsDialog(hwnd) || !::GetDlgItem(hwnd, kFromPageEdit)) return false;
        dialog = true;
        viewBack = ::IsWindowVisible(presenter_.view()->m_hWnd) != FALSE;
        previewGone = presenter_.preview() == nullptr;
        Click(hwnd, IDCANCEL);
        return true;
    });
    presenter_.view()->sheets.clear();
    ::SendMessageW(preview->Button(AFX_ID_PREVIEW_PRINT), BM_CLICK, 0, 0);
    PumpLikeTheAppUntil(presenter_.frame(), [&] { return dialog && !::IsWindow(previewHwnd); }, 5000);
    EXPECT_TRUE(dialog) << "the print command's dialog";
    EXPECT_TRUE(viewBack);
    EXPECT_TRUE(previewGone);
    EXPECT_TRUE(presenter_.view()->sheets.empty()) << "cancelled: nothing printed";
    EXPECT_EQ(watcher.ForcedClosed(), 0);
}

TEST_F(PrintPreview, LeavesPictureModeAsItWas) {
    const SlidePage& title = g_slideDeck[0];
    const Hotspot* photo = nullptr;
    for (int i = 0; i < title.nSpots && !photo; ++i) {
        const std::wstring target = title.pSpots[i].pszTarget;
        if (target.size() > 4 && target.substr(target.size() - 4) == L".jpg") photo = &title.pSpots[i];
    }
    ASSERT_NE(photo, nullptr);
    g_currentPage = 0;
    presenter_.view()->EnterPictureMode(photo);
    const CString picture = presenter_.view()->m_strPicture;
    ASSERT_FALSE(picture.empty());
    const Pixels before = presenter_.ViewPixels();

    CPrintPreviewWnd* preview = Open();
    ASSERT_NE(preview, nullptr);
    const HWND previewHwnd = preview->m_hWnd;
    // The sheets show slides: sheet 1's upper half is the title slide, not the photo.
    const Pixels shot = PageArea(preview);
    const std::vector<RECT> sheets = SheetsShown(shot);
    ASSERT_EQ(sheets.size(), 1u);
    const RECT& s = sheets[0];
    const COLORREF inside = shot.At((s.left + s.right) / 2, s.top + (s.bottom - s.top) / 8);
    EXPECT_GT(Luma(inside), 150) << "a light slide, not a photo on black";

    Key(VK_ESCAPE);
    ASSERT_TRUE(PumpUntilClosed(previewHwnd));
    EXPECT_EQ(presenter_.view()->m_strPicture, picture);
    EXPECT_EQ(presenter_.view()->m_pPictureSpot, photo);
    EXPECT_EQ(g_currentPage, 0);
    EXPECT_EQ(presenter_.ViewPixels().bgra, before.bgra) << "the photo again";
}

TEST_F(PrintPreview, OpeningAndClosingLeavesNothingBehind) {
    int afterFirst = 0;
    for (int round = 0; round < 4; ++round) {
        CPrintPreviewWnd* preview = Open();
        ASSERT_NE(preview, nullptr);
        const HWND previewHwnd = preview->m_hWnd;
        ::SendMessageW(preview->Button(AFX_ID_PREVIEW_NUMPAGE), BM_CLICK, 0, 0);
        Pump(30);
        ::SendMessageW(preview->Button(AFX_ID_PREVIEW_CLOSE), BM_CLICK, 0, 0);
        ASSERT_TRUE(PumpUntilClosed(previewHwnd));
        EXPECT_FALSE(presenter_.view()->m_sheets) << "the slides decoded ahead for the next page are let go";
        if (round == 0) afterFirst = testing_win::CountGdiObjects();
    }
    EXPECT_LE(testing_win::CountGdiObjects(), afterFirst);
}

TEST(PrintPreviewFrame, ClosingTheProgramWithThePreviewOpenIsClean) {
    REQUIRE_PRINTER();
    DeckState deck;
    HWND previewHwnd = nullptr, areaHwnd = nullptr;
    {
        WatchedPresenter presenter(640, 400);
        presenter.Command(ID_FILE_PRINT_PREVIEW);
        ASSERT_NE(presenter.preview(), nullptr);
        previewHwnd = presenter.preview()->m_hWnd;
        areaHwnd = presenter.preview()->PageArea();
        PumpLikeTheApp(presenter.frame(), 100);
    }  // the frame goes, and the preview with it
    PumpMessages(100);
    EXPECT_FALSE(::IsWindow(previewHwnd));
    EXPECT_FALSE(::IsWindow(areaHwnd));
    EXPECT_TRUE(ThreadWindows().empty());
}

// The preview takes over the printer's DC from the job record; when it cannot open (no frame
// window or no view to show it in), it releases that DC all the same.
TEST(PrintPreviewFrame, OpenReleasesThePrinterDcWhenItCannotOpen) {
    DeckState deck;
    WatchedPresenter presenter(640, 400);
    struct Case {
        const char* what;
        CFrameWnd* frame;
        CView* view;
    } const cases[] = {
        {"no frame", nullptr, presenter.view()},
        {"no view", presenter.frame(), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto info = std::make_unique<CPrintInfo>();
        const HDC dc = ::CreateCompatibleDC(nullptr);
        ASSERT_NE(dc, nullptr);
        info->m_hPrinterDC = dc;
        EXPECT_EQ(CPrintPreviewWnd::Open(c.frame, c.view, std::move(info)), nullptr);
        EXPECT_EQ(::GetObjectType(dc), 0u) << "the DC was deleted";
    }
    EXPECT_EQ(presenter.preview(), nullptr);
}

}  // namespace
