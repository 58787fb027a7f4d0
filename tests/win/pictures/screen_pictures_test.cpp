// The screen's kept pictures seen from the real view: a slide changed on disk shows at the next
// paint, a paint from the cache equals one without it, repaints and prepared steps decode
// nothing, the look-ahead never holds up a key, nor the closing of the window even when its
// decode has stalled, and the worker decodes where it owns no window.
#include "view/paint_fixture.h"

#include <objbase.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "pictures/image_loader.h"
#include "render/picture_rules.h"
#include "pictures/screen_pictures_win.h"
#include "render/slide_renderer_win.h"
#include "render/geometry.h"

namespace {

using namespace painttest;
using testing_win::Pixels;
using testing_win::Presenter;

constexpr int kRow = 5;

PictureCache::Stats StatsOf(CPemboroView* view) { return view->m_pictures->cache().GetStats(); }
int DecodesOnScreen(CPemboroView* view) { return StatsOf(view).decodes - StatsOf(view).workerDecodes; }
void Settle(CPemboroView* view) {
    testing_win::PumpMessages();
    view->m_pictures->cache().WaitUntilIdle();
}

class KeptPictures : public ::testing::Test {
protected:
    void SetUp() override { ParkPointer(); }
};

TEST_F(KeptPictures, ASlideChangedOnDiskShowsAsItIsNowAtTheNextPaint) {
    DeckFolder deck;
    for (int row = kRow - 1; row <= kRow + 1; ++row) deck.SolidSlide(row, RGB(200, 0, 0));
    g_currentPage = kRow;
    Presenter p(1000, 600);
    ASSERT_EQ(p.Paint().At(500, 100), RGB(200, 0, 0));
    Settle(p.view());

    const auto markersAndLogos = [&](const Pixels& shot, const char* what) {
        EXPECT_TRUE(RegionMatches(shot, 982, 582, RenderBitmap(302, 18, 18))) << what;
        EXPECT_TRUE(RegionMatches(shot, 0, 564, RenderBitmap(312, 113, 36))) << what;
        EXPECT_TRUE(RegionMatches(shot, 350, 582, RenderBitmap(300, 300, 18))) << what;
    };
    const struct {
        const char* what;
        std::function<void()> change;
        COLORREF slide;  // at (500, 100) after the change
    } rows[] = {
        {"rewritten, same size and format", [&] { deck.SolidSlide(kRow, RGB(0, 0, 200)); }, RGB(0, 0, 200)},
        {"replaced by a larger picture", [&] { deck.SolidSlide(kRow, RGB(0, 150, 0), 2400, 1350); }, RGB(0, 150, 0)},
        {"removed", [&] { std::filesystem::remove(deck.SlidePath(kRow)); }, RGB(255, 255, 255)},
        {"back again", [&] { deck.SolidSlide(kRow, RGB(90, 60, 30)); }, RGB(90, 60, 30)},
        {"made undecodable", [&] { WriteBytes(deck.SlidePath(kRow), {0x89, 'P', 'N', 'G', 1, 2, 3}); },
         RGB(255, 255, 255)},
    };
    for (const auto& r : rows) {
        r.change();
        const Pixels shot = p.Paint();  // no pause: a change within the same second counts too
        EXPECT_EQ(shot.At(500, 100), r.slide) << r.what;
        markersAndLogos(shot, r.what);
        Settle(p.view());
    }
}

TEST_F(KeptPictures, APaintFromTheCacheEqualsOneWithout) {
    // The demo deck's own slides and photos, shrunk, at their size, and grown.
    const testing_win::SavedGlobals globals;
    std::wcscpy(g_appDir, testing_win::DistDir().c_str());
    Presenter p(1000, 600);
    const struct {
        int w, h;
    } sizes[] = {{1000, 600}, {1920, 1080}, {2400, 1350}};
    for (const auto& size : sizes) {
        for (const int row : {0, 3, kLastSlide}) {
            g_currentPage = row;
            PaintIntoMemory(p.view(), size.w, size.h);  // fills the cache
            Settle(p.view());
            const Pixels cached = PaintIntoMemory(p.view(), size.w, size.h);
            MemoryPage direct(size.w, size.h, RGB(90, 90, 90));
            DrawSlide(Canvas{direct.dc(), Medium::Screen, nullptr}, row, SlideRect{0, 0, size.w, size.h},
                      Branding{g_brandLogoId, g_secondLogoId});
            EXPECT_EQ(cached.bgra, direct.Read().bgra) << "row " << row << " at " << size.w << "x" << size.h;
        }
        // A photo of the title slide, letterboxed.
        g_currentPage = 0;
        p.view()->EnterPictureMode(&g_slideDeck[0].pSpots[0]);
        ASSERT_FALSE(p.view()->m_strPicture.empty());
        PaintIntoMemory(p.view(), size.w, size.h);
        Settle(p.view());
        const Pixels cached = PaintIntoMemory(p.view(), size.w, size.h);
        MemoryPage direct(size.w, size.h, RGB(90, 90, 90));
        ASSERT_TRUE(DrawPhoto(Canvas{direct.dc(), Medium::Screen, nullptr}, p.view()->m_strPicture,
                              SlideRect{0, 0, size.w, size.h}));
        EXPECT_EQ(cached.bgra, direct.Read().bgra) << "photo at " << size.w << "x" << size.h;
        p.view()->LeavePictureMode();
    }
}

TEST_F(KeptPictures, RepaintsOfTheSlideOnScreenNeitherDecodeNorScale) {
    DeckFolder deck;
    for (const int row : {0, 1, kLastSlide - 1, kLastSlide}) deck.SolidSlide(row, RGB(20, 120, 20));
    const Hotspot spot[] = {{0.5, 0.5, L"spot.asc"}};
    PatchedSpots patched(kLastSlide, spot, 1);
    g_currentPage = kLastSlide;
    Presenter p(1000, 600);
    p.Paint();
    Settle(p.view());
    const HWND view = p.viewHwnd();
    POINT inside{500, 5};
    ::ClientToScreen(view, &inside);
    ::SetCursorPos(inside.x, inside.y);  // the hover timer leaves a highlight alone while the pointer is over the slide
    const PictureCache::Stats before = StatsOf(p.view());

    const struct {
        const char* what;
        std::function<void()> input;
    } repaints[] = {
        {"hover highlight removed",
         [&] {
             ::SendMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(500, 300));
             ASSERT_TRUE(p.view()->m_bHover);
             ::SendMessageW(view, WM_MOUSEMOVE, 0, MAKELPARAM(500, 5));
             ASSERT_FALSE(p.view()->m_bHover);
         }},
        {"uncovered by another window", [&] {
             ::InvalidateRect(view, nullptr, FALSE);
             ::UpdateWindow(view);
         }},
        {"wheel turned past the last slide", [&] {
             ::SendMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
             ::UpdateWindow(view);
             ASSERT_EQ(g_currentPage, kLastSlide);
         }},
    };
    for (const auto& r : repaints) {
        r.input();
        testing_win::PumpMessages();
        EXPECT_EQ(testing_win::ReadWindow(view, RECT{400, 100, 401, 101}).At(0, 0), RGB(20, 120, 20)) << r.what;
        const PictureCache::Stats after = StatsOf(p.view());
        EXPECT_EQ(after.decodes, before.decodes) << r.what;
        EXPECT_EQ(after.scales, before.scales) << r.what;
    }
    ParkPointer();
}

