// The ledger of the pixel bytes alive: every buffer charged to it counts from its making until its
// own deleter gives the bytes back, whoever holds it last (a cache, a paint, a worker); and room
// set aside for pictures in progress counts before their buffers exist. So its total is what the
// pictures really take, kept, waiting to be freed and being made, not what anyone believes they
// keep. Pure: no platform headers.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>

namespace fw {

// What a buffer charged to a ledger is: made for the pictures (kept by a cache, drawn by a paint,
// in progress), or a resident the program keeps beside them for good (logos, markers scaled to a
// window), which the pictures' plan leaves room for before anything else.
enum class Charge { Picture, Resident };

class PixelLedger {
public:
    struct Figures {
        std::size_t alive = 0;     // bytes of buffers charged and not yet freed
        std::size_t resident = 0;  // of which residents
        std::size_t reserved = 0;  // room set aside for pictures in progress
        std::size_t peak = 0;      // the most alive + reserved ever reached
    };

    // The budget that ReserveWhenRoom judges by; the ledger itself refuses nothing.
    explicit PixelLedger(std::size_t budget) : budget_(budget) {}
    PixelLedger(const PixelLedger&) = delete;
    PixelLedger& operator=(const PixelLedger&) = delete;

    std::size_t Budget() const { return budget_; }

    // A buffer of `bytes` now counts here; `fromReserved` of them were set aside for it, and no
    // longer count as reserved (so the total does not count them twice).
    void Charge(std::size_t bytes, std::size_t fromReserved = 0, fw::Charge kind = fw::Charge::Picture);
    // A charged buffer has been freed.
    void Discharge(std::size_t bytes, fw::Charge kind = fw::Charge::Picture);
    // Room for a picture in progress, counted at once; given back with Unreserve or by a Charge.
    void Reserve(std::size_t bytes);
    void Unreserve(std::size_t bytes);

    // Waits until `bytes` more fit the budget, or `giveUp` answers true (asked under the
    // ledger's lock whenever the ledger changes or Poke is called), or `limit` has passed.
    // Reserves the bytes and answers true when they fit; reserves nothing otherwise. `keepFree`
    // more must fit beside them (room someone else will need soon), without being reserved.
    bool ReserveWhenRoom(std::size_t bytes, const std::function<bool()>& giveUp, std::chrono::milliseconds limit,
                         std::size_t keepFree = 0);
    // Wakes the waiters of ReserveWhenRoom, to ask their `giveUp` again.
    void Poke();

    Figures Now() const;

private:
    void NoteTotal();  // under the lock

    const std::size_t budget_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Figures figures_;
};

}  // namespace fw
