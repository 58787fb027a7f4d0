#include "pictures/thumbnails.h"

std::vector<Wanted> Thumbnails::WantedList() const {
    std::vector<Wanted> wanted;
    if (tileW_ <= 0 || tileH_ <= 0) return wanted;
    for (int row = 0; row < Count(); ++row)
        if (!paths_[static_cast<std::size_t>(row)].empty()) wanted.push_back(Wanted{RequestOf(row), false});
    return wanted;
}

std::shared_ptr<const fw::PixelBuffer> Thumbnails::Get(const PictureCache& cache, int row) const {
    if (row < 0 || row >= Count() || tileW_ <= 0 || tileH_ <= 0) return nullptr;
    const auto picture = cache.Peek(RequestOf(row));
    return picture ? picture->pixels : nullptr;
}
