// The overview and the key help on the real view, read back as pixels: the grid as the layout
// rule places it, the frame, choosing by keys, wheel and click, and the way back; the help table
// and every key closing it; and the keys that keep their meaning whatever is shown.
#include "speaker_keys_fixture.h"

#include "pictures/screen_pictures_win.h"

namespace interaction {
namespace {

class Overview : public SpeakerKeys {
protected:
    static constexpr int kW = 960, kH = 540;
    OverviewLayout Layout() const { return LayOutOverview(kW, kH, SLIDE_COUNT, view().TextDpi()); }
    POINT TileCentre(int i) const {
        const SlideRect t = Layout().Tile(i);
        return {(t.left + t.right) / 2, (t.top + t.bottom) / 2};
    }
    int Ready() const { return view().m_pictures->cache().Ready(PictureClient::Overview); }
    void AllThumbnailsMade() {
        ASSERT_NE(view().m_thumbnails, nullptr);
        ASSERT_TRUE(testing_win::PumpUntil([&] { return Ready() == view().m_thumbnails->Count(); }, 60000));
        testing_win::PumpMessages(300);  // the open overview looks for them every 100 ms
    }
    // Whether tile `i` of the window of w x h shows its thumbnail of that tile's size as it is.
    bool TileShowsItsThumbnail(int i, int w, int h) {
        const auto made = view().m_thumbnails->Get(view().m_pictures->cache(), i);
        const SlideRect tile = LayOutOverview(w, h, SLIDE_COUNT, view().TextDpi()).Tile(i);
        if (!made || made->width() != tile.Width() || made->height() != tile.Height()) return false;
        const int mx = made->width() * 3 / 4, my = made->height() * 3 / 4;
        const std::uint8_t* bgra = made->data() + (static_cast<std::size_t>(my) * made->width() + mx) * 4;
        const testing_win::Pixels px = testing_win::ReadWindow(viewHwnd());
        return px.At(tile.left + mx, tile.top + my) == RGB(bgra[2], bgra[1], bgra[0]);
    }
};

TEST_F(Overview, TabShowsEverySlideWhereTheLayoutPutsItWithTheCurrentOneFramed) {
    Open(kW, kH, 12);
    Press(viewHwnd(), VK_TAB, L'\t');
    ASSERT_EQ(Shown(), Overlay::Overview);
    EXPECT_FALSE(RepaintRequested(viewHwnd())) << "on the window at once";
    AllThumbnailsMade();
    const testing_win::Pixels px = Screen();
    const OverviewLayout l = Layout();
    ASSERT_EQ(l.count, SLIDE_COUNT);
    // The margins and the gaps are ground; every thumbnail is a picture, not a pending frame.
    EXPECT_EQ(px.At(1, 1), kOverviewGround);
    EXPECT_EQ(px.At(kW - 2, kH - 2), kOverviewGround);
    for (int i = 0; i < SLIDE_COUNT; ++i) {
        const SlideRect t = l.Tile(i);
        const POINT c = TileCentre(i);
        EXPECT_NE(px.At(c.x, c.y), kThumbnailPending) << i;
        EXPECT_NE(px.At(c.x, c.y), kOverviewGround) << i;
        EXPECT_NE(px.At(t.right - 2, t.bottom - 2), kOverviewGround) << i;
        if (i % l.columns != l.columns - 1 && i != 11 && i != 12) {
            EXPECT_EQ(px.At(t.right + l.gap / 2, c.y), kOverviewGround) << "the gap after " << i;
        }
    }
    // The current slide, and only it, is framed with its number: the frame's colour all round
    // them, in the gap, and under the number.
    const SlideRect cell = l.Cell(12);
    const int f = l.frame / 2;
    for (const POINT p : {POINT{cell.left - 1 - f, cell.top + 5}, POINT{cell.right + f, cell.bottom - 5},
                          POINT{cell.left + 5, cell.top - 1 - f}, POINT{cell.right - 5, cell.bottom + f},
                          POINT{cell.right - 2, cell.bottom - 2}})
        EXPECT_EQ(px.At(p.x, p.y), kOverviewFrame) << p.x << "," << p.y;
    const int ring = (cell.Width() + 2 * l.frame) * (cell.Height() + 2 * l.frame) - cell.Width() * cell.Height();
    EXPECT_GT(CountOf(px, kOverviewFrame), ring);
    EXPECT_LE(CountOf(px, kOverviewFrame), ring + l.Label(12).Width() * l.Label(12).Height());
    // Thumbnails in deck order: slide 12's thumbnail is slide 12 made small.
    EXPECT_TRUE(TileShowsItsThumbnail(12, kW, kH));
}

TEST_F(Overview, AfterAResizeTheThumbnailsOfTheNewSizeArePaintedAsTheyArrive) {
    Open(kW, kH, 12);
    Press(viewHwnd(), VK_TAB, L'\t');
    AllThumbnailsMade();
    ASSERT_TRUE(TileShowsItsThumbnail(12, kW, kH));
    // The window grows with the overview open: the old thumbnails are drawn stretched at once, and
    // the new ones as the workers make them, without a key.
    presenter_->Resize(1200, 675);
    EXPECT_TRUE(testing_win::PumpUntil([&] { return TileShowsItsThumbnail(12, 1200, 675) && TileShowsItsThumbnail(68, 1200, 675); },
                                       30000));
    AllThumbnailsMade();
    for (const int i : {0, 30, 50}) EXPECT_TRUE(TileShowsItsThumbnail(i, 1200, 675)) << i;
}

// The numbers stand under the thumbnails: every pixel of a thumbnail is the slide's (its title in
// the top-left corner too), and the number is written in the strip below it.
TEST_F(Overview, NumbersStandUnderTheThumbnailsNotOverTheTitles) {
    Open(kW, kH, 0);
    Press(viewHwnd(), VK_TAB, L'\t');
    AllThumbnailsMade();
    const testing_win::Pixels px = Screen();
    const OverviewLayout l = Layout();
    for (const int i : {1, 10, 11, 68}) {
        const SlideRect t = l.Tile(i);
        const auto made = view().m_thumbnails->Get(view().m_pictures->cache(), i);
        ASSERT_NE(made, nullptr);
        ASSERT_EQ(made->width(), t.Width());
        int differ = 0;
        for (int y = 0; y < t.Height(); ++y)
            for (int x = 0; x < t.Width(); ++x) {
                const std::uint8_t* bgra = made->data() + (static_cast<std::size_t>(y) * made->width() + x) * 4;
                differ += px.At(t.left + x, t.top + y) != RGB(bgra[2], bgra[1], bgra[0]) ? 1 : 0;
            }
        EXPECT_EQ(differ, 0) << "slide " << i + 1 << ": nothing drawn over its thumbnail";
        const SlideRect number = l.Label(i);
        int text = 0;
        for (int y = number.top; y < number.bottom; ++y)
            for (int x = number.left; x < number.right; ++x) text += px.At(x, y) == kOverlayText ? 1 : 0;
        EXPECT_GT(text, l.labelText) << "slide " << i + 1 << "'s number under it";
    }
}

TEST_F(Overview, ThumbnailsNotMadeYetShowAsNumberedFrames) {
    Open(kW, kH, 0);
    // Right after start-up, before the worker has made any.
    view().m_thumbnails.reset();
    view().m_pictures = std::make_unique<ScreenPictures>();
    Press(viewHwnd(), VK_TAB, L'\t');
    const testing_win::Pixels px = testing_win::ReadWindow(viewHwnd());
    const int ready = Ready();
    if (ready < SLIDE_COUNT) {
        EXPECT_GT(CountOf(px, kThumbnailPending), 0);
    }
    AllThumbnailsMade();
    EXPECT_EQ(CountOf(Screen(), kThumbnailPending), 0) << "all filled in";
}

TEST_F(Overview, KeysAndTheWheelMoveTheFrameAndEnterShowsTheFramedSlide) {
    Open(kW, kH, 20);
    Press(viewHwnd(), VK_TAB, L'\t');
    Press(viewHwnd(), VK_RIGHT);
    Press(viewHwnd(), VK_RIGHT);
    EXPECT_EQ(view().m_overlay.framed, 22);
    EXPECT_EQ(g_currentPage, 20) << "the slide changes only with Enter";
    Press(viewHwnd(), VK_RETURN, L'\r');
    EXPECT_EQ(Shown(), Overlay::None);
    EXPECT_EQ(g_currentPage, 22);

    const int columns = Layout().columns;
    Press(viewHwnd(), VK_TAB, L'\t');
    Press(viewHwnd(), VK_DOWN);
    EXPECT_EQ(view().m_overlay.framed, 22 + columns);
    Press(viewHwnd(), VK_UP);
    Press(viewHwnd(), VK_LEFT);
    EXPECT_EQ(view().m_overlay.framed, 21);
    Wheel(viewHwnd(), -120);
    Wheel(viewHwnd(), -120);
    Wheel(viewHwnd(), 120);
    EXPECT_EQ(view().m_overlay.framed, 22);
    Press(viewHwnd(), VK_END);
    EXPECT_EQ(view().m_overlay.framed, kLastSlide);
    Press(viewHwnd(), VK_RIGHT);
    EXPECT_EQ(view().m_overlay.framed, kLastSlide);
    Press(viewHwnd(), VK_HOME);
    Press(viewHwnd(), VK_RETURN, L'\r');
    EXPECT_EQ(g_currentPage, 0);
}

TEST_F(Overview, AClickOnAThumbnailShowsThatSlideAndBetweenThemDoesNothing) {
    Open(kW, kH, 0);
    Press(viewHwnd(), VK_TAB, L'\t');
    const SlideRect t = Layout().Tile(37);
    Click(viewHwnd(), t.right + Layout().gap / 2, (t.top + t.bottom) / 2);
    EXPECT_EQ(Shown(), Overlay::Overview) << "a gap";
    const POINT c = TileCentre(37);
    Click(viewHwnd(), c.x, c.y);
    EXPECT_EQ(Shown(), Overlay::None);
    EXPECT_EQ(g_currentPage, 37);
}

TEST_F(Overview, AHotspotUnderAClickOpensNothing) {
    Open(kW, kH, 0);
    const POINT photo = SpotCentre(0, 0);
    Press(viewHwnd(), VK_TAB, L'\t');
    MouseMove(viewHwnd(), photo.x, photo.y);
    EXPECT_FALSE(view().m_bHover);
    Click(viewHwnd(), photo.x, photo.y);
    EXPECT_TRUE(view().m_strPicture.empty());
    EXPECT_EQ(g_currentPage, std::max(0, Layout().TileAt(photo.x, photo.y)));
}

TEST_F(Overview, TabOrEscapeReturnsToWhatWasShown) {
    Open(kW, kH, 9);
    const testing_win::Pixels slide = Screen();
    Press(viewHwnd(), VK_TAB, L'\t');
    Press(viewHwnd(), VK_RIGHT);
    Press(viewHwnd(), VK_TAB, L'\t');
    EXPECT_EQ(Shown(), Overlay::None);
    EXPECT_EQ(g_currentPage, 9);
    EXPECT_TRUE(Same(Screen(), slide));

    Press(viewHwnd(), VK_TAB, L'\t');
    Press(viewHwnd(), VK_DOWN);
    PressEscape(viewHwnd());
    ASSERT_TRUE(::IsWindow(frameHwnd())) << "Escape in the window closed only the overview";
    EXPECT_EQ(Shown(), Overlay::None);
    EXPECT_EQ(g_currentPage, 9);
    EXPECT_TRUE(Same(Screen(), slide));

    // Over a photo: back to the photo; Enter goes to a slide and leaves the photo.
    ShowTitlePhoto();
    const testing_win::Pixels photo = Screen();
    Press(viewHwnd(), VK_TAB, L'\t');
    PressEscape(viewHwnd());
    EXPECT_FALSE(view().m_strPicture.empty());
    EXPECT_TRUE(Same(Screen(), photo));
    Press(viewHwnd(), VK_TAB, L'\t');
    Press(viewHwnd(), VK_RIGHT);
    Press(viewHwnd(), VK_RETURN, L'\r');
    EXPECT_TRUE(view().m_strPicture.empty());
    EXPECT_EQ(g_currentPage, 1);
}

TEST_F(Overview, TheFullScreenKeysAndTheProSwitchKeepTheirMeaning) {
    Open(kW, kH, 4);
    g_proMode = true;
    Press(viewHwnd(), VK_TAB, L'\t');
    Press(viewHwnd(), VK_F5);
    EXPECT_TRUE(frame().m_bFullScreen);
    EXPECT_EQ(Shown(), Overlay::Overview);
    Settle();
    const RECT client = [&] { RECT rc; ::GetClientRect(viewHwnd(), &rc); return rc; }();
    const OverviewLayout full = LayOutOverview(client.right, client.bottom, SLIDE_COUNT);
    const SlideRect t = full.Tile(4);
    EXPECT_EQ(testing_win::ReadWindow(viewHwnd()).At(t.left - 1, t.top + 3), kOverviewFrame) << "laid out anew";
    PressEscape(viewHwnd());
    EXPECT_EQ(Shown(), Overlay::None);
    EXPECT_TRUE(frame().m_bFullScreen);
    PressEscape(viewHwnd());
    EXPECT_TRUE(frame().m_bFullScreen) << "with -Pro Escape never leaves full-screen";
    Press(viewHwnd(), VK_SHIFT);
    EXPECT_FALSE(frame().m_bFullScreen);
}

using KeyHelp = SpeakerKeys;

TEST_F(KeyHelp, HShowsTheTableOverTheSlideAndAnyKeyClosesIt) {
    Open(960, 540, 2);
    const testing_win::Pixels slide = Screen();
    struct Case {
        const char* what;
        std::function<void(HWND)> close;
    } const cases[] = {
        {"H", [](HWND v) { Press(v, 'H', L'h'); }},
        {"Escape", [](HWND v) { PressEscape(v); }},
        {"a letter", [](HWND v) { Press(v, 'Q', L'q'); }},
        {"Page Down", [](HWND v) { Press(v, VK_NEXT); }},
        {"Enter", [](HWND v) { Press(v, VK_RETURN, L'\r'); }},
        {"the wheel", [](HWND v) { Wheel(v, -120); }},
        {"a click", [](HWND v) { Click(v, 5, 5); }},
    };
    for (const Case& c : cases) {
        Press(viewHwnd(), 'H', L'h');
        ASSERT_EQ(Shown(), Overlay::Help) << c.what;
        const testing_win::Pixels help = testing_win::ReadWindow(viewHwnd());
        // A table in the middle: its ground, with white text on it; the slide round it as it was.
        EXPECT_GT(CountOf(help, kOverlayGround), 960 * 540 / 8) << c.what;
        EXPECT_GT(CountOf(help, kOverlayText), 500) << c.what;
        EXPECT_EQ(help.At(2, 2), slide.At(2, 2)) << c.what;
        c.close(viewHwnd());
        EXPECT_EQ(Shown(), Overlay::None) << c.what;
        ASSERT_TRUE(::IsWindow(frameHwnd())) << c.what;
        EXPECT_EQ(g_currentPage, 2) << c.what << ": it only closes the help";
        EXPECT_TRUE(Same(Screen(), slide)) << c.what;
    }
}

// Shift, F1, F5 and the period do what they always did over every overlay, and the overlay stays.
TEST_F(KeyHelp, TheOldKeysKeepTheirMeaningOverEveryOverlay) {
    Open(640, 360, 6);
    struct Opening {
        const char* what;
        std::function<void(HWND)> open;
        Overlay overlay;
    } const openings[] = {
        {"a typed number", [](HWND v) { TypeDigits(v, L"1"); }, Overlay::Number},
        {"black", [](HWND v) { Press(v, 'B', L'b'); }, Overlay::Blank},
        {"the overview", [](HWND v) { Press(v, VK_TAB, L'\t'); }, Overlay::Overview},
    };
    for (const Opening& o : openings) {
        o.open(viewHwnd());
        ASSERT_EQ(Shown(), o.overlay) << o.what;
        for (const UINT vk : {VK_SHIFT, VK_F1, VK_F5}) {
            const bool full = frame().m_bFullScreen;
            Press(viewHwnd(), vk);
            EXPECT_NE(frame().m_bFullScreen, full) << o.what;
            EXPECT_EQ(Shown(), o.overlay) << o.what;
        }
        const bool back = view().m_bSentBack;
        Press(viewHwnd(), VK_OEM_PERIOD, L'.');
        EXPECT_NE(view().m_bSentBack, back) << o.what;
        {
            CtrlHeld ctrl;
            Press(viewHwnd(), VK_CONTROL);
            Press(viewHwnd(), 'B');
        }
        EXPECT_EQ(view().m_bSentBack, !back) << o.what << ": Ctrl+B leaves the toggle alone";
        EXPECT_EQ(Shown(), o.overlay) << o.what;
        PressEscape(viewHwnd());
        EXPECT_EQ(Shown(), Overlay::None) << o.what;
        ASSERT_TRUE(::IsWindow(frameHwnd())) << o.what;
        EXPECT_EQ(g_currentPage, 6) << o.what;
    }
}

// The help says any key closes it, and every key does: the window's own keys (Shift, F1 and F5,
// the period, Ctrl+B) close it and then do what they always do, F1 and Ctrl+P, the frame's
// accelerators, included.
TEST_F(KeyHelp, EveryKeyClosesItAndTheWindowKeysStillAct) {
    Open(640, 360, 6);
    // A key as the message loop hands it on: the frame's accelerators first.
    const auto throughTheLoop = [this](UINT vk) {
        MSG key{viewHwnd(), WM_KEYDOWN, vk, KeyLParam(vk, 1, false), 0, {0, 0}};
        if (!frame().PreTranslateMessage(&key)) ::DispatchMessageW(&key);
    };
    enum class Then { FullScreen, SentBack, Nothing };
    struct Key {
        const char* what;
        std::function<void()> press;
        Then then;
    } const keys[] = {
        {"Shift", [&] { Press(viewHwnd(), VK_SHIFT); }, Then::FullScreen},
        {"F5", [&] { Press(viewHwnd(), VK_F5); }, Then::FullScreen},
        {"F1", [&] { throughTheLoop(VK_F1); }, Then::FullScreen},
        {"period", [&] { Press(viewHwnd(), VK_OEM_PERIOD, L'.'); }, Then::SentBack},
        {"Ctrl+B", [&] { CtrlHeld ctrl; Press(viewHwnd(), VK_CONTROL); Press(viewHwnd(), 'B'); }, Then::Nothing},
        {"Ctrl+P", [&] { CtrlHeld ctrl; throughTheLoop('P'); }, Then::Nothing},
        {"S", [&] { Press(viewHwnd(), 'S', L's'); }, Then::Nothing},  // one monitor: S does nothing
    };
    for (const Key& k : keys) {
        Press(viewHwnd(), 'H', L'h');
        ASSERT_EQ(Shown(), Overlay::Help) << k.what;
        k.press();
        EXPECT_EQ(Shown(), Overlay::None) << k.what << " closes the help";
        ASSERT_TRUE(::IsWindow(frameHwnd())) << k.what;
        EXPECT_EQ(frame().m_bFullScreen, k.then == Then::FullScreen) << k.what;
        EXPECT_EQ(view().m_bSentBack, k.then == Then::SentBack) << k.what;
        if (frame().m_bFullScreen) Press(viewHwnd(), VK_F5);
        if (view().m_bSentBack) Press(viewHwnd(), VK_OEM_PERIOD, L'.');
        EXPECT_EQ(g_currentPage, 6) << k.what;
    }
}

}  // namespace
}  // namespace interaction
