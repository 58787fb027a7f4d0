// What goes wrong with files and room, and what the cache does then: a read that hangs stops only
// its own picture; a read or memory that fails once is tried again, a file that does not decode
// is not; closing wakes a worker waiting for room; two workers short of room rest instead of
// waking each other; a picture asked for while a worker decodes its file waits for that decode.
// Races are decided by gates in the fake decoder.
#include "pictures/picture_cache.h"

#include <gtest/gtest.h>

#include <future>

#include "fake_files.h"

namespace {

using namespace picturetest;

constexpr std::size_t kLarge = 64u << 20;

PictureRequest AsDecoded(const std::wstring& path) { return {path, 0, 0, FitMode::AsDecoded, {}}; }

TEST(PictureFailures, AFileWhoseReadHangsStopsOnlyItself) {
    // The next slide sits on a share whose read hangs. The show's previous slide, the console's
    // picture and the next sheet's file are made all the same, by the other worker.
    FakeFiles files;
    for (const wchar_t* p : {L"shown.png", L"stuck.png", L"previous.png", L"console.png", L"sheet.png"}) files.Put(p, 80, 60, 1);
    files.Set(L"stuck.png", &FakeFiles::File::gated, true);
    PictureCache cache(files.Hooks(), kLarge);
    cache.Want(PictureClient::Show, Wants({Slide(L"shown.png"), Slide(L"stuck.png"), Slide(L"previous.png")}), 1);
    ASSERT_TRUE(files.WaitForGate());
    cache.Want(PictureClient::Console, Wants({Slide(L"console.png")}), 0);
    cache.Want(PictureClient::Print, {{AsDecoded(L"sheet.png"), false}}, 0);
    EXPECT_TRUE(Eventually([&] {
        return cache.Peek(Slide(L"previous.png")) && cache.Peek(Slide(L"console.png")) && cache.Peek(AsDecoded(L"sheet.png"));
    })) << "made while the stalled read goes on";
    EXPECT_EQ(cache.GetStats().callerMakes, 0);
    files.Open();
    cache.WaitUntilIdle();
    EXPECT_EQ(GreyOf(*Show(cache, files, Slide(L"stuck.png"))), 1);
}

TEST(PictureFailures, AReadThatFailsIsTriedAgainAndAFileThatDoesNotDecodeIsNot) {
    const struct {
        const char* what;
        bool decodes;
        int readFailures;
        int reads;         // of the file, after two paints and the workers' rest
        bool drawn;        // at the second paint
    } cases[] = {
        {"a read that hiccups once (a USB stick)", true, 1, 2, true},
        {"a read that fails twice", true, 2, 3, true},
        {"a file that does not decode", false, 0, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Asked for by a paint on its own thread.
        FakeFiles files;
        files.Put(L"a.png", 80, 60, 10);
        files.Set(L"a.png", &FakeFiles::File::decodes, c.decodes);
        files.Set(L"a.png", &FakeFiles::File::readFailures, c.readFailures);
        PictureCache cache(files.Hooks(), kLarge, 1);
        Paint(cache, files, Wants({Slide(L"a.png")}));
        for (int i = 1; i < c.readFailures; ++i) Paint(cache, files, Wants({Slide(L"a.png")}));
        EXPECT_EQ(Paint(cache, files, Wants({Slide(L"a.png")}))->pixels != nullptr, c.drawn);
        EXPECT_EQ(Paint(cache, files, Wants({Slide(L"a.png")}))->pixels != nullptr, c.drawn);
        EXPECT_EQ(files.reads, c.reads);

        // Made ahead by a worker: tried again after a pause, once the first failed.
        FakeFiles ahead;
        ahead.Put(L"shown.png", 80, 60, 1);
        ahead.Put(L"next.png", 80, 60, 20);
        ahead.Set(L"next.png", &FakeFiles::File::decodes, c.decodes);
        ahead.Set(L"next.png", &FakeFiles::File::readFailures, std::min(c.readFailures, 1));
        PictureCache workers(ahead.Hooks(), kLarge);
        workers.Want(PictureClient::Show, Wants({Slide(L"shown.png"), Slide(L"next.png")}), 1);
        workers.WaitUntilIdle();
        const auto next = workers.Peek(Slide(L"next.png"));
        ASSERT_TRUE(next);
        EXPECT_EQ(next->pixels != nullptr, c.drawn);
        EXPECT_EQ(ahead.reads, c.decodes ? 2 : 1);
    }
}

TEST(PictureFailures, ClosingWakesAWorkerWaitingForRoomAndEndsIt) {
    // A worker waits for room that a picture drawn by its client holds; closing must not wait
    // its estimate (taught long) before the worker sees it, nor leave it behind.
    FakeFiles files;
    files.Put(L"big.jpg", 2000, 2000, 1);  // a photo: its size tells nothing of the slides
    auto cache = std::make_unique<PictureCache>(files.Hooks(), 9'000'000);  // the plan's 8 MB for the next slide
    TeachSlowDecodes(*cache, files, L"slow.png", 10s);
    files.Put(L"next.png", 1000, 1000, 2);
    auto drawn = Show(*cache, files, Slide(L"big.jpg", 2000, 2000));  // 16 MB alive, kept by none
    const int asked = files.roomAsks;
    cache->Want(PictureClient::Show, Wants({Slide(L"next.png", 1000, 1000)}), 0);
    ASSERT_TRUE(Eventually([&] { return files.roomAsks > asked; })) << "the worker waits for room";
    ASSERT_EQ(files.Decodes(L"next.png"), 0);
    const int threads = files.workerThreads;
    ASSERT_GT(threads, 0);
    cache.reset();
    EXPECT_EQ(files.workerThreadsLeft.load(), threads) << "every worker ended, none left behind";
}

TEST(PictureFailures, TwoWorkersShortOfRoomRestInsteadOfWakingEachOther) {
    // Both workers wait for room a picture drawn by the client holds (the thumbnails are made on
    // both). A plan change while they wait (the client says something new) does not send them
    // round reading their files again; they rest, and are made once the room comes.
    FakeFiles files;
    files.Put(L"big.png", 2000, 2000, 1);  // 16 MB
    for (const wchar_t* p : {L"t1", L"t2", L"t3"}) files.Put(p, 1000, 1000, 2);  // 4 MB each decoded
    PictureCache cache(files.Hooks(), 19'000'000);  // the big picture and one decoded file do not fit
    auto drawn = Show(cache, files, Slide(L"big.png", 2000, 2000));
    const int asked = files.roomAsks;
    cache.Want(PictureClient::Overview, Wants({Slide(L"t1", 100, 100), Slide(L"t2", 100, 100), Slide(L"t3", 100, 100)}));
    ASSERT_TRUE(Eventually([&] { return files.roomAsks >= asked + 2; })) << "both workers wait for room";
    const int reads = files.reads;
    for (int i = 0; i < 20; ++i) cache.Want(PictureClient::Show, Wants({Slide(L"other" + std::to_wstring(i) + L".png")}), 1);
    cache.WaitUntilIdle();
    EXPECT_LE(files.reads, reads + 1) << "no round of reads for every plan: the third thumbnail's alone";
    EXPECT_EQ(cache.Ready(PictureClient::Overview), 0);
    drawn.reset();
    cache.Want(PictureClient::Show, {}, 0);
    cache.WaitUntilIdle();
    EXPECT_EQ(cache.Ready(PictureClient::Overview), 3) << "made once the room came";
}

TEST(PictureFailures, APictureAskedForWhileAWorkerDecodesItsFileWaitsForThatDecode) {
    // The last slide is held decoded (End scales it); its decode is under way when End comes.
    FakeFiles files;
    files.Put(L"shown.png", 80, 60, 1);
    files.Put(L"last.png", 80, 60, 9);
    files.Set(L"last.png", &FakeFiles::File::stallsFirst, true);
    PictureCache cache(files.Hooks(), kLarge);
    TeachSlowDecodes(cache, files, L"taught.png", 10s);  // so that the wait may last to its cap
    cache.Want(PictureClient::Show, {{Slide(L"shown.png"), false}, {Slide(L"last.png"), true}}, 1);
    ASSERT_TRUE(files.WaitForGate());
    auto end = std::async(std::launch::async, [&] { return Show(cache, files, Slide(L"last.png")); });
    ASSERT_TRUE(Eventually([&] { return cache.GetStats().waits == 1; }));
    files.Open();
    EXPECT_EQ(GreyOf(*end.get()), 9);
    EXPECT_EQ(files.Decodes(L"last.png"), 1) << "scaled from the worker's decode, not decoded again";
    cache.WaitUntilIdle();
}

}  // namespace
