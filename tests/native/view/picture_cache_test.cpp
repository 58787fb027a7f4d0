// The picture cache and its worker, with files that exist only in memory: what is decoded, by
// which thread, when a request waits and for how long, what a changed file shows, what the budget
// keeps at the screen sizes of laptops and 4K monitors, and what a stalled decode holds up.
#include "view/picture_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Files by path: their identity, size and colour. A file may be made slow (its decode waits for
// the test to let it go) or broken (its decode throws).
class FakeFiles {
public:
    struct File {
        fw::FileIdentity identity;
        int width = 0, height = 0;
        std::uint8_t grey = 0;
        bool decodes = true;
        bool gated = false;       // every decode waits for the gate
        bool stallsFirst = false;  // the first decode waits for the gate, later ones do not
        bool throws = false;
    };

    void Put(const std::wstring& path, int w, int h, std::uint8_t grey) {
        const std::lock_guard lock(mutex_);
        File& f = files_[path];
        f.identity.written += 1;  // every write is a new version
        f.identity.size = static_cast<std::uint64_t>(w) * h;
        f.width = w, f.height = h, f.grey = grey;
    }
    void Remove(const std::wstring& path) {
        const std::lock_guard lock(mutex_);
        files_.erase(path);
    }
    void Set(const std::wstring& path, bool File::*flag, bool value) {
        const std::lock_guard lock(mutex_);
        files_[path].*flag = value;
    }
    std::optional<fw::FileIdentity> Identify(const std::wstring& path) const {
        const std::lock_guard lock(mutex_);
        const auto it = files_.find(path);
        if (it == files_.end()) return std::nullopt;
        return it->second.identity;
    }
    // Lets gated decodes through; WaitForGate blocks until one has started.
    void Open() {
        {
            const std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    bool WaitForGate() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [&] { return waiting_ > 0; });
    }
    int Decodes(const std::wstring& path) const {
        const std::lock_guard lock(mutex_);
        const auto it = decodes_.find(path);
        return it == decodes_.end() ? 0 : it->second;
    }

    fw::DecodedFile Decode(const std::wstring& path) {
        std::unique_lock lock(mutex_);
        const auto it = files_.find(path);
        if (it == files_.end()) return {};
        const File f = it->second;
        const int nth = ++decodes_[path];
        if (f.gated || (f.stallsFirst && nth == 1)) {
            ++waiting_;
            changed_.notify_all();
            changed_.wait(lock, [&] { return open_; });
            --waiting_;
        }
        if (f.throws) throw std::runtime_error("broken codec");
        fw::DecodedFile out{true, f.identity, {}};
        if (!f.decodes) return out;
        out.pixels = fw::PixelBuffer::Allocate(f.width, f.height);
        std::memset(out.pixels.data(), f.grey, out.pixels.bytes());
        return out;
    }

    PictureCache::Hooks Hooks() {
        PictureCache::Hooks hooks;
        hooks.identify = [this](const std::wstring& p) { return Identify(p); };
        hooks.decode = [this](const std::wstring& p) { return Decode(p); };
        hooks.enterWorkerThread = [this] {
            ++workerThreads;
            return std::shared_ptr<void>(nullptr, [this](void*) { ++workerThreadsLeft; });
        };
        return hooks;
    }

    std::atomic<int> workerThreads{0};
    std::atomic<int> workerThreadsLeft{0};

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::wstring, File> files_;
    std::map<std::wstring, int> decodes_;
    bool open_ = false;
    int waiting_ = 0;
};

constexpr std::size_t kLarge = 64u << 20;

PictureRequest Slide(const std::wstring& path, int w = 40, int h = 30) { return {path, w, h, FitMode::Stretch}; }

std::shared_ptr<const ScaledPicture> Show(PictureCache& cache, FakeFiles& files, const PictureRequest& r) {
    const auto identity = files.Identify(r.path);
    EXPECT_TRUE(identity) << "no such file";
    return cache.Get(r, identity.value_or(fw::FileIdentity{}));
}

