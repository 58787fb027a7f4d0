// The picture cache and its worker, with files that exist only in memory: what is decoded, by
// which thread, when a request waits, what a changed file shows, and what the budget keeps.
#include "view/picture_cache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

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
        bool gated = false;
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
        ++decodes_[path];
        if (f.gated) {
            ++waiting_;
            changed_.notify_all();
            changed_.wait(lock, [&] { return open_; });
            --waiting_;
        }
        if (f.throws) throw std::runtime_error("broken codec");
        fw::DecodedFile out{true, f.identity, {}};
        if (!f.decodes) return out;
        out.pixels = fw::PixelBuffer::Allocate(f.width, f.height);
        std::fill_n(out.pixels.data(), out.pixels.bytes(), f.grey);
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

}  // namespace
