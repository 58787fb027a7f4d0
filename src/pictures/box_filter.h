// Halftone-quality scaling of 32-bit pixels: area averaging (box) where an axis shrinks, linear
// interpolation where it grows. The platform's HALFTONE stretch under Wine interpolates without
// averaging (a 1-pixel checkerboard halved turns black) and grows slowly, so both are done here.
// Pure: no platform headers.
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

// Largest side the filters take: keeps their fixed-point sums inside 64 bits.
inline constexpr int kMaxBoxFilterSide = 1 << 15;

// Writes src shrunk to dst's size. Each destination pixel is the exact area-weighted mean of the
// source pixels it covers (integer weights, no rounding of weights), rounded to nearest; an axis
// whose size does not change is copied unchanged. Heights whose ratio has few common factors
// (1080 -> 613: 1080 / gcd above 128) are the exception: there the mean before its rounding may
// be off by up to 1/250 of a level, so a mean that close to a half level can round either way.
// Vertical pass first, then horizontal, one row at a time. Returns false and writes nothing when a
// size is 0 or negative, dst is larger than src on either axis, or a side is larger than
// kMaxBoxFilterSide. src and dst must not overlap.
bool BoxShrink(const ConstPixelView& src, const PixelView& dst);

// Writes src scaled to dst's size, each axis on its own: a shrinking axis as BoxShrink does, a
// growing one by linear interpolation between the two nearest source pixel centres (the edge
// pixels repeated beyond the outer centres), an unchanged one copied. Same refusals as BoxShrink,
// except that dst may be larger than src. With threads > 1 a large destination is made in bands
// of rows on that many threads (the caller's among them), with the same pixels as on one.
bool Resample(const ConstPixelView& src, const PixelView& dst, int threads = 1);

}  // namespace fw
