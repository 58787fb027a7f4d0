// The overview's thumbnails as a client of the picture cache: made by the workers while nothing
// else waits, on both cores below the normal priority, the cheapest first; made again at a new
// size (a smaller one from the larger ones, without a decode) while the old ones stand in; each
// checked against its file, so that a changed slide gets a new thumbnail and a failed one is tried
// again once its file changes.
#include "pictures/thumbnails.h"

#include <gtest/gtest.h>

#include "fake_files.h"

namespace {

using namespace picturetest;

constexpr std::size_t kLarge = 64u << 20;

void Want(PictureCache& cache, const Thumbnails& thumbnails) {
    cache.Want(PictureClient::Overview, thumbnails.WantedList());
    cache.WaitUntilIdle();
}

TEST(Thumbnails, HeldPixelsFirstThenTheSmallestFiles) {
    FakeFiles files;
    files.Put(L"a", 300, 200, 1);
    files.Put(L"b", 100, 60, 2);
    files.Put(L"c", 200, 100, 3);
    files.Put(L"d", 50, 30, 4);
    PictureCache cache(files.Hooks(), kLarge, 1);
    Paint(cache, files, Wants({Slide(L"c", 200, 100)}));  // the slide on screen: its decoded pixels are held
    Thumbnails t({L"a", L"b", L"c", L"d"});
    EXPECT_EQ(t.Get(cache, 0), nullptr) << "no size yet";
    t.SetTileSize(16, 9);
    cache.Want(PictureClient::Overview, t.WantedList());
    cache.WaitUntilIdle();  // the first round reads the files' sizes
    EXPECT_EQ(cache.Ready(PictureClient::Overview), 4);
    EXPECT_EQ(files.Order(), (std::vector<std::wstring>{L"c", L"a", L"b", L"d"})) << "the first round in deck order";

    // Made again at another size, the cheapest first: c from its held decoded pixels, then the
    // smallest files.
    t.SetTileSize(64, 36);
    Want(cache, t);
    EXPECT_EQ(files.Order(), (std::vector<std::wstring>{L"c", L"a", L"b", L"d", L"d", L"b", L"a"}));
    ASSERT_NE(t.Get(cache, 2), nullptr);
    EXPECT_EQ(t.Get(cache, 2)->width(), 64);
    EXPECT_EQ(t.Get(cache, 2)->data()[0], 3);
    EXPECT_EQ(cache.GetStats().thumbnails, 4u * 64 * 36 * 4) << "the old size is let go";
    EXPECT_EQ(files.lowJobs, 8) << "every thumbnail made (or checked) below the normal priority";
}

TEST(Thumbnails, ANewSizeDrawsTheOldOnesUntilItsOwnAreMadeAndASmallerOneNeedsNoDecode) {
    FakeFiles files;
    files.Put(L"a", 640, 360, 1);
    files.Put(L"b", 640, 360, 2);
    PictureCache cache(files.Hooks(), kLarge);
    Thumbnails t({L"a", L"b"});
    t.SetTileSize(32, 18);
    Want(cache, t);
    EXPECT_EQ(files.AllDecodes(), 2);

    files.Set(L"b", &FakeFiles::File::gated, true);
    t.SetTileSize(64, 36);
    cache.Want(PictureClient::Overview, t.WantedList());
    ASSERT_TRUE(files.WaitForGate());
    ASSERT_NE(t.Get(cache, 1), nullptr) << "the old one, until its successor comes";
    EXPECT_EQ(t.Get(cache, 1)->width(), 32);
    const unsigned before = cache.Generation(PictureClient::Overview);
    files.Open();
    cache.WaitUntilIdle();
    EXPECT_GT(cache.Generation(PictureClient::Overview), before) << "the overview has something new to paint";
    EXPECT_EQ(t.Get(cache, 1)->width(), 64);
    EXPECT_EQ(files.AllDecodes(), 4) << "a larger size decodes again";

    // Back to the smaller size: made from the larger ones, without a decode.
    t.SetTileSize(32, 18);
    Want(cache, t);
    EXPECT_EQ(files.AllDecodes(), 4);
    EXPECT_EQ(t.Get(cache, 0)->width(), 32);
    EXPECT_EQ(cache.GetStats().thumbnails, 2u * (64 * 36 + 32 * 18) * 4) << "the larger ones stay, where there is room";
    // And to the larger size again: the ones held are shared, neither copied nor decoded again.
    t.SetTileSize(64, 36);
    Want(cache, t);
    EXPECT_EQ(files.AllDecodes(), 4);
    EXPECT_EQ(cache.GetStats().thumbnails, 2u * 64 * 36 * 4);
    EXPECT_EQ(cache.GetStats().ledger.alive, cache.GetStats().kept);
}

TEST(Thumbnails, AChangedSlideGetsANewThumbnailAndAFailedOneIsTriedAgainWhenItsFileChanges) {
    FakeFiles files;
    files.Put(L"a", 64, 36, 10);
    files.Put(L"saving", 64, 36, 20);
    files.Set(L"saving", &FakeFiles::File::decodes, false);  // half written when the overview first wanted it
    PictureCache cache(files.Hooks(), kLarge);
    Thumbnails t({L"a", L"saving", L"missing"});
    t.SetTileSize(16, 9);
    Want(cache, t);
    EXPECT_EQ(cache.Ready(PictureClient::Overview), 3) << "settled, one way or the other";
    EXPECT_EQ(t.Get(cache, 1), nullptr);
    EXPECT_EQ(t.Get(cache, 2), nullptr);

    files.Put(L"a", 64, 36, 11);  // edited
    files.Set(L"saving", &FakeFiles::File::decodes, true);
    files.Put(L"saving", 64, 36, 21);  // saved in full
    files.Put(L"missing", 64, 36, 31);  // copied in
    Want(cache, t);  // said again at once: not checked again yet
    EXPECT_EQ(t.Get(cache, 1), nullptr);
    files.Pass(2s);
    Want(cache, t);  // and at a paint a while later
    ASSERT_NE(t.Get(cache, 0), nullptr);
    EXPECT_EQ(t.Get(cache, 0)->data()[0], 11);
    ASSERT_NE(t.Get(cache, 1), nullptr);
    EXPECT_EQ(t.Get(cache, 1)->data()[0], 21);
    ASSERT_NE(t.Get(cache, 2), nullptr);
    EXPECT_EQ(t.Get(cache, 2)->data()[0], 31);
}

TEST(Thumbnails, TheShowsPicturesAreMadeBeforeTheNextThumbnail) {
    FakeFiles files;
    for (const wchar_t* p : {L"t1", L"t2", L"t3", L"next"}) files.Put(p, 64, 36, 1);
    files.Set(L"t1", &FakeFiles::File::gated, true);
    PictureCache cache(files.Hooks(), kLarge, 1);
    Thumbnails t({L"t1", L"t2", L"t3"});
    t.SetTileSize(16, 9);
    cache.Want(PictureClient::Overview, t.WantedList());
    ASSERT_TRUE(files.WaitForGate());
    cache.Want(PictureClient::Show, Wants({Slide(L"next")}), 0);  // a key while a thumbnail is made
    files.Open();
    cache.WaitUntilIdle();
    const std::vector<std::wstring> order = files.Order();
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0], L"t1");
    EXPECT_EQ(order[1], L"next") << "the show's picture came first";
}

TEST(Thumbnails, AreMadeOnBothCoresBelowTheNormalPriority) {
    FakeFiles files;
    for (const wchar_t* p : {L"t1", L"t2", L"t3"}) {
        files.Put(p, 64, 36, 1);
        files.Set(p, &FakeFiles::File::gated, true);
    }
    PictureCache cache(files.Hooks(), kLarge, 2);
    Thumbnails t({L"t1", L"t2", L"t3"});
    t.SetTileSize(16, 9);
    cache.Want(PictureClient::Overview, t.WantedList());
    EXPECT_TRUE(files.WaitForGate(2)) << "two decodes at once";
    files.Open();
    cache.WaitUntilIdle();
    EXPECT_EQ(cache.Ready(PictureClient::Overview), 3);
    EXPECT_EQ(files.lowJobs, 3);
    EXPECT_EQ(files.normalJobs, 0);
}

}  // namespace