TEST_F(KeptPictures, TheNextSlideAndTheNextPhotoAreFoundPrepared) {
    DeckFolder deck;
    for (int row = 0; row <= 3; ++row) deck.SolidSlide(row, RGB(10 * row, 50, 50));
    deck.SolidSlide(kLastSlide, RGB(1, 2, 3));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(WriteSolidJpeg(deck.Path(g_slideDeck[0].pSpots[i].pszTarget), 800, 600, RGB(60 * i, 200, 90)));
    g_currentPage = 1;
    Presenter p(1000, 600);
    p.Paint();
    Settle(p.view());
    const int onScreen = DecodesOnScreen(p.view());

    ::SendMessageW(p.viewHwnd(), WM_KEYDOWN, VK_NEXT, 1);
    ::UpdateWindow(p.viewHwnd());
    EXPECT_EQ(g_currentPage, 2);
    ::SendMessageW(p.viewHwnd(), WM_KEYDOWN, VK_PRIOR, 1);
    ::UpdateWindow(p.viewHwnd());
    EXPECT_EQ(g_currentPage, 1);
    Settle(p.view());
    EXPECT_EQ(DecodesOnScreen(p.view()), onScreen) << "each key found its slide ready";

    // Photos: the one shown, and its neighbour after the worker has had its turn.
    g_currentPage = 0;
    p.Paint();
    p.view()->EnterPictureMode(&g_slideDeck[0].pSpots[1]);
    ::UpdateWindow(p.viewHwnd());
    Settle(p.view());
    const int withPhoto = DecodesOnScreen(p.view());
    ::SendMessageW(p.viewHwnd(), WM_KEYDOWN, VK_RIGHT, 1);
    ::UpdateWindow(p.viewHwnd());
    EXPECT_EQ(p.view()->m_pPictureSpot, &g_slideDeck[0].pSpots[2]);
    EXPECT_LE(Distance(testing_win::ReadWindow(p.viewHwnd(), RECT{500, 300, 501, 301}).At(0, 0), RGB(120, 200, 90)), 3)
        << "a JPEG's colours, give or take";
    ::SendMessageW(p.viewHwnd(), WM_KEYDOWN, VK_LEFT, 1);
    ::UpdateWindow(p.viewHwnd());
    EXPECT_EQ(DecodesOnScreen(p.view()), withPhoto) << "the photos next door were ready";

    // A change of size scales the slide on screen again from the decoded pixels kept of it: the
    // pixels of a slide the workers made are not kept, so the first change decodes it once.
    p.view()->LeavePictureMode();
    p.Resize(800, 450);
    p.Paint();
    const int resized = DecodesOnScreen(p.view());
    EXPECT_LE(resized, withPhoto + 1);
    for (const SIZE size : {SIZE{900, 500}, SIZE{1000, 600}}) {
        p.Resize(size.cx, size.cy);
        p.Paint();
        EXPECT_EQ(DecodesOnScreen(p.view()), resized) << "resized to " << size.cx << ", not decoded";
    }
}

