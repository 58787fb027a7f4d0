// What the picture cache keeps, measured by its ledger (the bytes of every pixel buffer alive and
// of the room set aside for pictures in progress): at the screen sizes of laptops and 4K
// monitors, with the overview's thumbnails and the presenter console as clients beside the show;
// what a client that says what it wants next lets go, at once, even while a worker is stuck in a
// decode; and that nothing is kept twice.
#include "pictures/picture_cache.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <string>

#include "fake_files.h"

namespace {

using namespace picturetest;

// The show's wanted pictures from a slide in the middle of a deck: the slide on screen, the next,
// the previous, then the last and the first, whose decoded pixels will do until a key asks.
std::vector<Wanted> OneKeyAway(int w, int h, const std::wstring& prefix = L"") {
    std::vector<Wanted> wanted;
    for (const wchar_t* p : {L"shown.png", L"next.png", L"previous.png", L"last.png", L"first.png"})
        wanted.push_back({Slide(prefix + p, w, h), wanted.size() >= 3});
    return wanted;
}

// The overview's 69 thumbnails at a tenth of the client area's sides.
std::vector<Wanted> Thumbnails(FakeFiles& files, int w, int h) {
    std::vector<Wanted> wanted;
    for (int i = 0; i < 69; ++i) {
        const std::wstring path = L"thumb" + std::to_wstring(i) + L".png";
        files.Put(path, 1920, 1080, 30);
        wanted.push_back({Slide(path, w / 10, h / 10), false});
    }
    return wanted;
}

TEST(PictureCacheAtScreenSizes, EveryOneKeyMoveFindsItsPictureReadyOrDecodedWithinTheBudget) {
    const struct {
        int w, h;
        int ready;  // of the five, most likely first, ready to draw; the others held decoded
    } sizes[] = {
        {1920, 1080, 5},  // 2.1 Mpx
        {2560, 1600, 5},  // 4.1 Mpx
        {3200, 1800, 5},  // 5.8 Mpx, a laptop's panel
        {3840, 2160, 3},  // 8.3 Mpx: the last and the first held decoded
    };
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.w) + "x" + std::to_string(size.h));
        FakeFiles files;
        const std::vector<Wanted> wanted = OneKeyAway(size.w, size.h);
        for (const Wanted& w : wanted) files.Put(w.request.path, 1920, 1080, 40);
        PictureCache cache(files.Hooks(), kScreenPictureBudget);
        cache.Want(PictureClient::Overview, Thumbnails(files, size.w, size.h));
        for (int paint = 0; paint < 3; ++paint) {  // the paint, then repaints (a hover highlight removed)
            Paint(cache, files, wanted);
            cache.WaitUntilIdle();
        }
        EXPECT_EQ(cache.Ready(PictureClient::Overview), 69) << "every thumbnail made";
        const PictureCache::Stats prepared = cache.GetStats();
        EXPECT_LE(prepared.ledger.peak, kScreenPictureBudget);
        EXPECT_EQ(prepared.madeUnused, 0);
        std::vector<bool> ready;
        for (const Wanted& w : wanted) {
            const int decodes = files.AllDecodes(), scales = cache.GetStats().scales;
            Show(cache, files, w.request);
            EXPECT_EQ(files.AllDecodes(), decodes) << "a key never waits for a decode";
            ready.push_back(cache.GetStats().scales == scales);
        }
        std::vector<bool> expected(wanted.size(), false);
        std::fill_n(expected.begin(), size.ready, true);
        EXPECT_EQ(ready, expected);
    }
}

TEST(PictureCacheAtScreenSizes, InPictureModeThePhotosNextDoorOf16MegapixelsAreReady) {
    const struct {
        int w, h;
        int ready;  // the photo, the neighbouring photos, the slide under them
    } sizes[] = {{1920, 1080, 4}, {3200, 1800, 4}, {3840, 2160, 3}};
    for (const auto& size : sizes) {
        const int w = size.w, h = size.h;
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        FakeFiles files;
        std::vector<Wanted> wanted;
        for (const wchar_t* p : {L"shown.jpg", L"next.jpg", L"previous.jpg"}) {
            files.Put(p, 4928, 3264, 70);
            wanted.push_back({PictureRequest{p, w, h, FitMode::Letterbox, {}}, false});
        }
        for (const Wanted& slide : OneKeyAway(w, h)) {
            files.Put(slide.request.path, 1920, 1080, 40);
            wanted.push_back(slide);
        }
        PictureCache cache(files.Hooks(), kScreenPictureBudget);
        Paint(cache, files, wanted);
        cache.WaitUntilIdle();
        EXPECT_LE(cache.GetStats().ledger.peak, kScreenPictureBudget);
        const int decodes = files.AllDecodes();
        for (int i = 0; i < size.ready; ++i) Show(cache, files, wanted[static_cast<std::size_t>(i)].request);
        EXPECT_EQ(files.AllDecodes(), decodes) << "the photos next door (and the slide under them) were ready";
    }
}

