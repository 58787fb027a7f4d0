// The handout sheets' slides decoded ahead, as printing's share of the picture cache: a slide
// changed on disk after its decode ahead prints as it is now; the decodes ahead run on one thread,
// reused, that owns no window (in the multi-threaded COM apartment); zooming and paging back find
// what was decoded; a decode ahead that has stalled is waited for no longer than a decode takes,
// and letting the decoder go never waits for it.
#include "view/paint_fixture.h"

#include <objbase.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>

#include "pictures/image_loader.h"
#include "pictures/screen_pictures_win.h"
#include "pictures/sheet_decoder_win.h"
#include "render/print_layout.h"
#include "render/slide_renderer_win.h"

namespace {

using namespace painttest;
using testing_win::Pixels;

constexpr int kPageW = 800, kPageH = 1130;

// What the thread that decoded a file was, seen from inside the decode.
struct DecodingThread {
    DWORD id = 0;
    APTTYPE apartment = APTTYPE_CURRENT;
    int windows = -1;
    std::wstring path;
};

// The platform's decoder, recording the threads it ran on; a decode of `stalls` on any other
// thread than the test's hangs until `open` is set, as a read from a share may.
struct WatchedDecoder {
    std::mutex mutex;
    std::vector<DecodingThread> threads;
    std::wstring stalls;
    fw::KernelHandle open{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    fw::KernelHandle stalled{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    const DWORD testThread = ::GetCurrentThreadId();

    std::vector<DecodingThread> Seen() {
        const std::lock_guard lock(mutex);
        return threads;
    }
};

PictureCache::Hooks Watching(const std::shared_ptr<WatchedDecoder>& watched) {
    PictureCache::Hooks hooks = ScreenPictures::PlatformHooks();
    // Shares the record with any thread that decodes, which may outlive the decoder.
    hooks.decode = [watched](const std::wstring& path, const fw::DecodeRoom& room) {
        DecodingThread seen;
        seen.id = ::GetCurrentThreadId();
        seen.path = path;
        APTTYPEQUALIFIER qualifier{};
        if (FAILED(::CoGetApartmentType(&seen.apartment, &qualifier))) seen.apartment = APTTYPE_CURRENT;
        seen.windows = 0;
        ::EnumThreadWindows(seen.id, [](HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; },
                            reinterpret_cast<LPARAM>(&seen.windows));
        if (path == watched->stalls && seen.id != watched->testThread) {
            ::SetEvent(watched->stalled.get());
            ::WaitForSingleObject(watched->open.get(), 30000);
        }
        fw::DecodedFile file = fw::DecodeImageFile(path.c_str(), room);
        const std::lock_guard lock(watched->mutex);
        watched->threads.push_back(seen);
        return file;
    };
    return hooks;
}

COLORREF UpperSlideColour(const Pixels& page) {
    const SheetLayout layout = LayOutSheet(SlideRect{0, 0, kPageW, kPageH});
    return page.At((layout.upper.left + layout.upper.right) / 2, layout.upper.top + layout.upper.Height() / 4);
}

Pixels PrintSheet(int sheet, SheetDecoder& decoder) {
    MemoryPage page(kPageW, kPageH, RGB(255, 255, 255));
    DrawSheet(page.dc(), sheet, SlideRect{0, 0, kPageW, kPageH}, Branding{0, 0}, &decoder);
    return page.Read();
}

class SheetDecoding : public ::testing::Test {
protected:
    void SetUp() override {
        NumberSlides();
        for (int sheet = 1; sheet <= 6; ++sheet)
            for (const int row : {SlidesOnSheet(sheet).upper, SlidesOnSheet(sheet).lower}) deck.SolidSlide(row, RGB(200, 0, 0));
    }
    DeckFolder deck;
    std::shared_ptr<WatchedDecoder> watched = std::make_shared<WatchedDecoder>();
};

TEST_F(SheetDecoding, ASlideChangedOnDiskAfterItsDecodeAheadPrintsAsItIsNow) {
    SheetDecoder decoder(Watching(watched));
    PrintSheet(4, decoder);
    ASSERT_TRUE(decoder.HoldsAhead()) << "sheet 5 is decoded while sheet 4 prints";
    ASSERT_TRUE(testing_win::PumpUntil([&] { return watched->Seen().size() >= 6; }, 20000)) << "sheets 3, 4 and 5";

    // The upper slide of sheet 5 is rewritten after its decode ahead, within the same second.
    deck.SolidSlide(SlidesOnSheet(5).upper, RGB(0, 0, 200));
    EXPECT_EQ(UpperSlideColour(PrintSheet(5, decoder)), RGB(0, 0, 200)) << "not the old decode";
}

TEST_F(SheetDecoding, OneThreadWithoutWindowsDecodesAheadAndZoomingOrPagingBackDecodesNothingAgain) {
    SheetDecoder decoder(Watching(watched));
    for (int sheet = 1; sheet <= 5; ++sheet) PrintSheet(sheet, decoder);
    decoder.WaitUntilIdle();
    ASSERT_GE(watched->Seen().size(), 12u) << "sheets 1 to 6";
    std::set<DWORD> ahead;
    for (const DecodingThread& t : watched->Seen()) {
        if (t.id == watched->testThread) continue;
        ahead.insert(t.id);
        // A thread that handles no messages must own no window that anyone could send one to.
        EXPECT_EQ(t.apartment, APTTYPE_MTA);
        EXPECT_EQ(t.windows, 0);
    }
    EXPECT_EQ(ahead.size(), 1u) << "one thread, reused for every sheet";
    const auto onTestThread = [&] {
        int n = 0;
        for (const DecodingThread& t : watched->Seen()) n += t.id == watched->testThread ? 1 : 0;
        return n;
    };
    const std::size_t decodes = watched->Seen().size();
    PrintSheet(5, decoder);  // the preview zoomed
    decoder.WaitUntilIdle();
    EXPECT_EQ(watched->Seen().size(), decodes) << "nothing decoded again";
    const int printed = onTestThread();
    PrintSheet(4, decoder);  // paged back (sheet 3 is then decoded ahead again)
    PrintSheet(5, decoder);  // and on
    EXPECT_EQ(onTestThread(), printed) << "each sheet found its files";
}

TEST_F(SheetDecoding, AStalledDecodeAheadIsWaitedForAsLongAsADecodeTakesAndLettingGoNeverWaitsForIt) {
    watched->stalls = deck.SlidePath(SlidesOnSheet(3).upper);
    auto decoder = std::make_unique<SheetDecoder>(Watching(watched));
    PrintSheet(2, *decoder);
    ASSERT_EQ(::WaitForSingleObject(watched->stalled.get(), 20000), WAIT_OBJECT_0);
    deck.SolidSlide(SlidesOnSheet(3).upper, RGB(0, 150, 0));
    // The sheet decodes the file itself, past the wait: printing and its Cancel go on.
    DWORD start = ::GetTickCount();
    EXPECT_EQ(UpperSlideColour(PrintSheet(3, *decoder)), RGB(0, 150, 0));
    EXPECT_LT(::GetTickCount() - start, 5000u) << "the sheet waited for the stalled decode";
    start = ::GetTickCount();
    decoder.reset();
    EXPECT_LT(::GetTickCount() - start, 5000u) << "the end of a job or preview waited for the stalled decode";
    ::SetEvent(watched->open.get());  // the worker ends on its own
}

}  // namespace
