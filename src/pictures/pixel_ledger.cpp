#include "pictures/pixel_ledger.h"

#include <algorithm>

namespace fw {

void PixelLedger::NoteTotal() {
    figures_.peak = std::max(figures_.peak, figures_.alive + figures_.reserved);
}

void PixelLedger::Charge(std::size_t bytes, std::size_t fromReserved, fw::Charge kind) {
    {
        const std::lock_guard lock(mutex_);
        figures_.reserved -= std::min(fromReserved, figures_.reserved);
        figures_.alive += bytes;
        if (kind == fw::Charge::Resident) figures_.resident += bytes;
        NoteTotal();
    }
    changed_.notify_all();
}

void PixelLedger::Discharge(std::size_t bytes, fw::Charge kind) {
    {
        const std::lock_guard lock(mutex_);
        figures_.alive -= std::min(bytes, figures_.alive);
        if (kind == fw::Charge::Resident) figures_.resident -= std::min(bytes, figures_.resident);
    }
    changed_.notify_all();
}

void PixelLedger::Reserve(std::size_t bytes) {
    const std::lock_guard lock(mutex_);
    figures_.reserved += bytes;
    NoteTotal();
}

void PixelLedger::Unreserve(std::size_t bytes) {
    {
        const std::lock_guard lock(mutex_);
        figures_.reserved -= std::min(bytes, figures_.reserved);
    }
    changed_.notify_all();
}

bool PixelLedger::ReserveWhenRoom(std::size_t bytes, const std::function<bool()>& giveUp,
                                  std::chrono::milliseconds limit, std::size_t keepFree) {
    std::unique_lock lock(mutex_);
    const auto fits = [&] {
        const std::size_t total = figures_.alive + figures_.reserved;
        return total <= budget_ && bytes <= budget_ - total && keepFree <= budget_ - total - bytes;
    };
    const bool room = changed_.wait_for(lock, limit, [&] { return fits() || (giveUp && giveUp()); });
    if (!room || !fits()) return false;
    figures_.reserved += bytes;
    NoteTotal();
    return true;
}

void PixelLedger::Poke() {
    { const std::lock_guard lock(mutex_); }
    changed_.notify_all();
}

PixelLedger::Figures PixelLedger::Now() const {
    const std::lock_guard lock(mutex_);
    return figures_;
}

}  // namespace fw
