// The picture cache and its workers, with files that exist only in memory: what is decoded, by
// which thread, when a request waits and for how long, what a changed file shows, and what a
// stalled decode holds up. Races are decided by gates in the decoder, never by sleeps.
#include "pictures/picture_cache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <memory>

#include "pictures/make_estimates.h"

#include "fake_files.h"

namespace {

using namespace picturetest;

constexpr std::size_t kLarge = 64u << 20;

TEST(PictureCache, ARepaintOfTheSameVersionNeitherDecodesNorScales) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 10);
    PictureCache cache(files.Hooks(), kLarge);
    const auto first = Paint(cache, files, Wants({Slide(L"a.png")}));
    ASSERT_TRUE(first->pixels);
    EXPECT_EQ(first->pixels->width(), 40);
    EXPECT_EQ(first->pixels->height(), 30);
    cache.WaitUntilIdle();
    EXPECT_EQ(Paint(cache, files, Wants({Slide(L"a.png")})), first);
    EXPECT_EQ(cache.GetStats().decodes, 1);
    EXPECT_EQ(cache.GetStats().scales, 1);
}

TEST(PictureCache, AFileChangedOnDiskShowsItsNewVersion) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 10);
    PictureCache cache(files.Hooks(), kLarge);
    EXPECT_EQ(GreyOf(*Paint(cache, files, Wants({Slide(L"a.png")}))), 10);
    files.Put(L"a.png", 80, 60, 200);
    EXPECT_EQ(GreyOf(*Paint(cache, files, Wants({Slide(L"a.png")}))), 200);
    files.Set(L"a.png", &FakeFiles::File::decodes, false);
    files.Put(L"a.png", 80, 60, 99);
    EXPECT_FALSE(Paint(cache, files, Wants({Slide(L"a.png")}))->pixels) << "undecodable now: nothing to draw";
    EXPECT_FALSE(Paint(cache, files, Wants({Slide(L"a.png")}))->pixels);
    cache.WaitUntilIdle();
    EXPECT_EQ(cache.GetStats().decodes, 3) << "a version known not to decode is not tried again (a read that "
                                                 "failed is: picture_failures_test)";
}

TEST(PictureCache, NeighboursArePreparedByAWorkerAndShownWithoutADecode) {
    FakeFiles files;
    for (const wchar_t* p : {L"1.png", L"2.png", L"3.png"}) files.Put(p, 80, 60, 1);
    PictureCache cache(files.Hooks(), kLarge);
    Paint(cache, files, Wants({Slide(L"2.png"), Slide(L"3.png"), Slide(L"1.png")}));
    cache.WaitUntilIdle();
    EXPECT_EQ(cache.GetStats().workerDecodes, 2);
    Show(cache, files, Slide(L"3.png"));
    Show(cache, files, Slide(L"1.png"));
    EXPECT_EQ(cache.GetStats().decodes, 3) << "the keys found their slides ready";
    EXPECT_GT(files.normalJobs, 0) << "the show's jobs run at the normal priority";
    EXPECT_EQ(files.lowJobs, 0);
}

TEST(PictureCache, AskingForWhatAWorkerMakesWaitsForItInsteadOfDecodingAgain) {
    FakeFiles files;
    PictureCache cache(files.Hooks(), kLarge);
    TeachSlowDecodes(cache, files, L"taught.png", 10s);  // so that the wait may last to its cap
    files.Put(L"next.png", 80, 60, 7);
    files.Set(L"next.png", &FakeFiles::File::gated, true);
    cache.Want(PictureClient::Show, Wants({Slide(L"next.png")}), 0);
    ASSERT_TRUE(files.WaitForGate());
    auto answer = std::async(std::launch::async, [&] { return Show(cache, files, Slide(L"next.png")); });
    ASSERT_TRUE(Eventually([&] { return cache.GetStats().waits == 1; }));
    files.Open();
    EXPECT_EQ(GreyOf(*answer.get()), 7);
    EXPECT_EQ(files.Decodes(L"next.png"), 1);
    EXPECT_EQ(cache.GetStats().waitsCut, 0);
    cache.WaitUntilIdle();
}

