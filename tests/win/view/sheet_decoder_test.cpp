// The handout sheets' slides decoded ahead: a slide changed on disk after its decode ahead prints
// as it is now, the decode ahead runs on a thread that owns no window (in the multi-threaded COM
// apartment), and letting the decoder go never waits for a decode that has stalled.
#include "paint_fixture.h"

#include <objbase.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "framework/image_loader.h"
#include "view/print_layout.h"
#include "view/slide_renderer_win.h"

namespace {

using namespace painttest;
using testing_win::Pixels;

constexpr int kPageW = 800, kPageH = 1130;

// What the thread that decoded a file was, seen from inside the decode.
struct DecodingThread {
    DWORD id = 0;
    APTTYPE apartment = APTTYPE_CURRENT;
    int windows = -1;
};

DecodingThread LookAtThisThread() {
    DecodingThread seen;
    seen.id = ::GetCurrentThreadId();
    APTTYPEQUALIFIER qualifier{};
    if (FAILED(::CoGetApartmentType(&seen.apartment, &qualifier))) seen.apartment = APTTYPE_CURRENT;
    seen.windows = 0;
    ::EnumThreadWindows(seen.id, [](HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; },
                        reinterpret_cast<LPARAM>(&seen.windows));
    return seen;
}

// The platform's decoder, recording the threads it ran on and holding back what the test says.
struct WatchedDecoder {
    std::mutex mutex;
    std::vector<DecodingThread> threads;
    std::atomic<int> decodes{0};
    fw::KernelHandle open{::CreateEventW(nullptr, TRUE, TRUE, nullptr)};  // open unless reset

    bool WaitForDecodes(int n) {
        for (int i = 0; i < 1000 && decodes < n; ++i) ::Sleep(10);
        return decodes >= n;
    }
};

// Shares the record with any thread that decodes, which may outlive the decoder.
SheetDecoder::Decode Watching(const std::shared_ptr<WatchedDecoder>& watched) {
    return [watched](const std::wstring& path) {
        ::WaitForSingleObject(watched->open.get(), 30000);
        fw::DecodedFile file = fw::DecodeImageFile(path.c_str());
        {
            const std::lock_guard lock(watched->mutex);
            watched->threads.push_back(LookAtThisThread());
        }
        ++watched->decodes;
        return file;
    };
}

COLORREF UpperSlideColour(const Pixels& page) {
    const SheetLayout layout = LayOutSheet(SlideRect{0, 0, kPageW, kPageH});
    return page.At((layout.upper.left + layout.upper.right) / 2, layout.upper.top + layout.upper.Height() / 4);
}

TEST(SheetDecoder, ASlideChangedOnDiskAfterItsDecodeAheadPrintsAsItIsNow) {
    DeckFolder deck;
    NumberSlides();
    const SheetSlides four = SlidesOnSheet(4), five = SlidesOnSheet(5);
    for (const int row : {four.upper, four.lower, five.upper, five.lower}) deck.SolidSlide(row, RGB(200, 0, 0));
    auto watched = std::make_shared<WatchedDecoder>();
    SheetDecoder decoder(Watching(watched));
    const Branding branding{0, 0};

    MemoryPage sheet4(kPageW, kPageH, RGB(255, 255, 255));
    DrawSheet(sheet4.dc(), 4, SlideRect{0, 0, kPageW, kPageH}, branding, &decoder);
    ASSERT_TRUE(decoder.HoldsAhead()) << "sheet 5 is decoded while sheet 4 prints";
    ASSERT_TRUE(watched->WaitForDecodes(4)) << "both halves of sheets 4 and 5";

    // The upper slide of sheet 5 is rewritten after its decode ahead, within the same second.
    deck.SolidSlide(five.upper, RGB(0, 0, 200));
    MemoryPage sheet5(kPageW, kPageH, RGB(255, 255, 255));
    DrawSheet(sheet5.dc(), 5, SlideRect{0, 0, kPageW, kPageH}, branding, &decoder);
    EXPECT_EQ(UpperSlideColour(sheet5.Read()), RGB(0, 0, 200)) << "not the old decode";

    // Decoded ahead on a thread of its own, which handles no messages and so owns no window.
    const std::lock_guard lock(watched->mutex);
    bool sawAhead = false;
    for (const DecodingThread& t : watched->threads) {
        if (t.id == ::GetCurrentThreadId()) continue;
        sawAhead = true;
        EXPECT_EQ(t.apartment, APTTYPE_MTA);
        EXPECT_EQ(t.windows, 0);
    }
    EXPECT_TRUE(sawAhead);
}

TEST(SheetDecoder, LettingItGoNeverWaitsForADecodeAheadThatHasStalled) {
    DeckFolder deck;
    NumberSlides();
    const SheetSlides two = SlidesOnSheet(2);
    for (const int row : {two.upper, two.lower}) deck.SolidSlide(row, RGB(0, 120, 0));
    auto watched = std::make_shared<WatchedDecoder>();
    ::ResetEvent(watched->open.get());  // every decode hangs, as a read from a share may
    auto decoder = std::make_unique<SheetDecoder>(Watching(watched));
    decoder->Prefetch(2);
    ASSERT_TRUE(decoder->HoldsAhead());
    const DWORD start = ::GetTickCount();
    decoder.reset();
    const DWORD took = ::GetTickCount() - start;
    ::SetEvent(watched->open.get());  // the thread ends on its own, holding the decoder's copy
    EXPECT_LT(took, 5000u) << "the end of a job or preview waited for the stalled decode";
    EXPECT_TRUE(watched->WaitForDecodes(1));
}

}  // namespace