std::uint8_t GreyOf(const ScaledPicture& p) { return p.pixels ? p.pixels->data()[0] : 0; }

TEST(PictureCache, ARepaintOfTheSameVersionNeitherDecodesNorScales) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 10);
    PictureCache cache(files.Hooks(), kLarge);
    const auto first = Show(cache, files, Slide(L"a.png"));
    ASSERT_TRUE(first->pixels);
    EXPECT_EQ(first->pixels->width(), 40);
    EXPECT_EQ(first->pixels->height(), 30);
    cache.Prepare({Slide(L"a.png")});
    cache.WaitUntilIdle();
    const auto again = Show(cache, files, Slide(L"a.png"));
    EXPECT_EQ(again, first);
    EXPECT_EQ(cache.GetStats().decodes, 1);
    EXPECT_EQ(cache.GetStats().scales, 1);
}

TEST(PictureCache, AFileChangedOnDiskShowsItsNewVersion) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 10);
    PictureCache cache(files.Hooks(), kLarge);
    EXPECT_EQ(GreyOf(*Show(cache, files, Slide(L"a.png"))), 10);
    cache.Prepare({Slide(L"a.png")});
    files.Put(L"a.png", 80, 60, 200);
    EXPECT_EQ(GreyOf(*Show(cache, files, Slide(L"a.png"))), 200);
    files.Set(L"a.png", &FakeFiles::File::decodes, false);
    files.Put(L"a.png", 80, 60, 99);
    EXPECT_FALSE(Show(cache, files, Slide(L"a.png"))->pixels) << "undecodable now: nothing to draw";
    EXPECT_FALSE(Show(cache, files, Slide(L"a.png"))->pixels);
    EXPECT_EQ(files.Decodes(L"a.png"), 3) << "a version known not to decode is not tried again";
}

TEST(PictureCache, NeighboursArePreparedByTheWorkerAndShownWithoutADecode) {
    FakeFiles files;
    for (const wchar_t* p : {L"1.png", L"2.png", L"3.png"}) files.Put(p, 80, 60, 1);
    PictureCache cache(files.Hooks(), kLarge);
    Show(cache, files, Slide(L"2.png"));
    cache.Prepare({Slide(L"2.png"), Slide(L"3.png"), Slide(L"1.png")});
    cache.WaitUntilIdle();
    EXPECT_EQ(cache.GetStats().workerDecodes, 2);
    Show(cache, files, Slide(L"3.png"));
    Show(cache, files, Slide(L"1.png"));
    EXPECT_EQ(cache.GetStats().decodes, 3) << "the keys found their slides ready";
    EXPECT_EQ(files.workerThreads, 1);
}

TEST(PictureCache, AskingForWhatTheWorkerPreparesWaitsForItInsteadOfDecodingAgain) {
    FakeFiles files;
    files.Put(L"next.png", 80, 60, 7);
    files.Set(L"next.png", &FakeFiles::File::gated, true);
    PictureCache cache(files.Hooks(), kLarge);
    cache.Prepare({Slide(L"next.png")});
    ASSERT_TRUE(files.WaitForGate());
    std::thread release([&] {
        std::this_thread::sleep_for(50ms);
        files.Open();
    });
    EXPECT_EQ(GreyOf(*Show(cache, files, Slide(L"next.png"))), 7);
    release.join();
    EXPECT_EQ(files.Decodes(L"next.png"), 1);
    EXPECT_EQ(cache.GetStats().waits, 1);
}

