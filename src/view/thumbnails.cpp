#include "view/thumbnails.h"

#include <limits>
#include <utility>

Thumbnails::Thumbnails(std::vector<std::wstring> paths, Hooks hooks)
    : paths_(std::move(paths)), hooks_(std::move(hooks)), slots_(paths_.size()) {}

void Thumbnails::SetTileSize(int w, int h) {
    const std::lock_guard lock(mutex_);
    tileW_ = w;
    tileH_ = h;
}

bool Thumbnails::MakeOne(const HeldPixels& held) {
    int w = 0, h = 0;
    std::vector<std::size_t> missing;
    {
        const std::lock_guard lock(mutex_);
        w = tileW_;
        h = tileH_;
        if (w <= 0 || h <= 0) return false;
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (!Current(slots_[i])) missing.push_back(i);
    }
    if (missing.empty()) return false;

    // A larger thumbnail or pixels decoded already cost a scaling only; else the smallest file.
    std::size_t pick = missing.front();
    std::shared_ptr<const fw::PixelBuffer> source;
    {
        const std::lock_guard lock(mutex_);
        for (const std::size_t i : missing) {
            const auto& largest = slots_[i].largest;
            if (largest && largest->width() >= w && largest->height() >= h) {
                source = largest;
                pick = i;
                break;
            }
        }
    }
    if (held && !source) {
        for (const std::size_t i : missing) {
            if ((source = held(paths_[i]))) {
                pick = i;
                break;
            }
        }
    }
    if (!source) {
        std::uint64_t cheapest = std::numeric_limits<std::uint64_t>::max();
        for (const std::size_t i : missing) {
            std::optional<std::uint64_t> cost;
            {
                const std::lock_guard lock(mutex_);
                cost = slots_[i].cost;
            }
            if (!cost) {
                const std::optional<std::uint64_t> size = hooks_.fileSize ? hooks_.fileSize(paths_[i]) : std::nullopt;
                cost = size ? *size : std::numeric_limits<std::uint64_t>::max();
                const std::lock_guard lock(mutex_);
                slots_[i].cost = cost;
            }
            if (*cost < cheapest) cheapest = *cost, pick = i;
        }
    }

    std::shared_ptr<const fw::PixelBuffer> made;
    if (!source && hooks_.decode) {
        fw::DecodedFile file = hooks_.decode(paths_[pick]);
        if (file.pixels) source = std::make_shared<const fw::PixelBuffer>(std::move(file.pixels));
    }
    if (source && *source) {
        fw::PixelBuffer scaled = fw::ScaledCopy(source->view(), w, h, 1);
        if (scaled) made = std::make_shared<const fw::PixelBuffer>(std::move(scaled));
    }

    const std::lock_guard lock(mutex_);
    Slot& slot = slots_[pick];
    if (made) {
        // Made for a size that changed meanwhile: kept all the same until its successor comes.
        if (!slot.largest || made->bytes() > slot.largest->bytes()) slot.largest = made;
        slot.pixels = std::move(made);
        slot.failed = false;
    } else {
        slot.failed = true;
    }
    ++generation_;
    return true;
}

std::shared_ptr<const fw::PixelBuffer> Thumbnails::Get(int row) const {
    const std::lock_guard lock(mutex_);
    if (row < 0 || row >= static_cast<int>(slots_.size())) return nullptr;
    return slots_[static_cast<std::size_t>(row)].pixels;
}

int Thumbnails::Ready() const {
    const std::lock_guard lock(mutex_);
    int n = 0;
    for (const Slot& s : slots_) n += Current(s) ? 1 : 0;
    return n;
}

unsigned Thumbnails::Generation() const {
    const std::lock_guard lock(mutex_);
    return generation_;
}

std::size_t Thumbnails::Bytes() const {
    const std::lock_guard lock(mutex_);
    std::size_t total = 0;
    for (const Slot& s : slots_) {
        if (s.pixels) total += s.pixels->bytes();
        if (s.largest && s.largest != s.pixels) total += s.largest->bytes();
    }
    return total;
}
