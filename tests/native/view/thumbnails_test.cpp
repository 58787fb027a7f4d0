// The overview's thumbnails made one at a time, the cheapest first: pixels the cache holds, then
// the smallest files; made again at a new size; a missing or broken file made never.
#include "view/thumbnails.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "view/picture_cache.h"

namespace {

fw::PixelBuffer Solid(int w, int h, std::uint8_t v) {
    fw::PixelBuffer p = fw::PixelBuffer::Allocate(w, h);
    std::fill(p.data(), p.data() + p.bytes(), v);
    return p;
}

struct Files {
    std::map<std::wstring, std::uint64_t> sizes;  // absent: missing
    std::vector<std::wstring> decoded;            // in order
    std::wstring broken;

    Thumbnails::Hooks Hooks() {
        Thumbnails::Hooks h;
        h.decode = [this](const std::wstring& path) {
            decoded.push_back(path);
            fw::DecodedFile f;
            f.found = sizes.count(path) > 0;
            if (f.found && path != broken) f.pixels = Solid(64, 36, 200);
            return f;
        };
        h.fileSize = [this](const std::wstring& path) -> std::optional<std::uint64_t> {
            const auto it = sizes.find(path);
            if (it == sizes.end()) return std::nullopt;
            return it->second;
        };
        return h;
    }
};

TEST(Thumbnails, HeldPixelsFirstThenTheSmallestFiles) {
    Files files;
    files.sizes = {{L"a", 300}, {L"b", 100}, {L"c", 200}, {L"d", 50}};
    Thumbnails t({L"a", L"b", L"c", L"d"}, files.Hooks());
    t.SetTileSize(16, 9);
    const auto held = std::make_shared<const fw::PixelBuffer>(Solid(32, 18, 10));
    const Thumbnails::HeldPixels cache = [&](const std::wstring& path) {
        return path == L"c" ? held : nullptr;
    };
    EXPECT_EQ(t.Ready(), 0);
    EXPECT_EQ(t.Get(0), nullptr);
    while (t.MakeOne(cache)) {
    }
    EXPECT_EQ(files.decoded, (std::vector<std::wstring>{L"d", L"b", L"a"})) << "c came from the cache's pixels";
    EXPECT_EQ(t.Ready(), 4);
    ASSERT_NE(t.Get(2), nullptr);
    EXPECT_EQ(t.Get(2)->width(), 16);
    EXPECT_EQ(t.Get(2)->data()[0], 10);
    EXPECT_EQ(t.Get(0)->data()[0], 200);
    EXPECT_EQ(t.Bytes(), 4u * 16 * 9 * 4);
    EXPECT_FALSE(t.MakeOne(cache)) << "nothing left";
}

TEST(Thumbnails, ANewSizeMakesThemAgainAndKeepsTheOldOnesUntilThen) {
    Files files;
    files.sizes = {{L"a", 1}, {L"b", 2}};
    Thumbnails t({L"a", L"b"}, files.Hooks());
    t.SetTileSize(16, 9);
    while (t.MakeOne(nullptr)) {
    }
    const unsigned before = t.Generation();
    t.SetTileSize(32, 18);
    EXPECT_EQ(t.Ready(), 0);
    ASSERT_NE(t.Get(1), nullptr) << "the old one, until its successor comes";
    EXPECT_EQ(t.Get(1)->width(), 16);
    EXPECT_TRUE(t.MakeOne(nullptr));
    EXPECT_GT(t.Generation(), before);
    while (t.MakeOne(nullptr)) {
    }
    EXPECT_EQ(t.Get(1)->width(), 32);
    EXPECT_EQ(t.Bytes(), 2u * 32 * 18 * 4) << "the old ones are gone";
    EXPECT_EQ(files.decoded.size(), 4u) << "a larger size decodes again";

    // Back to a smaller size: made from the larger ones, without a decode; those stay as sources.
    t.SetTileSize(16, 9);
    while (t.MakeOne(nullptr)) {
    }
    EXPECT_EQ(files.decoded.size(), 4u);
    EXPECT_EQ(t.Get(0)->width(), 16);
    EXPECT_EQ(t.Bytes(), 2u * (32 * 18 + 16 * 9) * 4);
}

TEST(Thumbnails, MissingAndBrokenFilesAreTriedOnce) {
    Files files;
    files.sizes = {{L"a", 1}, {L"broken", 2}};
    files.broken = L"broken";
    Thumbnails t({L"a", L"missing", L"broken"}, files.Hooks());
    EXPECT_FALSE(t.MakeOne(nullptr)) << "no size yet: nothing to make";
    t.SetTileSize(8, 8);
    int made = 0;
    while (t.MakeOne(nullptr)) ++made;
    EXPECT_EQ(made, 3);
    EXPECT_EQ(t.Ready(), 3);
    EXPECT_EQ(t.Get(1), nullptr);
    EXPECT_EQ(t.Get(2), nullptr);
    EXPECT_EQ(t.Get(7), nullptr);
}

TEST(PictureCacheIdleJob, RunsWhenTheRequestsAreDoneAndAgainAfterEachPrepare) {
    PictureCache::Hooks hooks;
    hooks.identify = [](const std::wstring&) { return std::optional<fw::FileIdentity>(fw::FileIdentity{1, 1, 1}); };
    hooks.decode = [](const std::wstring&) {
        fw::DecodedFile f;
        f.found = true;
        f.identity = {1, 1, 1};
        f.pixels = Solid(8, 8, 1);
        return f;
    };
    PictureCache cache(hooks, 1u << 20);
    std::mutex m;
    int runs = 0;
    int left = 3;
    cache.SetIdleJob([&](const PictureCache::DecodedLookup&) {
        const std::lock_guard lock(m);
        ++runs;
        return --left > 0;
    });
    EXPECT_TRUE(cache.HasIdleJob());
    for (int i = 0; i < 200; ++i) {
        {
            const std::lock_guard lock(m);
            if (runs >= 3) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    {
        const std::lock_guard lock(m);
        EXPECT_EQ(runs, 3) << "until it says it is done";
        left = 1;
    }
    cache.Prepare({PictureRequest{L"x", 4, 4, FitMode::Stretch}});
    cache.WaitUntilIdle();
    ASSERT_NE(cache.DecodedPixels(L"x"), nullptr) << "the request came first, and its pixels are there";
    EXPECT_EQ(cache.DecodedPixels(L"y"), nullptr);
    for (int i = 0; i < 200; ++i) {
        {
            const std::lock_guard lock(m);
            if (runs >= 4) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    cache.SetIdleJob(nullptr);  // waits for a run under way
    const std::lock_guard lock(m);
    EXPECT_EQ(runs, 4);
}

}  // namespace
