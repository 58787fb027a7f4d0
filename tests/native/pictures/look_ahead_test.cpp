// The show's look-ahead as a talk runs it on a 4K screen: from the title slide a few seconds
// after start-up, a key at a time through the whole deck, with the overview's thumbnails wanted
// beside it and the logos and markers charged to the same ledger. Every key must find its slide
// made. Sides at a tenth and the budget at a hundredth of the program's: the same proportions,
// scaled fast enough under the sanitizers. Each step waits for the workers to finish what the plan
// asks (a gate), never for a guessed time.
#include <gtest/gtest.h>

#include <string>

#include "fake_files.h"
#include "pictures/thumbnails.h"

namespace {

using namespace picturetest;

constexpr int kScale = 10;
constexpr std::size_t kBudget = kScreenPictureBudget / (kScale * kScale);
constexpr int kSlides = 69;
constexpr int kLast = kSlides - 1;
constexpr int kScreenW = 3840 / kScale, kScreenH = 2160 / kScale;
// The logos, the notice and the markers a 4K window draws, scaled to its sizes (as measured
// under Wine: about 2 MB).
constexpr int kResourceW = 1000 / kScale, kResourceH = 500 / kScale;

std::wstring SlidePath(int row) { return L"slide" + std::to_wstring(row + 1) + L".png"; }

// What the show wants on `row`: the slide on screen, the next, the previous, then the last and
// the first, whose decoded pixels will do (the rows one key away, as the view lists them).
std::vector<Wanted> ShowWanted(int row, int w = kScreenW, int h = kScreenH) {
    std::vector<Wanted> wanted;
    for (const int r : {row, row + 1, row - 1, kLast, 0}) {
        if (r < 0 || r > kLast) continue;
        const Wanted w1{Slide(SlidePath(r), w, h), r < row - 1 || r > row + 1};
        bool listed = false;
        for (const Wanted& other : wanted) listed = listed || other.request == w1.request;
        if (!listed) wanted.push_back(w1);
    }
    return wanted;
}

// A deck of slides decoded at 1920 x 1080 (at scale), one cache, the overview's thumbnails wanted
// at a tenth of the screen, and the resources drawn over the slides charged to its ledger.
struct Talk {
    FakeFiles files;
    std::unique_ptr<PictureCache> cache;
    std::shared_ptr<const fw::PixelBuffer> resources;
    std::vector<std::wstring> paths;
    explicit Talk(std::size_t budget = kBudget) {
        for (int row = 0; row < kSlides; ++row) {
            files.Put(SlidePath(row), 1920 / kScale, 1080 / kScale, static_cast<std::uint8_t>(row + 1));
            paths.push_back(SlidePath(row));
        }
        cache = std::make_unique<PictureCache>(files.Hooks(), budget);
        fw::PixelBuffer logos = fw::PixelBuffer::Allocate(kResourceW, kResourceH);
        logos.ChargeTo(cache->Ledger(), 0, fw::Charge::Resident);
        resources = std::make_shared<const fw::PixelBuffer>(std::move(logos));
    }
    void WantThumbnails() {
        Thumbnails thumbnails(paths);
        thumbnails.SetTileSize(kScreenW / 10, kScreenH / 10);
        cache->Want(PictureClient::Overview, thumbnails.WantedList());
    }
    // A paint of `row`: what the show wants, then its slide.
    std::shared_ptr<const ScaledPicture> Paint(int row) {
        return picturetest::Paint(*cache, files, ShowWanted(row));
    }
};

TEST(LookAhead, FromTheTitleSlideAt4KEveryKeyFindsItsSlideMade) {
    for (const int start : {0, 1, kLast / 2}) {
        SCOPED_TRACE("from slide " + std::to_string(start + 1));
        Talk talk;
        talk.Paint(start);
        talk.WantThumbnails();  // the overview wants its thumbnails at every paint, shown or not
        talk.cache->WaitUntilIdle();
        for (int row = start + 1; row <= kLast; ++row) {
            const int made = talk.cache->GetStats().callerMakes;
            EXPECT_EQ(GreyOf(*talk.Paint(row)), row + 1);
            ASSERT_EQ(talk.cache->GetStats().callerMakes, made) << "slide " << row + 1 << " was not made ahead";
            talk.WantThumbnails();
            talk.cache->WaitUntilIdle();
        }
        const PictureCache::Stats s = talk.cache->GetStats();
        EXPECT_LE(s.ledger.peak, kBudget);
        EXPECT_EQ(talk.cache->Ready(PictureClient::Overview), kSlides) << "every thumbnail made beside the show";
    }
}

TEST(LookAhead, TheFirstSlidesPictureMadeWhileItWasOneKeyAwayFallsBackToItsDecodedPixels) {
    // Made ready while the second slide was shown (it was the previous), it is wanted from the
    // third on as "first slide, decoded will do": at 4K there is no room to keep it ready beside
    // the thumbnails, so its decoded pixels are kept instead.
    Talk talk;
    const PictureRequest first = Slide(SlidePath(0), kScreenW, kScreenH);
    for (const int row : {0, 1}) {
        talk.Paint(row);
        talk.WantThumbnails();
        talk.cache->WaitUntilIdle();
    }
    ASSERT_TRUE(talk.cache->Peek(first)) << "made as the previous slide";
    talk.Paint(2);
    talk.WantThumbnails();
    talk.cache->WaitUntilIdle();
    const auto kept = talk.cache->Peek(first);
    EXPECT_TRUE(!kept || !kept->pixels || kept->pixels->width() != kScreenW) << "not kept at the ready level";
    EXPECT_EQ(talk.cache->Ready(PictureClient::Overview), kSlides);
    const int decodes = talk.files.AllDecodes();
    EXPECT_EQ(GreyOf(*Show(*talk.cache, talk.files, first)), 1) << "Home";
    EXPECT_EQ(talk.files.AllDecodes(), decodes) << "scaled from its decoded pixels, not decoded on the key";
}

}  // namespace

