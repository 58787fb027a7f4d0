// The overview's thumbnails, as a client of the picture cache: every slide at the size the
// overview draws it at, wanted in deck order, after every other client's pictures (the cache's
// workers make them while nothing else waits, on both cores, the cheapest first, each checked
// against its file's identity), and read
// back without ever being made on the caller's thread. A change of size makes them again (a
// smaller size from the larger ones, without a decode); until then the old ones are drawn
// stretched, and a slide not yet made is drawn as a numbered frame. Pure: no platform headers.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "pictures/picture_cache.h"

class Thumbnails {
public:
    // One thumbnail per path (resolved), in deck order.
    explicit Thumbnails(std::vector<std::wstring> paths) : paths_(std::move(paths)) {}

    // The size the overview draws them at; true when it changed.
    bool SetTileSize(int w, int h) {
        const bool changed = w != tileW_ || h != tileH_;
        tileW_ = w, tileH_ = h;
        return changed;
    }
    // The overview's wanted list: every thumbnail at the tile size; nothing without one.
    std::vector<Wanted> WantedList() const;

    // Thumbnail `row` from `cache`: of the tile size, or of another while that one is not made;
    // null when none is held.
    std::shared_ptr<const fw::PixelBuffer> Get(const PictureCache& cache, int row) const;
    int Count() const { return static_cast<int>(paths_.size()); }

private:
    PictureRequest RequestOf(int row) const { return {paths_[static_cast<std::size_t>(row)], tileW_, tileH_, FitMode::Stretch, {}}; }

    std::vector<std::wstring> paths_;
    int tileW_ = 0;
    int tileH_ = 0;
};