TEST(PictureCache, LookAheadNeverHoldsUpAnotherPicture) {
    FakeFiles files;
    files.Put(L"slow.png", 80, 60, 1);
    files.Put(L"shown.png", 80, 60, 2);
    files.Set(L"slow.png", &FakeFiles::File::gated, true);
    PictureCache cache(files.Hooks(), kLarge);
    cache.Prepare({Slide(L"slow.png")});
    ASSERT_TRUE(files.WaitForGate());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(GreyOf(*Show(cache, files, Slide(L"shown.png"))), 2);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "answered while the worker is stuck";
    cache.Prepare({Slide(L"shown.png")});
    files.Open();
    cache.WaitUntilIdle();
}

TEST(PictureCache, AResizeScalesAgainFromTheDecodedPixels) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 5);
    files.Put(L"b.png", 80, 60, 6);
    PictureCache cache(files.Hooks(), kLarge);
    Show(cache, files, Slide(L"a.png", 40, 30));
    cache.Prepare({Slide(L"a.png", 40, 30), Slide(L"b.png", 40, 30)});
    cache.WaitUntilIdle();
    const int decodes = cache.GetStats().decodes;
    const auto big = Show(cache, files, Slide(L"a.png", 160, 120));
    ASSERT_TRUE(big->pixels);
    EXPECT_EQ(big->pixels->width(), 160);
    cache.Prepare({Slide(L"a.png", 160, 120), Slide(L"b.png", 160, 120)});
    cache.WaitUntilIdle();
    EXPECT_EQ(cache.GetStats().decodes, decodes) << "only scaled anew";
    EXPECT_EQ(cache.GetStats().bytes, 2u * (160 * 120 * 4 + 80 * 60 * 4)) << "the old sizes are let go";
}

TEST(PictureCache, DecodedPixelsTakeOnlyTheRoomThePicturesLeave) {
    FakeFiles files;
    for (const wchar_t* p : {L"shown.png", L"next.png", L"far.png"}) files.Put(p, 100, 100, 1);
    const std::size_t picture = 50 * 50 * 4, decoded = 100 * 100 * 4;
    const std::vector<PictureRequest> wanted = {Slide(L"shown.png", 50, 50), Slide(L"next.png", 50, 50),
                                                Slide(L"far.png", 110, 110)};
    // Two pictures and one decoded file: the far picture is not made; the one on screen keeps its
    // decoded pixels, the next does not.
    PictureCache cache(files.Hooks(), 2 * picture + decoded);
    Show(cache, files, wanted[0]);
    cache.Prepare(wanted);
    cache.WaitUntilIdle();
    cache.Prepare(wanted);
    EXPECT_EQ(cache.GetStats().bytes, 2 * picture + decoded);
    EXPECT_EQ(cache.GetStats().dropped, 0);
    const int decodes = cache.GetStats().decodes;
    Show(cache, files, Slide(L"shown.png", 80, 80));
    EXPECT_EQ(cache.GetStats().decodes, decodes) << "the picture on screen resized from its decoded pixels";
    Show(cache, files, wanted[1]);
    EXPECT_EQ(cache.GetStats().decodes, decodes) << "the next one ready";
}

TEST(PictureCache, TheBudgetKeepsWhatIsMostLikelyNeeded) {
    FakeFiles files;
    for (const wchar_t* p : {L"0.png", L"1.png", L"2.png", L"3.png"}) files.Put(p, 100, 100, 1);
    const std::size_t picture = 100 * 100 * 4;
    PictureCache cache(files.Hooks(), 2 * picture + picture / 2);  // two pictures and a half
    std::vector<PictureRequest> wanted;
    for (const wchar_t* p : {L"0.png", L"1.png", L"2.png", L"3.png"}) wanted.push_back(Slide(p, 100, 100));
    Show(cache, files, wanted[0]);
    cache.Prepare(wanted);
    cache.WaitUntilIdle();
    EXPECT_LE(cache.GetStats().peakBytes, 2 * picture + picture / 2);
    EXPECT_EQ(cache.GetStats().workerDecodes, 1) << "only the next one fits";
    const int decodes = cache.GetStats().decodes;
    Show(cache, files, wanted[1]);
    EXPECT_EQ(cache.GetStats().decodes, decodes);
    Show(cache, files, wanted[2]);
    EXPECT_EQ(cache.GetStats().decodes, decodes + 1);
}