// The workers' decoder, with one file held back until the test lets it go.
struct GatedDecoder {
    std::wstring held;
    fw::KernelHandle started{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    fw::KernelHandle open{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    fw::KernelHandle closed{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};  // the view has gone
    std::atomic<int> threadsEntered{0};
    std::atomic<int> threadsLeft{0};

    PictureCache::Hooks Hooks() {
        PictureCache::Hooks hooks = ScreenPictures::PlatformHooks();
        hooks.decode = [this](const std::wstring& path, const fw::DecodeRoom& room) {
            if (path == held) {
                ::SetEvent(started.get());
                ::WaitForSingleObject(open.get(), 20000);
            }
            return fw::DecodeImageFile(path.c_str(), room);
        };
        const auto enter = hooks.enterWorkerThread;
        hooks.enterWorkerThread = [this, enter] {
            ++threadsEntered;
            const std::shared_ptr<void> apartment = enter();
            return std::shared_ptr<void>(nullptr, [this, apartment](void*) { ++threadsLeft; });
        };
        return hooks;
    }
};

TEST_F(KeptPictures, AKeyDuringASlowLookAheadIsAnsweredAndClosingEndsTheWorkerCleanly) {
    DeckFolder deck;
    for (int row = kRow - 1; row <= kRow + 1; ++row) deck.SolidSlide(row, RGB(30 * row, 40, 40));
    GatedDecoder gate;
    gate.held = deck.SlidePath(kRow + 1);
    g_currentPage = kRow;
    auto p = std::make_unique<Presenter>(1000, 600);
    p->view()->m_pictures = std::make_unique<ScreenPictures>(gate.Hooks());
    p->Paint();
    ASSERT_EQ(::WaitForSingleObject(gate.started.get(), 5000), WAIT_OBJECT_0) << "the worker took on the next slide";

    // Back one slide while the worker is stuck on the next one: answered at once, from this thread.
    const DWORD start = ::GetTickCount();
    ::SendMessageW(p->viewHwnd(), WM_KEYDOWN, VK_PRIOR, 1);
    ::UpdateWindow(p->viewHwnd());
    EXPECT_LT(::GetTickCount() - start, 3000u);
    EXPECT_EQ(testing_win::ReadWindow(p->viewHwnd(), RECT{500, 100, 501, 101}).At(0, 0), RGB(30 * (kRow - 1), 40, 40));

    // Closing the window while the worker is still inside the decode, which has stalled: the view
    // goes at once; the worker leaves its apartment when the decode returns.
    std::atomic<bool> released{false};
    std::thread watchdog([&] {
        ::WaitForSingleObject(gate.closed.get(), 20000);
        released = true;
        ::SetEvent(gate.open.get());
    });
    p.reset();
    const bool closedWhileStalled = !released;
    ::SetEvent(gate.closed.get());
    watchdog.join();
    EXPECT_TRUE(closedWhileStalled) << "closing waited for the stalled decode";
    EXPECT_TRUE(testing_win::PumpUntil([&] { return gate.threadsLeft == gate.threadsEntered; }, 20000));
}

TEST_F(KeptPictures, TheWorkerDecodesInTheMultiThreadedApartmentAndOwnsNoWindow) {
    DeckFolder deck;
    for (int row = kRow - 1; row <= kRow + 1; ++row) deck.SolidSlide(row, RGB(30 * row, 40, 40));
    struct Seen {
        DWORD thread = 0;
        APTTYPE apartment = APTTYPE_CURRENT;
        int windows = -1;
    };
    auto seen = std::make_shared<std::vector<Seen>>();
    auto mutex = std::make_shared<std::mutex>();
    PictureCache::Hooks hooks = ScreenPictures::PlatformHooks();
    hooks.decode = [seen, mutex, decode = hooks.decode](const std::wstring& path, const fw::DecodeRoom& room) {
        Seen s;
        s.thread = ::GetCurrentThreadId();
        APTTYPEQUALIFIER qualifier{};
        if (FAILED(::CoGetApartmentType(&s.apartment, &qualifier))) s.apartment = APTTYPE_CURRENT;
        s.windows = 0;
        ::EnumThreadWindows(s.thread, [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; },
                            reinterpret_cast<LPARAM>(&s.windows));
        fw::DecodedFile file = decode(path, room);
        const std::lock_guard lock(*mutex);
        seen->push_back(s);
        return file;
    };
    g_currentPage = kRow;
    Presenter p(1000, 600);
    p.view()->m_pictures = std::make_unique<ScreenPictures>(hooks);
    p.Paint();
    Settle(p.view());
    const std::lock_guard lock(*mutex);
    int onWorker = 0;
    for (const Seen& s : *seen) {
        if (s.thread == ::GetCurrentThreadId()) continue;
        ++onWorker;
        // A thread that handles no messages must own no window that anyone could send one to.
        EXPECT_EQ(s.apartment, APTTYPE_MTA);
        EXPECT_EQ(s.windows, 0);
    }
    EXPECT_GE(onWorker, 2) << "the neighbouring slides, and the overview's thumbnails";
}

}  // namespace
