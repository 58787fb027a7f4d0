// The view's part of printing, asked as the framework asks it: how many sheets the deck fills,
// which sheet the paint draws, and whether a sheet had anything on it.
#include "print_test_support.h"

namespace {

using namespace printtest;

// A printing DC as the preview makes it: a small screen bitmap whose mapping makes its clip
// box an A4 page at 300 dpi.
class PageDc {
public:
    PageDc() {
        const fw::WindowDc screen(nullptr);
        memory_.reset(::CreateCompatibleDC(screen.get()));
        bitmap_.reset(::CreateCompatibleBitmap(screen.get(), kW, kH));
        select_ = std::make_unique<fw::ScopedSelect>(memory_.get(), bitmap_.get());
        ::PatBlt(memory_.get(), 0, 0, kW, kH, BLACKNESS);
        ::SetMapMode(memory_.get(), MM_ANISOTROPIC);
        ::SetWindowExtEx(memory_.get(), 2479, 3508, nullptr);
        ::SetViewportExtEx(memory_.get(), kW, kH, nullptr);
        dc_.Attach(memory_.get());
        dc_.m_bPrinting = TRUE;
    }
    ~PageDc() { dc_.Detach(); }
    CDC* dc() { return &dc_; }
    Pixels Read() {
        ::SetMapMode(memory_.get(), MM_TEXT);
        Pixels p = testing_win::ReadDc(memory_.get(), RECT{0, 0, kW, kH});
        ::SetMapMode(memory_.get(), MM_ANISOTROPIC);
        return p;
    }
    static constexpr int kW = 248, kH = 351;

private:
    fw::MemoryDc memory_;
    fw::Bitmap bitmap_;
    std::unique_ptr<fw::ScopedSelect> select_;
    CDC dc_;
};

bool AllBlack(const Pixels& p) {
    return std::all_of(p.bgra.begin(), p.bgra.end(), [](uint32_t v) { return (v & 0xFFFFFF) == 0; });
}

class ViewPrinting : public ::testing::Test {
protected:
    DeckState deck_;
    WatchedPresenter presenter_{640, 360};
};

TEST_F(ViewPrinting, SheetCountIsHalfTheNumberedSlidesRoundedUp) {
    const struct {
        int numbered;
        UINT sheets;
    } cases[] = {{62, 31}, {61, 31}, {60, 30}, {1, 1}};
    for (const auto& c : cases) {
        deck_.KeepNumbered(c.numbered);
        ASSERT_EQ(g_enabledPageCount, c.numbered);
        // A preview's preparation shows no dialog, printer or not.
        CPrintInfo info;
        info.m_bPreview = TRUE;
        EXPECT_TRUE(presenter_.view()->OnPreparePrinting(&info));
        if (info.m_hPrinterDC) ::DeleteDC(info.m_hPrinterDC);
        EXPECT_EQ(info.GetMinPage(), 1u) << c.numbered;
        EXPECT_EQ(info.GetMaxPage(), c.sheets) << c.numbered;
        EXPECT_EQ(info.GetFromPage(), 1u) << c.numbered;
        EXPECT_EQ(info.GetToPage(), c.sheets) << c.numbered;
    }
}

TEST_F(ViewPrinting, EachSheetIsDrawnWithItsNumberAndSaysWhetherItHadSlides) {
    WatchedView& view = *presenter_.view();
    g_currentPage = 7;
    const struct {
        int numbered;
        UINT sheet;
        bool drawn;
        BOOL continueFlag;
    } cases[] = {
        {62, 1, true, TRUE},   {62, 5, true, TRUE},    {62, 31, true, TRUE},
        {62, 32, false, FALSE}, {61, 31, true, TRUE},  {61, 32, false, FALSE},
    };
    for (const auto& c : cases) {
        deck_.KeepNumbered(c.numbered);
        PageDc page;
        CPrintInfo info;
        info.SetMaxPage(static_cast<UINT>((g_enabledPageCount + 1) / 2));
        info.m_nCurPage = c.sheet;
        info.m_bContinuePrinting = !c.continueFlag;  // the view must set it either way
        view.sheets.clear();
        view.OnPrint(page.dc(), &info);

        ASSERT_EQ(view.sheets.size(), 1u);
        EXPECT_EQ(view.sheets[0].printPageDuring, static_cast<int>(c.sheet)) << "the paint saw the sheet";
        EXPECT_EQ(view.m_nPrintPage, static_cast<int>(c.sheet)) << "kept after the call";
        EXPECT_EQ(info.m_bContinuePrinting, c.continueFlag) << c.numbered << " sheet " << c.sheet;
        EXPECT_EQ(g_currentPage, 7) << "the slide on screen stays";
        EXPECT_EQ(!AllBlack(page.Read()), c.drawn) << c.numbered << " sheet " << c.sheet;
        EXPECT_EQ(view.paints.back().printing, true);
    }
}

}  // namespace
