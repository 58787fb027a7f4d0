// What a client of the pictures asks for: a file at a size, with small pictures copied over it;
// and what it gets back. Pure: no platform headers.
#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pictures/picture_data.h"

// Slides are stretched over the whole target; photos keep their proportions, centred; printing
// takes the file's pixels as they were decoded, at their own size.
enum class FitMode { Stretch, Letterbox, AsDecoded };

// A small picture copied over a scaled one at (x, y), opaque, clipped to it: a logo, the notice,
// a marker. Stamps are equal when they are the same picture (by id and size) at the same place.
struct Stamp {
    int id = 0;
    int x = 0;
    int y = 0;
    std::shared_ptr<const fw::PixelBuffer> pixels;
    friend bool operator==(const Stamp& a, const Stamp& b) {
        const auto w = [](const Stamp& s) { return s.pixels ? s.pixels->width() : 0; };
        const auto h = [](const Stamp& s) { return s.pixels ? s.pixels->height() : 0; };
        return a.id == b.id && a.x == b.x && a.y == b.y && w(a) == w(b) && h(a) == h(b);
    }
};

// A picture as a client wants it: a resolved file path, the target's size (none for AsDecoded),
// the fit, and the stamps copied over it in order.
struct PictureRequest {
    std::wstring path;
    int width = 0;
    int height = 0;
    FitMode fit = FitMode::Stretch;
    std::vector<Stamp> stamps;
    friend bool operator==(const PictureRequest&, const PictureRequest&) = default;
};

// For keeping requests in hashed containers.
struct PictureRequestHash {
    std::size_t operator()(const PictureRequest& r) const noexcept {
        std::size_t h = std::hash<std::wstring>{}(r.path);
        for (const std::size_t v : {std::size_t(r.width), std::size_t(r.height), std::size_t(r.fit), r.stamps.size()})
            h = h * 1099511628211u ^ v;
        return h;
    }
};

// Whether the request asks for any pixels at all: a target without area is never made.
inline bool HasArea(const PictureRequest& r) { return r.fit == FitMode::AsDecoded || (r.width > 0 && r.height > 0); }

// The most the picture of `r` can hold, given the bytes of its file's decoded pixels.
inline std::size_t MostBytesOf(const PictureRequest& r, std::size_t decodedBytes) {
    if (r.fit == FitMode::AsDecoded) return decodedBytes;
    return HasArea(r) ? static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height) * 4 : 0;
}

// A picture ready to draw: pixels at the size they are drawn, placed at (x, y) of the target.
// Not placed: the file is missing or does not decode, and nothing is drawn. A photo so thin that
// its letterbox has no area is placed all the same, without pixels: its window shows black.
struct ScaledPicture {
    bool placed = false;
    std::shared_ptr<const fw::PixelBuffer> pixels;
    int x = 0;
    int y = 0;
};

// The clients of the pictures, in the order their needs count: what the show draws first, then
// the presenter console, the handout sheets (a preview open gets its sheet), and last the
// overview's thumbnails, made in the room and the time the others leave.
enum class PictureClient { Show, Console, Print, Overview };
inline constexpr std::size_t kPictureClients = 4;

// A picture a client wants. `decodedWillDo`: until it is asked for, its file's decoded pixels are
// enough (it is then scaled on the key); it is made ready only where the budget has room.
struct Wanted {
    PictureRequest request;
    bool decodedWillDo = false;
    friend bool operator==(const Wanted&, const Wanted&) = default;
};