namespace {

PictureRequest AsDecoded(int row) { return {SlidePath(row), 0, 0, FitMode::AsDecoded, {}}; }

// The console on a 1920 x 1080 monitor beside the 4K show: its two slides, then what one Page
// Down brings to it (the first two drawn now).
std::vector<Wanted> ConsoleWanted(int row) {
    const auto slide = [](int r, int w, int h) { return Wanted{Slide(SlidePath(r), w / kScale, h / kScale), false}; };
    return {slide(row, 1100, 620), slide(row + 1, 700, 400), slide(row + 1, 1100, 620), slide(row + 2, 700, 400)};
}

// A preview open on the sheet of `first` and the next row: its two files now, the next sheet's
// and the previous one's ahead.
std::vector<Wanted> SheetWanted(int first) {
    std::vector<Wanted> wanted;
    for (const int r : {first, first + 1, first + 2, first + 3, first - 2, first - 1}) wanted.push_back({AsDecoded(r), false});
    return wanted;
}

}  // namespace

TEST(LookAhead, AllFourClientsAt4KGetWhatTheyDrawAndAPreviewItsSheet) {
    // The show in the middle of the deck, the console beside it, the overview's thumbnails and a
    // print preview, all from one cache at 4K: the show's look-ahead is made, the console's
    // pictures and the sheet's files are kept, so that a repaint of either decodes nothing, and
    // the thumbnails take the room left.
    Talk talk;
    const int row = kLast / 2, sheet = 8;
    talk.Paint(row);
    talk.cache->Want(PictureClient::Console, ConsoleWanted(row), 2);
    for (const int drawn : {0, 1}) Show(*talk.cache, talk.files, ConsoleWanted(row)[static_cast<std::size_t>(drawn)].request);
    talk.cache->Want(PictureClient::Print, SheetWanted(sheet), 2);
    for (const int r : {sheet, sheet + 1}) EXPECT_EQ(GreyOf(*Show(*talk.cache, talk.files, AsDecoded(r))), r + 1);
    talk.WantThumbnails();
    talk.cache->WaitUntilIdle();

    const int made = talk.cache->GetStats().callerMakes;
    for (const int r : {row + 1, row - 1}) EXPECT_TRUE(talk.cache->Peek(Slide(SlidePath(r), kScreenW, kScreenH))) << r;
    for (const Wanted& w : ConsoleWanted(row)) Show(*talk.cache, talk.files, w.request);
    for (const int r : {sheet, sheet + 1, sheet + 2}) Show(*talk.cache, talk.files, AsDecoded(r));
    EXPECT_EQ(talk.cache->GetStats().callerMakes, made)
        << "the console's pictures, the sheet's files and the next sheet's first file were kept";
    const std::size_t pictureAndDecode = (std::size_t{kScreenW} * kScreenH + std::size_t{1920 / kScale} * (1080 / kScale)) * 4;
    EXPECT_LE(talk.cache->GetStats().ledger.peak, kBudget + pictureAndDecode) << "the overrun: a picture drawn now";
    EXPECT_GT(talk.cache->Ready(PictureClient::Overview), 0) << "the thumbnails in the room left";
}