TEST(PictureCacheClients, AClientsPicturesAreLetGoWhenItWantsOthersEvenWhileTheShowSaysNothing) {
    // The presenter console given 68 Page Downs while the show is minimised (and does not paint).
    FakeFiles files;
    for (int i = 0; i < 70; ++i) files.Put(L"s" + std::to_wstring(i) + L".png", 1920, 1080, 1);
    PictureCache cache(files.Hooks(), kScreenPictureBudget);
    Paint(cache, files, OneKeyAway(1920, 1080, L"s"));
    for (const Wanted& w : OneKeyAway(1920, 1080, L"s")) files.Put(w.request.path, 1920, 1080, 1);
    cache.WaitUntilIdle();
    std::size_t after5 = 0;
    for (int row = 0; row < 68; ++row) {
        const auto slide = [&](int r, int w, int h) { return Wanted{Slide(L"s" + std::to_wstring(r) + L".png", w, h), false}; };
        Paint(cache, files, {slide(row, 1100, 620), slide(row + 1, 700, 400), slide(row + 1, 1100, 620), slide(row + 2, 700, 400)},
              PictureClient::Console);
        cache.WaitUntilIdle();
        if (row == 5) after5 = cache.GetStats().ledger.alive;
    }
    EXPECT_EQ(cache.GetStats().ledger.alive, after5) << "flat, key after key";
    EXPECT_LE(cache.GetStats().ledger.peak, kScreenPictureBudget);
}

TEST(PictureCacheClients, JobsWithoutRoomWaitForAChangeInsteadOfWakingEachOther) {
    // A picture the plan let go is still drawn by its client (36 MB alive), so two slides the
    // plan holds find no room in a 40 MB budget. Their workers give up and rest until what is
    // held changes; then both are made.
    FakeFiles files;
    files.Put(L"big.png", 3000, 3000, 1);
    files.Put(L"a.png", 1920, 1080, 2);
    files.Put(L"b.png", 1920, 1080, 3);
    PictureCache cache(files.Hooks(), std::size_t{40} << 20);
    auto drawn = Paint(cache, files, Wants({Slide(L"big.png", 3000, 3000)}));
    cache.Want(PictureClient::Show, Wants({Slide(L"a.png"), Slide(L"b.png")}), 0);
    auto idle = std::async(std::launch::async, [&] { cache.WaitUntilIdle(); });
    EXPECT_EQ(idle.wait_for(15s), std::future_status::ready) << "the workers rest";
    EXPECT_EQ(cache.Ready(PictureClient::Show), 0);
    drawn.reset();  // the client paints something else
    cache.Want(PictureClient::Show, Wants({Slide(L"a.png"), Slide(L"b.png")}), 0);
    idle.wait();
    cache.WaitUntilIdle();
    EXPECT_EQ(cache.Ready(PictureClient::Show), 2);
    EXPECT_LE(cache.GetStats().ledger.peak, std::size_t{40} << 20);
}

TEST(PictureCacheClients, WhatIsLetGoIsFreedAtOnceWhileAWorkerIsStuckInADecode) {
    FakeFiles files;
    for (int i = 0; i < 40; ++i) files.Put(L"s" + std::to_wstring(i) + L".png", 1920, 1080, 1);
    files.Put(L"stuck.png", 1920, 1080, 1);
    files.Set(L"stuck.png", &FakeFiles::File::gated, true);
    PictureCache cache(files.Hooks(), kScreenPictureBudget);
    // A thumbnail's decode that hangs (a file on a share) holds one worker.
    cache.Want(PictureClient::Overview, Wants({Slide(L"stuck.png", 192, 108)}));
    ASSERT_TRUE(files.WaitForGate());
    // Keys at a fast pace at 4K: each paint makes its slide and lets the previous ones go.
    for (int row = 0; row < 30; ++row) {
        const auto slide = [&](int r) { return Slide(L"s" + std::to_wstring(r) + L".png", 3840, 2160); };
        Paint(cache, files, Wants({slide(row)}));
        const PictureCache::Stats now = cache.GetStats();
        // Alive: what is kept, and the stuck decode's room; nothing waits to be freed.
        EXPECT_EQ(now.ledger.alive, now.kept) << "key " << row;
        EXPECT_LE(now.ledger.alive + now.ledger.reserved, kScreenPictureBudget) << "key " << row;
    }
    files.Open();
    cache.WaitUntilIdle();
    EXPECT_LE(cache.GetStats().ledger.peak, kScreenPictureBudget);
}