TEST(PictureCache, AnotherPictureIsAnsweredWhileAWorkerIsStuck) {
    FakeFiles files;
    files.Put(L"slow.png", 80, 60, 1);
    files.Put(L"shown.png", 80, 60, 2);
    files.Set(L"slow.png", &FakeFiles::File::gated, true);
    PictureCache cache(files.Hooks(), kLarge);
    cache.Want(PictureClient::Show, Wants({Slide(L"slow.png")}), 0);
    ASSERT_TRUE(files.WaitForGate());
    EXPECT_EQ(GreyOf(*Paint(cache, files, Wants({Slide(L"shown.png")}))), 2) << "answered while the worker is stuck";
    files.Open();
    cache.WaitUntilIdle();
}

TEST(PictureCache, AResizeScalesTheSlideOnScreenAgainFromItsDecodedPixels) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 5);
    files.Put(L"b.png", 80, 60, 6);
    PictureCache cache(files.Hooks(), kLarge);
    Paint(cache, files, Wants({Slide(L"a.png", 40, 30), Slide(L"b.png", 40, 30)}));
    cache.WaitUntilIdle();
    // One snapshot: a worker's decode ending between two would count against this thread.
    const auto onThisThread = [&] {
        const PictureCache::Stats s = cache.GetStats();
        return s.decodes - s.workerDecodes;
    };
    const int decodes = onThisThread();
    const auto big = Paint(cache, files, Wants({Slide(L"a.png", 160, 120), Slide(L"b.png", 160, 120)}));
    ASSERT_TRUE(big->pixels);
    EXPECT_EQ(big->pixels->width(), 160);
    EXPECT_EQ(onThisThread(), decodes) << "the slide on screen only scaled anew";
    cache.WaitUntilIdle();
    EXPECT_EQ(cache.GetStats().kept, 2u * 160 * 120 * 4 + 80 * 60 * 4) << "the old sizes are let go";
    EXPECT_EQ(cache.GetStats().ledger.alive, cache.GetStats().kept) << "and freed";
}

TEST(PictureCache, PhotosAreLetterboxedAtTheirShape) {
    FakeFiles files;
    files.Put(L"wide.jpg", 1600, 600, 9);
    PictureCache cache(files.Hooks(), kLarge);
    const auto p = Paint(cache, files, Wants({PictureRequest{L"wide.jpg", 1000, 600, FitMode::Letterbox, {}}}));
    ASSERT_TRUE(p->pixels);
    EXPECT_EQ(p->x, 0);
    EXPECT_EQ(p->y, 112);
    EXPECT_EQ(p->pixels->width(), 1000);
    EXPECT_EQ(p->pixels->height(), 375);

    // A photo so thin that its letterbox has no height still takes the window, which shows black.
    files.Put(L"thread.png", 16384, 1, 9);
    const auto thin = Paint(cache, files, Wants({PictureRequest{L"thread.png", 1000, 600, FitMode::Letterbox, {}}}));
    EXPECT_TRUE(thin->placed);
    EXPECT_FALSE(thin->pixels);
}

TEST(PictureCache, StampsAreCopiedOverThePictureInOrder) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 10);
    PictureCache cache(files.Hooks(), kLarge);
    const auto stamp = [](int id, int x, int y, std::uint8_t grey) {
        auto p = fw::PixelBuffer::Allocate(10, 10);
        std::memset(p.data(), grey, p.bytes());
        return Stamp{id, x, y, std::make_shared<const fw::PixelBuffer>(std::move(p))};
    };
    PictureRequest r = Slide(L"a.png", 80, 60);
    r.stamps = {stamp(1, 0, 0, 50), stamp(2, 5, 5, 60), stamp(3, 75, 55, 70)};  // the last one clipped
    const auto p = Paint(cache, files, Wants({r}));
    ASSERT_TRUE(p->pixels);
    const auto at = [&](int x, int y) { return p->pixels->data()[(y * 80 + x) * 4]; };
    EXPECT_EQ(at(1, 1), 50);
    EXPECT_EQ(at(6, 6), 60) << "later stamps over earlier ones";
    EXPECT_EQ(at(79, 59), 70);
    EXPECT_EQ(at(40, 30), 10);
    // The same file without the stamps is another picture, made apart: the stamped one is not
    // served for it, nor is it served for the stamped one.
    PictureRequest plain = r;
    plain.stamps.clear();
    const auto bare = Paint(cache, files, Wants({plain}));
    ASSERT_TRUE(bare->pixels);
    EXPECT_NE(bare->pixels, p->pixels);
    EXPECT_EQ(bare->pixels->data()[0], 10) << "no stamp on it";
    EXPECT_EQ(Paint(cache, files, Wants({r}))->pixels->data()[0], 50) << "and the stamped one kept its stamps";
}

