#include "pictures/picture_compose.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "pictures/letterbox.h"

namespace {

struct Place {
    bool placed = false;
    int x = 0, y = 0, w = 0, h = 0;
};

Place PlaceOf(const PictureRequest& r, int w, int h) {
    if (w <= 0 || h <= 0) return {};
    switch (r.fit) {
    case FitMode::AsDecoded: return {true, 0, 0, w, h};
    case FitMode::Letterbox: {
        const fw::Letterbox fit = fw::FitLetterbox(r.width, r.height, w, h);
        return {fit.fits, fit.x, fit.y, fit.w, fit.h};
    }
    case FitMode::Stretch: break;
    }
    if (r.width <= 0 || r.height <= 0) return {};
    return {true, 0, 0, r.width, r.height};
}

bool Shares(const PictureRequest& r, const Place& place, int w, int h) {
    return r.stamps.empty() && place.w == w && place.h == h;
}

}  // namespace

std::size_t ComposedBytes(const PictureRequest& request, int w, int h) {
    const Place place = PlaceOf(request, w, h);
    if (!place.placed || place.w <= 0 || place.h <= 0 || Shares(request, place, w, h)) return 0;
    return static_cast<std::size_t>(place.w) * static_cast<std::size_t>(place.h) * 4;
}

void ApplyStamps(fw::PixelBuffer& pixels, const std::vector<Stamp>& stamps) {
    for (const Stamp& s : stamps) {
        if (!s.pixels || !*s.pixels) continue;
        const int left = std::max(0, s.x), top = std::max(0, s.y);
        const int right = std::min(pixels.width(), s.x + s.pixels->width());
        const int bottom = std::min(pixels.height(), s.y + s.pixels->height());
        if (left >= right || top >= bottom) continue;
        const std::size_t n = static_cast<std::size_t>(right - left) * 4;
        for (int y = top; y < bottom; ++y) {
            const std::uint8_t* from = s.pixels->data() + s.pixels->stride() * (y - s.y) + std::ptrdiff_t{left - s.x} * 4;
            std::memcpy(pixels.data() + pixels.stride() * y + std::ptrdiff_t{left} * 4, from, n);
        }
    }
}

std::shared_ptr<const ScaledPicture> ComposePicture(const PictureRequest& request,
                                                    const std::shared_ptr<const fw::PixelBuffer>& decoded, int threads,
                                                    const std::shared_ptr<fw::PixelLedger>& ledger, std::size_t reserved) {
    auto picture = std::make_shared<ScaledPicture>();
    if (!decoded || !*decoded) return picture;
    const Place place = PlaceOf(request, decoded->width(), decoded->height());
    if (!place.placed) return picture;
    picture->placed = true;
    picture->x = place.x;
    picture->y = place.y;
    if (place.w <= 0 || place.h <= 0) return picture;  // a place without area: nothing to scale
    if (Shares(request, place, decoded->width(), decoded->height())) {
        picture->pixels = decoded;
        return picture;
    }
    fw::PixelBuffer made = fw::ScaledCopy(decoded->view(), place.w, place.h, threads, ledger, reserved);
    if (!made) return nullptr;  // out of memory for this picture, not the file's fault
    ApplyStamps(made, request.stamps);
    picture->pixels = std::make_shared<const fw::PixelBuffer>(std::move(made));
    return picture;
}