TEST(PictureCacheClients, TheShowsNeedsComeFirstAndNothingIsKeptTwice) {
    FakeFiles files;
    for (const wchar_t* p : {L"a.png", L"b.png", L"c.png"}) files.Put(p, 100, 100, 1);
    const std::size_t picture = 100 * 100 * 4;
    // Room for three pictures (each its file's decoded pixels, at their own size): the console's
    // b and c, made while the console alone wanted them; then the show's a and b come first, b
    // is kept once for both clients, and c, with room left for a decode, no longer fits.
    PictureCache cache(files.Hooks(), 3 * picture);
    Show(cache, files, Slide(L"a.png", 100, 100));  // asked for outside any plan: tells the files' size, kept by none
    EXPECT_EQ(cache.GetStats().kept, 0u);
    cache.Want(PictureClient::Console, Wants({Slide(L"b.png", 100, 100), Slide(L"c.png", 100, 100)}));
    cache.WaitUntilIdle();
    EXPECT_EQ(files.Decodes(L"c.png"), 1) << "made while it fitted";
    Paint(cache, files, Wants({Slide(L"a.png", 100, 100), Slide(L"b.png", 100, 100)}));
    cache.WaitUntilIdle();
    EXPECT_FALSE(cache.Peek(Slide(L"c.png", 100, 100)));
    files.Put(L"a.png", 100, 100, 2);  // a new version of the slide on screen
    EXPECT_EQ(GreyOf(*Paint(cache, files, Wants({Slide(L"a.png", 100, 100), Slide(L"b.png", 100, 100)}))), 2);
    cache.WaitUntilIdle();
    const PictureCache::Stats s = cache.GetStats();
    EXPECT_EQ(s.kept, 2 * picture) << "one version of a, one b for both clients";
    EXPECT_EQ(s.ledger.alive, s.kept);
    EXPECT_LE(s.ledger.peak, s.budget);
}

}  // namespace

TEST(PictureCacheClients, TheRoomKeptFreeForWhatIsDrawnNowIsWhatItTakes) {
    // A worker leaves room for the pictures its clients draw right away and have not made yet:
    // as much as they take, no more. 20 KB a paint still holds is alive beside the plan.
    const std::size_t file = 100 * 100 * 4;
    const struct {
        const char* what;
        PictureClient client;
        std::vector<Wanted> wanted;  // the first drawn now
        bool missing;                // its file is gone
    } cases[] = {
        {"a sheet's file as decoded: its picture is its decoded pixels, counted once", PictureClient::Print,
         {{PictureRequest{L"sheet.png", 0, 0, FitMode::AsDecoded, {}}, false},
          {PictureRequest{L"ahead.png", 0, 0, FitMode::AsDecoded, {}}, false}},
         false},
        {"a slide whose file is missing: nothing to keep room for", PictureClient::Show,
         {{Slide(L"sheet.png", 100, 100), false}, {Slide(L"ahead.png", 100, 100), false}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeFiles files;
        files.Put(L"sheet.png", 100, 100, 1);
        files.Put(L"ahead.png", 100, 100, 2);
        files.Put(L"taught.png", 100, 100, 3);
        PictureCache cache(files.Hooks(), 3 * file + file / 4);
        Show(cache, files, Slide(L"taught.png", 100, 100));  // the files' size is known
        auto held = std::make_shared<fw::PixelBuffer>(fw::PixelBuffer::Allocate(50, 100, cache.Ledger()));
        if (c.missing) files.Remove(L"sheet.png");
        cache.Want(c.client, c.wanted, 1);
        if (c.missing) Show(cache, files, c.wanted[0].request);  // the paint finds it missing
        cache.WaitUntilIdle();
        const auto ahead = cache.Peek(c.wanted[1].request);
        EXPECT_TRUE(ahead && ahead->pixels) << "made ahead, the room kept free not overstated";
    }
}