TEST(PictureCache, AStretchToTheDecodedSizeSharesItsPixels) {
    FakeFiles files;
    files.Put(L"a.png", 64, 48, 3);
    PictureCache cache(files.Hooks(), kLarge);
    Paint(cache, files, Wants({Slide(L"a.png", 64, 48)}));
    EXPECT_EQ(cache.GetStats().kept, 64u * 48 * 4);
    EXPECT_EQ(cache.GetStats().ledger.alive, 64u * 48 * 4);
}

TEST(PictureCache, ADecoderThatThrowsCostsThatPictureOnly) {
    FakeFiles files;
    files.Put(L"bad.png", 80, 60, 1);
    files.Put(L"good.png", 80, 60, 2);
    files.Set(L"bad.png", &FakeFiles::File::throws, true);
    PictureCache cache(files.Hooks(), kLarge);
    cache.Want(PictureClient::Show, Wants({Slide(L"bad.png"), Slide(L"good.png")}), 0);
    cache.WaitUntilIdle();
    EXPECT_EQ(files.Decodes(L"good.png"), 1) << "the worker went on to the next";
    EXPECT_FALSE(Show(cache, files, Slide(L"bad.png"))->pixels);
    EXPECT_EQ(GreyOf(*Show(cache, files, Slide(L"good.png"))), 2);
    EXPECT_EQ(cache.GetStats().ledger.reserved, 0u) << "the room set aside for the broken decode was given back";
}

TEST(PictureCache, AFileRemovedAfterItsIdentityWasReadDrawsNothing) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 1);
    PictureCache cache(files.Hooks(), kLarge);
    const auto identity = files.Identify(L"a.png");
    files.Remove(L"a.png");
    EXPECT_FALSE(cache.Get(Slide(L"a.png"), *identity)->pixels);
}

TEST(PictureCache, APictureWithoutAreaIsNeitherMadeNorDecoded) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 1);
    PictureCache cache(files.Hooks(), kLarge);
    for (const PictureRequest& r : {Slide(L"a.png", 0, 30), Slide(L"a.png", 40, 0), Slide(L"a.png", -5, 30)}) {
        EXPECT_FALSE(Paint(cache, files, Wants({r}))->placed);
        cache.Want(PictureClient::Console, Wants({r, r}), 0);
        cache.WaitUntilIdle();
    }
    EXPECT_EQ(files.AllDecodes(), 0);
    EXPECT_EQ(cache.GetStats().ledger.peak, 0u);
}

