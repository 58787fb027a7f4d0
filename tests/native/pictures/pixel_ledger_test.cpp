// The ledger of pixel bytes: buffers count from their making until their own deleter runs,
// whoever holds them last; room reserved for a picture in progress counts until its buffer takes
// it over; a wait for room ends when a buffer is freed, or when the waiter gives up.
#include "pictures/pixel_ledger.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

#include "pictures/picture_compose.h"
#include "pictures/picture_data.h"

namespace {

using namespace std::chrono_literals;

TEST(PixelLedger, ABufferCountsUntilItsLastHolderLetsItGo) {
    auto ledger = std::make_shared<fw::PixelLedger>(1000);
    fw::PixelBuffer a = fw::PixelBuffer::Allocate(10, 10, ledger);
    EXPECT_EQ(ledger->Now().alive, 400u);
    auto shared = std::make_shared<const fw::PixelBuffer>(std::move(a));
    auto holder = shared;
    shared.reset();
    EXPECT_EQ(ledger->Now().alive, 400u) << "still held";
    holder.reset();
    EXPECT_EQ(ledger->Now().alive, 0u);
    EXPECT_EQ(ledger->Now().peak, 400u);

    // Made without a ledger (as a decoder does), then charged out of room reserved for it.
    ledger->Reserve(500);
    fw::PixelBuffer b = fw::PixelBuffer::Allocate(10, 10);
    b.ChargeTo(ledger, 400);
    EXPECT_EQ(ledger->Now().alive, 400u);
    EXPECT_EQ(ledger->Now().reserved, 100u);
    EXPECT_EQ(ledger->Now().peak, 500u) << "the reserved room and the buffer are one";
    b.ChargeTo(std::make_shared<fw::PixelLedger>(1000));
    EXPECT_EQ(ledger->Now().alive, 400u) << "a buffer counts in one ledger";
}

TEST(PixelLedger, AWaitForRoomEndsWhenABufferIsFreedOrTheWaiterGivesUp) {
    auto ledger = std::make_shared<fw::PixelLedger>(1000);
    auto big = std::make_shared<fw::PixelBuffer>(fw::PixelBuffer::Allocate(20, 10, ledger));  // 800 bytes
    // `giveUp` is asked only when the room is not there: the first ask says the waiter found none.
    std::promise<void> foundNone;
    std::atomic<bool> told{false};
    auto waiting = std::async(std::launch::async, [&] {
        return ledger->ReserveWhenRoom(400, [&] {
            if (!told.exchange(true)) foundNone.set_value();
            return false;
        }, 20s);
    });
    foundNone.get_future().wait();
    EXPECT_EQ(ledger->Now().reserved, 0u) << "nothing reserved while it waits";
    big.reset();
    EXPECT_TRUE(waiting.get());
    EXPECT_EQ(ledger->Now().reserved, 400u);

    std::atomic<bool> giveUp{false};
    auto refused = std::async(std::launch::async, [&] { return ledger->ReserveWhenRoom(700, [&] { return giveUp.load(); }, 20s); });
    giveUp = true;
    ledger->Poke();
    EXPECT_FALSE(refused.get());
    EXPECT_EQ(ledger->Now().reserved, 400u) << "nothing reserved by a waiter that gave up";
}

TEST(PictureCompose, ThePixelsOfAPictureCountInTheLedgerAndAStampIsClippedToIt) {
    auto ledger = std::make_shared<fw::PixelLedger>(1u << 20);
    auto decoded = std::make_shared<const fw::PixelBuffer>(fw::PixelBuffer::Allocate(20, 10, ledger));
    auto stamp = std::make_shared<fw::PixelBuffer>(fw::PixelBuffer::Allocate(4, 4));
    std::fill(stamp->data(), stamp->data() + stamp->bytes(), std::uint8_t{9});
    const PictureRequest r{L"a", 10, 5, FitMode::Stretch, {Stamp{1, 8, 3, stamp}}};
    EXPECT_EQ(ComposedBytes(r, 20, 10), 200u);
    const auto picture = ComposePicture(r, decoded, 1, ledger);
    ASSERT_TRUE(picture->pixels);
    EXPECT_EQ(ledger->Now().alive, 800u + 200u);
    EXPECT_EQ(picture->pixels->data()[(4 * 10 + 9) * 4], 9) << "the stamp's visible corner";
    EXPECT_EQ(ComposedBytes(PictureRequest{L"a", 20, 10, FitMode::Stretch, {}}, 20, 10), 0u) << "shares the decoded pixels";
    EXPECT_EQ(ComposePicture(PictureRequest{L"a", 20, 10, FitMode::Stretch, {}}, decoded, 1)->pixels, decoded);
}

}  // namespace
