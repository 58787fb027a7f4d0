// Area-averaging (box) down-scaling of 32-bit pixels. The platform's HALFTONE stretch under
// Wine interpolates without averaging (a 1-pixel checkerboard halved turns black), so shrinking
// with halftone quality is done here. Pure: no platform headers.
#pragma once
#include <cstddef>
#include <cstdint>

namespace fw {

// Pixels of four 8-bit channels (BGRA, BGRX, ...); all four are averaged alike, so alpha should
// be premultiplied. stride is in bytes between the starts of two rows and may be negative
// (a bottom-up bitmap seen from its top row).
struct ConstPixelView {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

struct PixelView {
    std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// Largest side BoxShrink takes: keeps its fixed-point sums inside 64 bits.
inline constexpr int kMaxBoxFilterSide = 1 << 15;

// Writes src shrunk to dst's size. Each destination pixel is the exact area-weighted mean of the
// source pixels it covers (integer weights, no rounding of weights), rounded to nearest; an axis
// whose size does not change is copied unchanged. Heights whose ratio has few common factors
// (1080 -> 613: 1080 / gcd above 128) are the exception: there the mean before its rounding may
// be off by up to 1/250 of a level, so a mean that close to a half level can round either way. Vertical pass first, then horizontal, one row
// at a time. Returns false and writes nothing when a size is 0 or negative, dst is larger than
// src on either axis, or src is larger than kMaxBoxFilterSide. src and dst must not overlap.
bool BoxShrink(const ConstPixelView& src, const PixelView& dst);

}  // namespace fw