TEST(PictureCache, AJobEndingBetweenAPaintsGetAndItsNextWantKeepsWhatThePaintMade) {
    const struct {
        const char* what;
        PictureRequest made;  // asked for by the paint while a worker is on the next slide
    } cases[] = {
        {"a new window size", Slide(L"shown.png", 80, 60)},
        {"a photo just entered", {L"photo.jpg", 40, 30, FitMode::Letterbox, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeFiles files;
        files.Put(L"shown.png", 80, 60, 1);
        files.Put(L"next.png", 80, 60, 2);
        files.Put(L"photo.jpg", 80, 60, 3);
        files.Set(L"next.png", &FakeFiles::File::stallsFirst, true);
        PictureCache cache(files.Hooks(), kLarge);
        Paint(cache, files, Wants({Slide(L"shown.png"), Slide(L"next.png")}));
        ASSERT_TRUE(files.WaitForGate());
        const auto made = Paint(cache, files, Wants({c.made, Slide(L"next.png")}));
        files.Open();  // the worker's job ends now, before the paint says what it wants next
        cache.WaitUntilIdle();
        const int scales = cache.GetStats().scales;
        EXPECT_EQ(Paint(cache, files, Wants({c.made, Slide(L"next.png")})), made);
        EXPECT_EQ(cache.GetStats().scales, scales) << "still kept";
    }
}

// ---- Waits bounded by an estimate for the very picture ----

TEST(PictureCache, AfterAStalledDecodeTheNextWaitIsAsLongAsItsPictureTakesNotAsTheStall) {
    FakeFiles files;
    PictureCache cache(files.Hooks(), kLarge, 1);
    for (const wchar_t* p : {L"1.png"}) {  // one: a median of two would take the stall's half in
        files.Put(p, 1920, 1080, 1);
        files.Set(p, &FakeFiles::File::takes, std::chrono::nanoseconds(40ms));
        Show(cache, files, Slide(p, 192, 108));
    }
    const auto usual = cache.Estimate(Slide(L"4.png", 192, 108));
    files.Put(L"stuck.png", 1920, 1080, 1);
    files.Set(L"stuck.png", &FakeFiles::File::takes, std::chrono::nanoseconds(3s));  // a read that hung on a share
    Show(cache, files, Slide(L"stuck.png", 192, 108));
    EXPECT_EQ(cache.Estimate(Slide(L"4.png", 192, 108)), usual) << "the stall is left out";
    EXPECT_LT(usual, 100ms);

    // A wait on a worker making the next slide lasts that slide's estimate, however long the stall was.
    files.Put(L"next.png", 1920, 1080, 7);
    files.Set(L"next.png", &FakeFiles::File::stallsFirst, true);
    cache.Want(PictureClient::Show, Wants({Slide(L"next.png", 192, 108)}), 0);
    ASSERT_TRUE(files.WaitForGate());
    const auto answer = Show(cache, files, Slide(L"next.png", 192, 108));
    files.Open();
    EXPECT_EQ(GreyOf(*answer), 7) << "made by the caller";
    EXPECT_EQ(cache.GetStats().waitsCut, 1);
    EXPECT_LE(cache.GetStats().lastWaitLimit, usual);
    cache.WaitUntilIdle();  // the worker's decode returns before the files go
}

TEST(PictureCache, AsManyStallsInARowAsMakeTheRuleAreRemembered) {
    MakeEstimates estimates;
    const std::size_t px = 1920 * 1080;
    for (int i = 0; i < 4; ++i) estimates.RecordDecode(L".png", px, 40ms);
    const auto usual = estimates.Estimate(L".png", px, 0, 0);
    estimates.RecordDecode(L".png", px, 3s);
    estimates.RecordDecode(L".png", px, 3s);
    EXPECT_EQ(estimates.Estimate(L".png", px, 0, 0), usual) << "two stalls are left out";
    for (int i = 0; i < 6; ++i) estimates.RecordDecode(L".png", px, 3s);
    EXPECT_GT(estimates.Estimate(L".png", px, 0, 0), usual) << "a share that has become slow is followed";
    EXPECT_EQ(estimates.Estimate(L".png", px, 0, 0), MakeEstimates::kLongest) << "capped";
}

TEST(PictureCache, APhotoOf16MegapixelsDoesNotSetTheWaitForSlides) {
    MakeEstimates estimates;
    for (int i = 0; i < 3; ++i) estimates.RecordDecode(L".png", 1920 * 1080, 40ms);
    for (int i = 0; i < 8; ++i) estimates.RecordDecode(MakeEstimates::KindOf(L"C:\\Photos\\IMG.JPG"), 4928 * 3264, 900ms);
    EXPECT_LT(estimates.Estimate(L".png", 1920 * 1080, 0, 0), 60ms);
    EXPECT_GT(estimates.Estimate(L".jpg", 4928 * 3264, 0, 0), 800ms);
    EXPECT_EQ(MakeEstimates::KindOf(L"C:\\a.b\\slide"), L"");
    EXPECT_EQ(estimates.Estimate(L".png", 1, 0, 0), MakeEstimates::kShortest) << "no wait is shorter";
}

TEST(PictureCache, AWaitForRoomIsNotTimedAsPartOfTheDecode) {
    // The next slide's worker waits for room a picture drawn by its client holds; meanwhile time
    // passes. The decode itself takes 40 ms, and that is what the next estimate goes by.
    FakeFiles files;
    files.Put(L"big.jpg", 2000, 2000, 1);  // 16 MB alive
    files.Put(L"next.png", 1920, 1080, 2);
    files.Set(L"next.png", &FakeFiles::File::takes, std::chrono::nanoseconds(40ms));
    PictureCache cache(files.Hooks(), 20'000'000);
    auto drawn = Show(cache, files, Slide(L"big.jpg", 2000, 2000));
    const int asked = files.roomAsks;
    cache.Want(PictureClient::Show, Wants({Slide(L"next.png")}), 0);
    ASSERT_TRUE(Eventually([&] { return files.roomAsks > asked; })) << "the worker waits for room";
    files.Pass(150ms);
    drawn.reset();
    cache.WaitUntilIdle();
    ASSERT_EQ(files.Decodes(L"next.png"), 1);
    EXPECT_LT(cache.Estimate(Slide(L"other.png")), 100ms) << "the 150 ms of waiting were left out";
}

TEST(PictureCache, ShrinkingAndGrowingAreTimedApart) {
    // A thumbnail's shrink reads every pixel of its source; a slide grown to 4K writes every
    // pixel it makes: neither sets the other's estimate.
    MakeEstimates estimates;
    const std::size_t slide = 1920 * 1080, screen = 3840 * 2160, thumbnail = 384 * 216;
    for (int i = 0; i < 3; ++i) estimates.RecordScale(slide, thumbnail, 20ms);  // ~10 ns per source pixel
    for (int i = 0; i < 3; ++i) estimates.RecordScale(slide, screen, 25ms);     // ~3 ns per pixel made
    const auto ms = [&](std::size_t from, std::size_t to) {
        return std::chrono::duration<double, std::milli>(estimates.Estimate(L".png", 0, from, to)).count();
    };
    EXPECT_NEAR(ms(slide, thumbnail), 30, 1)
        << "at least kShortest: 20 ms of shrinking";
    EXPECT_NEAR(ms(slide, screen * 4), 100, 1)
        << "growing four times the pixels, at growing's rate";
    EXPECT_NEAR(ms(slide * 4, thumbnail), 80, 1)
        << "shrinking four times the source, at shrinking's rate";
}

// ---- Closing ----

TEST(PictureCache, DestroyedWhileADecodeHasStalledEndsWithoutWaitingForIt) {
    FakeFiles files;
    files.Put(L"stuck.png", 80, 60, 1);
    files.Put(L"later.png", 80, 60, 1);
    files.Set(L"stuck.png", &FakeFiles::File::gated, true);
    auto cache = std::make_unique<PictureCache>(files.Hooks(), kLarge);
    cache->Want(PictureClient::Show, Wants({Slide(L"stuck.png"), Slide(L"later.png")}), 0);
    ASSERT_TRUE(files.WaitForGate());
    auto closing = std::async(std::launch::async, [&] { cache.reset(); });
    // Closing waits for a job under way no longer than its estimate, which is never longer than
    // kLongest: the gate stays shut well past that.
    const bool closed = closing.wait_for(MakeEstimates::kLongest + 1s) == std::future_status::ready;
    files.Open();
    closing.wait();
    EXPECT_TRUE(closed) << "closing waited for the stalled decode";
    EXPECT_TRUE(Eventually([&] { return files.workerThreadsLeft == files.workerThreads; }))
        << "the workers end when the decode returns";
    EXPECT_EQ(files.Decodes(L"later.png"), 0) << "nothing new starts once the cache goes";
}

}  // namespace