TEST(PictureCache, PhotosAreLetterboxedAtTheirShape) {
    FakeFiles files;
    files.Put(L"wide.jpg", 1600, 600, 9);
    PictureCache cache(files.Hooks(), kLarge);
    const auto p = Show(cache, files, PictureRequest{L"wide.jpg", 1000, 600, FitMode::Letterbox});
    ASSERT_TRUE(p->pixels);
    EXPECT_EQ(p->x, 0);
    EXPECT_EQ(p->y, 112);
    EXPECT_EQ(p->pixels->width(), 1000);
    EXPECT_EQ(p->pixels->height(), 375);

    // A photo so thin that its letterbox has no height still takes the window, which shows black.
    files.Put(L"thread.png", 16384, 1, 9);
    const auto thin = Show(cache, files, PictureRequest{L"thread.png", 1000, 600, FitMode::Letterbox});
    EXPECT_TRUE(thin->placed);
    EXPECT_FALSE(thin->pixels);
}

TEST(PictureCache, AStretchToTheDecodedSizeSharesItsPixels) {
    FakeFiles files;
    files.Put(L"a.png", 64, 48, 3);
    PictureCache cache(files.Hooks(), kLarge);
    Show(cache, files, Slide(L"a.png", 64, 48));
    cache.Prepare({Slide(L"a.png", 64, 48)});
    EXPECT_EQ(cache.GetStats().bytes, 64u * 48 * 4);
}

TEST(PictureCache, ADecoderThatThrowsCostsThatPictureOnly) {
    FakeFiles files;
    files.Put(L"bad.png", 80, 60, 1);
    files.Put(L"good.png", 80, 60, 2);
    files.Set(L"bad.png", &FakeFiles::File::throws, true);
    PictureCache cache(files.Hooks(), kLarge);
    cache.Prepare({Slide(L"bad.png"), Slide(L"good.png")});
    cache.WaitUntilIdle();
    EXPECT_EQ(cache.GetStats().workerDecodes, 1) << "the worker went on to the next";
    EXPECT_FALSE(Show(cache, files, Slide(L"bad.png"))->pixels);
    EXPECT_EQ(GreyOf(*Show(cache, files, Slide(L"good.png"))), 2);
}

TEST(PictureCache, AFileRemovedAfterItsIdentityWasReadDrawsNothing) {
    FakeFiles files;
    files.Put(L"a.png", 80, 60, 1);
    PictureCache cache(files.Hooks(), kLarge);
    const auto identity = files.Identify(L"a.png");
    files.Remove(L"a.png");
    EXPECT_FALSE(cache.Get(Slide(L"a.png"), *identity)->pixels);
}

TEST(PictureCache, DestroyedWhileTheWorkerIsInADecodeEndsCleanly) {
    FakeFiles files;
    files.Put(L"slow.png", 80, 60, 1);
    files.Put(L"later.png", 80, 60, 1);
    files.Set(L"slow.png", &FakeFiles::File::gated, true);
    std::thread release;
    {
        PictureCache cache(files.Hooks(), kLarge);
        cache.Prepare({Slide(L"slow.png"), Slide(L"later.png")});
        ASSERT_TRUE(files.WaitForGate());
        release = std::thread([&] {
            std::this_thread::sleep_for(100ms);
            files.Open();
        });
    }
    release.join();
    EXPECT_EQ(files.Decodes(L"later.png"), 0) << "nothing new starts once the cache goes";
    EXPECT_EQ(files.workerThreadsLeft, 1) << "the worker's thread scope was left";
}

// The pictures one key away from a slide in the middle of a deck: the slide on screen, the next,
// the previous, the last and the first, at one client size.
std::vector<PictureRequest> OneKeyAway(int w, int h) {
    return {Slide(L"shown.png", w, h), Slide(L"next.png", w, h), Slide(L"previous.png", w, h), Slide(L"last.png", w, h),
            Slide(L"first.png", w, h)};
}

// Waits (up to a generous limit) for the condition, without asserting any time.
bool Eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) std::this_thread::sleep_for(10ms);
    return done();
}

TEST(PictureCacheAtScreenSizes, TheSlidesOneKeyAwayAreReadyAsTheBudgetAllowsAndNoneIsMadeOnlyToBeLetGo) {
    // Client areas of windows and full screens, among them the sizes where counting only the
    // scaled pictures admitted a picture that keeping the decoded one then let go.
    const struct {
        int w, h;
        int ready;  // of the five, most likely first
    } sizes[] = {
        {1920, 1080, 5},  // 2.1 Mpx
        {2540, 1730, 5},  // 4.4 Mpx
        {3000, 1830, 5},  // 5.5 Mpx
        {3200, 1800, 5},  // 5.8 Mpx, a laptop's panel
        {3440, 2130, 4},  // 7.3 Mpx: all but the first
        {3840, 2160, 3},  // 8.3 Mpx: the slide on screen, the next and the previous
        {4096, 2700, 2},  // 11.1 Mpx: the slide on screen and the next
    };
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.w) + "x" + std::to_string(size.h));
        FakeFiles files;
        const std::vector<PictureRequest> wanted = OneKeyAway(size.w, size.h);
        for (const PictureRequest& r : wanted) files.Put(r.path, 1920, 1080, 40);
        PictureCache cache(files.Hooks(), kScreenPictureBudget);
        Show(cache, files, wanted[0]);
        for (int paint = 0; paint < 3; ++paint) {  // the paint, then repaints (a hover highlight removed)
            cache.Prepare(wanted);
            cache.WaitUntilIdle();
        }
        const PictureCache::Stats prepared = cache.GetStats();
        EXPECT_EQ(prepared.dropped, 0);
        EXPECT_LE(prepared.peakBytes, kScreenPictureBudget);
        std::vector<bool> ready;
        for (const PictureRequest& r : wanted) {
            const int before = files.Decodes(r.path);
            Show(cache, files, r);
            ready.push_back(files.Decodes(r.path) == before);
        }
        std::vector<bool> expected(wanted.size(), false);
        std::fill_n(expected.begin(), size.ready, true);
        EXPECT_EQ(ready, expected);
        EXPECT_EQ(prepared.workerDecodes, size.ready - 1) << "every decode of the worker is found ready";
    }
}

TEST(PictureCacheAtScreenSizes, InPictureModeThePhotosNextDoorOf16MegapixelsAreReadyAndNoneIsMadeOnlyToBeLetGo) {
    const struct {
        int w, h;
        int ready;  // the photo, the neighbouring photos, the slide under them
    } sizes[] = {{1920, 1080, 4}, {3200, 1800, 4}, {3840, 2160, 3}};
    for (const auto& size : sizes) {
        const int w = size.w, h = size.h;
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        FakeFiles files;
        for (const wchar_t* p : {L"shown.jpg", L"next.jpg", L"previous.jpg"}) files.Put(p, 4928, 3264, 70);
        // The photo on screen, the neighbouring photos, the slide under them and its neighbours.
        std::vector<PictureRequest> wanted;
        for (const wchar_t* p : {L"shown.jpg", L"next.jpg", L"previous.jpg"})
            wanted.push_back({p, w, h, FitMode::Letterbox});
        for (const PictureRequest& r : OneKeyAway(w, h)) {
            files.Put(r.path, 1920, 1080, 40);
            wanted.push_back(r);
        }
        PictureCache cache(files.Hooks(), kScreenPictureBudget);
        Show(cache, files, wanted[0]);
        cache.Prepare(wanted);
        cache.WaitUntilIdle();
        cache.Prepare(wanted);
        cache.WaitUntilIdle();
        EXPECT_EQ(cache.GetStats().dropped, 0);
        const int decodes = cache.GetStats().decodes;
        for (int i = 0; i < size.ready; ++i) Show(cache, files, wanted[i]);
        EXPECT_EQ(cache.GetStats().decodes, decodes) << "the photos next door (and the slide under them) were ready";
    }
}

TEST(PictureCache, AskingForWhatAStalledWorkerPreparesWaitsNoLongerThanMakingItHere) {
    FakeFiles files;
    files.Put(L"next.png", 80, 60, 7);
    files.Set(L"next.png", &FakeFiles::File::stallsFirst, true);  // a read that hangs on a share
    PictureCache cache(files.Hooks(), kLarge);
    cache.Prepare({Slide(L"next.png")});
    ASSERT_TRUE(files.WaitForGate());
    auto answer = std::async(std::launch::async, [&] { return Show(cache, files, Slide(L"next.png")); });
    const bool answered = answer.wait_for(20s) == std::future_status::ready;
    files.Open();  // the hung read returns at last
    ASSERT_TRUE(answered) << "the key waited for the stalled worker without limit";
    EXPECT_EQ(GreyOf(*answer.get()), 7) << "made by the caller";
    EXPECT_EQ(cache.GetStats().waits, 1);
    EXPECT_EQ(cache.GetStats().waitsCut, 1);
    cache.WaitUntilIdle();
    EXPECT_EQ(files.Decodes(L"next.png"), 2);
}

TEST(PictureCache, DestroyedWhileADecodeHasStalledEndsWithoutWaitingForIt) {
    FakeFiles files;
    files.Put(L"stuck.png", 80, 60, 1);
    files.Put(L"later.png", 80, 60, 1);
    files.Set(L"stuck.png", &FakeFiles::File::gated, true);
    auto cache = std::make_unique<PictureCache>(files.Hooks(), kLarge);
    cache->Prepare({Slide(L"stuck.png"), Slide(L"later.png")});
    ASSERT_TRUE(files.WaitForGate());
    auto closing = std::async(std::launch::async, [&] { cache.reset(); });
    const bool closed = closing.wait_for(20s) == std::future_status::ready;
    files.Open();
    closing.wait();
    EXPECT_TRUE(closed) << "closing waited for the stalled decode";
    EXPECT_TRUE(Eventually([&] { return files.workerThreadsLeft == 1; })) << "the worker ends when its decode returns";
    EXPECT_EQ(files.Decodes(L"later.png"), 0) << "nothing new starts once the cache goes";
}

TEST(PictureCache, AJobEndingBetweenAPaintsGetAndItsPrepareKeepsWhatThePaintMade) {
    const struct {
        const char* what;
        PictureRequest made;  // asked for by the paint while the worker is on the next slide
    } cases[] = {
        {"a new window size", Slide(L"shown.png", 80, 60)},
        {"a photo just entered", {L"photo.jpg", 40, 30, FitMode::Letterbox}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeFiles files;
        files.Put(L"shown.png", 80, 60, 1);
        files.Put(L"next.png", 80, 60, 2);
        files.Put(L"photo.jpg", 80, 60, 3);
        files.Set(L"next.png", &FakeFiles::File::stallsFirst, true);
        PictureCache cache(files.Hooks(), kLarge);
        Show(cache, files, Slide(L"shown.png"));
        cache.Prepare({Slide(L"shown.png"), Slide(L"next.png")});
        ASSERT_TRUE(files.WaitForGate());
        const auto made = Show(cache, files, c.made);
        files.Open();  // the worker's job ends now, before the paint says what it wants next
        cache.WaitUntilIdle();
        const int scales = cache.GetStats().scales;
        EXPECT_EQ(Show(cache, files, c.made), made);
        EXPECT_EQ(cache.GetStats().scales, scales) << "still kept";
    }
}

}  // namespace
