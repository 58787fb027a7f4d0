#include "pictures/box_filter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <system_error>
#include <thread>
#include <vector>

#if !defined(PEMBORO_NO_SIMD) && (defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2))
#define PEMBORO_BOX_SSE2 1
#include <emmintrin.h>
#endif

namespace fw {
namespace {

constexpr int kChannels = 4;
// A thread of its own is worth starting for this many destination rows at least.
constexpr int kMinRowsPerThread = 256;

// Between the passes each channel is a 16-bit signed value, the form that the SSE2 multiply-add
// takes. The vertical sums (weight x value) are kept exact while they fit (at most 255 x 128);
// ratios with few common factors (1080 -> 613) are scaled to kMidScale steps per level first.
// Rounding to a step costs up to 1/256 of a level, the float scaling up to 2^-23 of 255 x 128
// steps (under 1/30000 of a level) more: the result is within 1/250 of a level of the exact
// mean before its final rounding.
constexpr std::uint32_t kMidScale = 128;
constexpr std::uint32_t kMaxExactRowTotal = 128;
// The weights of a growing axis add up to this: 1/128 steps of position, and exact rows.
constexpr std::uint32_t kLinearTotal = 128;

// Shrinking s pixels to d: destination pixel x covers [x * s, (x + 1) * s) and source pixel i
// covers [i * d, (i + 1) * d), both divided by gcd(s, d). Their overlaps are the exact area
// weights, integers that add up to `total` = s / gcd(s, d) for every destination pixel. Each
// destination pixel gets the same number of taps (`span`); short ones are padded with zero
// weights, so the inner loops have a fixed length and never read past the source.
struct AxisTaps {
    int span = 1;
    std::uint32_t total = 1;
    std::vector<int> first;              // first source pixel of each destination pixel
    std::vector<std::int32_t> weights;   // span per destination pixel
};

AxisTaps MakeBoxTaps(int s, int d) {
    const std::int64_t g = std::gcd(s, d);
    const std::int64_t srcUnit = d / g, dstUnit = s / g;
    AxisTaps a;
    a.total = static_cast<std::uint32_t>(dstUnit);
    for (std::int64_t x = 0; x < d; ++x) {
        const std::int64_t lo = x * dstUnit, hi = lo + dstUnit;
        a.span = std::max(a.span, static_cast<int>((hi - 1) / srcUnit - lo / srcUnit + 1));
    }
    a.first.resize(static_cast<std::size_t>(d));
    a.weights.assign(static_cast<std::size_t>(d) * static_cast<std::size_t>(a.span), 0);
    for (std::int64_t x = 0; x < d; ++x) {
        const std::int64_t lo = x * dstUnit, hi = lo + dstUnit;
        const std::int64_t first = lo / srcUnit, last = (hi - 1) / srcUnit;
        // Near the far edge the window starts early and the padding comes first.
        const std::int64_t start = std::min(first, std::int64_t{s} - a.span);
        a.first[static_cast<std::size_t>(x)] = static_cast<int>(start);
        std::int32_t* w = &a.weights[static_cast<std::size_t>(x) * static_cast<std::size_t>(a.span)];
        for (std::int64_t i = first; i <= last; ++i) {
            const std::int64_t from = std::max(lo, i * srcUnit), to = std::min(hi, (i + 1) * srcUnit);
            w[i - start] = static_cast<std::int32_t>(to - from);
        }
    }
    return a;
}

// Growing s pixels to d: destination pixel x samples the source at its centre,
// c = (x + 0.5) * s / d - 0.5, between the two nearest source pixels, with weights that add up to
// kLinearTotal; beyond the outer source centres the edge pixel is repeated. All in integers, so
// every build gives the same pixels: c * 2d = (2x + 1) * s - d.
AxisTaps MakeLinearTaps(int s, int d) {
    AxisTaps a;
    a.total = kLinearTotal;
    a.span = s > 1 ? 2 : 1;
    a.first.resize(static_cast<std::size_t>(d));
    a.weights.assign(static_cast<std::size_t>(d) * static_cast<std::size_t>(a.span), 0);
    const std::int64_t twoD = 2 * std::int64_t{d};
    for (std::int64_t x = 0; x < d; ++x) {
        std::int32_t* w = &a.weights[static_cast<std::size_t>(x) * static_cast<std::size_t>(a.span)];
        if (s == 1) {
            a.first[static_cast<std::size_t>(x)] = 0;
            w[0] = static_cast<std::int32_t>(kLinearTotal);
            continue;
        }
        const std::int64_t num = (2 * x + 1) * s - d;  // c * 2d, may be negative near the left edge
        const std::int64_t i0 = num >= 0 ? num / twoD : -1;
        const std::int64_t rem = num - i0 * twoD;      // 0 <= rem < 2d
        std::int32_t right = static_cast<std::int32_t>((rem * kLinearTotal + d) / twoD);
        std::int32_t left = static_cast<std::int32_t>(kLinearTotal) - right;
        std::int64_t start = i0;
        if (i0 < 0) {  // left of the first centre
            start = 0, left = static_cast<std::int32_t>(kLinearTotal), right = 0;
        } else if (i0 >= s - 1) {  // right of the last centre
            start = s - 2, left = 0, right = static_cast<std::int32_t>(kLinearTotal);
        }
        a.first[static_cast<std::size_t>(x)] = static_cast<int>(start);
        w[0] = left;
        w[1] = right;
    }
    return a;
}

AxisTaps MakeTaps(int s, int d) { return d > s ? MakeLinearTaps(s, d) : MakeBoxTaps(s, d); }

// n / d rounded to nearest (halves up) by one multiplication, exact for every n <= maxN: with
// n' = n + d / 2, 2^shift >= maxN' * d and m = ceil(2^shift / d), floor(n' * m / 2^shift) equals
// floor(n' / d). For the sums BoxShrink divides (below 2^31) n' * m stays below 2^64.
class RoundedDivider {
public:
    RoundedDivider(std::uint64_t d, std::uint64_t maxN) : half_(d / 2) {
        if ((d & (d - 1)) == 0)
            while ((std::uint64_t{1} << (pow2Shift_ + 1)) <= d) ++pow2Shift_;
        const std::uint64_t limit = maxN + half_;
        while ((std::uint64_t{1} << shift_) / d < limit) ++shift_;
        m_ = ((std::uint64_t{1} << shift_) + d - 1) / d;
    }
    std::uint32_t operator()(std::uint64_t n) const {
        return static_cast<std::uint32_t>(((n + half_) * m_) >> shift_);
    }
    // log2 of d when d is a power of two (the division is then a plain shift), else -1.
    int shift() const { return pow2Shift_; }

private:
    std::uint64_t half_;
    std::uint64_t m_ = 1;
    int shift_ = 0;
    int pow2Shift_ = -1;
};

// Vertical pass for one destination row: acc[k] = sum over the row taps of weight x source byte.
void SumRows(const ConstPixelView& src, const AxisTaps& rows, int y, std::int32_t* acc, std::size_t n) {
    const std::int32_t* w = &rows.weights[static_cast<std::size_t>(y) * static_cast<std::size_t>(rows.span)];
    const std::uint8_t* first = src.data + src.stride * rows.first[static_cast<std::size_t>(y)];
    std::size_t k0 = 0;
#if PEMBORO_BOX_SSE2
    // Two source rows at a time: their bytes interleaved as 16-bit pairs, so one multiply-add
    // gives w0 x a + w1 x b for four channels.
    const std::size_t vecEnd = n & ~std::size_t{15};
    for (int j = 0; j < rows.span; j += 2) {
        const bool pair = j + 1 < rows.span;
        const std::uint8_t* a = first + src.stride * j;
        const std::uint8_t* b = pair ? a + src.stride : a;
        const __m128i wv = _mm_set1_epi32(static_cast<std::int32_t>(
            static_cast<std::uint32_t>(w[j]) | (static_cast<std::uint32_t>(pair ? w[j + 1] : 0) << 16)));
        const __m128i zero = _mm_setzero_si128();
        for (std::size_t k = 0; k < vecEnd; k += 16) {
            const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + k));
            const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k));
            const __m128i lo = _mm_unpacklo_epi8(va, vb), hi = _mm_unpackhi_epi8(va, vb);
            __m128i s0 = _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), wv);
            __m128i s1 = _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), wv);
            __m128i s2 = _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), wv);
            __m128i s3 = _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), wv);
            __m128i* out = reinterpret_cast<__m128i*>(acc + k);
            if (j > 0) {
                s0 = _mm_add_epi32(s0, _mm_loadu_si128(out));
                s1 = _mm_add_epi32(s1, _mm_loadu_si128(out + 1));
                s2 = _mm_add_epi32(s2, _mm_loadu_si128(out + 2));
                s3 = _mm_add_epi32(s3, _mm_loadu_si128(out + 3));
            }
            _mm_storeu_si128(out, s0);
            _mm_storeu_si128(out + 1, s1);
            _mm_storeu_si128(out + 2, s2);
            _mm_storeu_si128(out + 3, s3);
        }
    }
    k0 = vecEnd;
#endif
    for (std::size_t k = k0; k < n; ++k) {
        std::int32_t sum = 0;
        for (int j = 0; j < rows.span; ++j) sum += w[j] * first[src.stride * j + static_cast<std::ptrdiff_t>(k)];
        acc[k] = sum;
    }
}

// mid = acc x kMidScale / rows.total, rounded to nearest even. acc (at most 255 x 32768) is exact
// in a float; the float product is the same with and without SIMD, so both give the same pixels.
void ScaleRow(const std::int32_t* acc, std::int16_t* mid, std::size_t n, float scale) {
    std::size_t k0 = 0;
#if PEMBORO_BOX_SSE2
    const __m128 sv = _mm_set1_ps(scale);
    const std::size_t vecEnd = n & ~std::size_t{7};
    for (std::size_t k = 0; k < vecEnd; k += 8) {
        const __m128i a = _mm_cvtps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(acc + k))), sv));
        const __m128i b = _mm_cvtps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(acc + k + 4))), sv));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(mid + k), _mm_packs_epi32(a, b));
    }
    k0 = vecEnd;
#endif
    for (std::size_t k = k0; k < n; ++k) mid[k] = static_cast<std::int16_t>(std::lrintf(static_cast<float>(acc[k]) * scale));
}

// Horizontal pass for one destination row: out = rounded (sum of weight x mid) / divisor.
void SumColumns(const std::int16_t* mid, const AxisTaps& cols, const RoundedDivider& div, std::uint8_t* out,
                int dstWidth) {
    if (cols.total == 1) {  // width unchanged
        const std::size_t n = static_cast<std::size_t>(dstWidth) * kChannels;
        for (std::size_t k = 0; k < n; ++k) out[k] = static_cast<std::uint8_t>(div(static_cast<std::uint32_t>(mid[k])));
        return;
    }
    const int span = cols.span;
#if PEMBORO_BOX_SSE2
    if (span == 2 && div.shift() >= 0) {
        // A growing width: two taps and a power-of-two divisor, the common case of a slide grown
        // for a larger screen. Both pixels' channels are interleaved, so one multiply-add gives
        // the four weighted sums, and the rounding division is a shift.
        const __m128i half = _mm_set1_epi32(div.shift() > 0 ? 1 << (div.shift() - 1) : 0);
        const __m128i shift = _mm_cvtsi32_si128(div.shift());
        for (int x = 0; x < dstWidth; ++x) {
            const std::int32_t* w = &cols.weights[static_cast<std::size_t>(x) * 2];
            const std::int16_t* m = mid + static_cast<std::size_t>(cols.first[static_cast<std::size_t>(x)]) * kChannels;
            const __m128i two = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m));
            const __m128i pairs = _mm_unpacklo_epi16(two, _mm_srli_si128(two, 8));
            const __m128i wv = _mm_set1_epi32(static_cast<std::int32_t>(static_cast<std::uint32_t>(w[0]) |
                                                                         (static_cast<std::uint32_t>(w[1]) << 16)));
            __m128i sum = _mm_srl_epi32(_mm_add_epi32(_mm_madd_epi16(pairs, wv), half), shift);
            sum = _mm_packs_epi32(sum, sum);
            const int px = _mm_cvtsi128_si32(_mm_packus_epi16(sum, sum));
            std::memcpy(out + static_cast<std::size_t>(x) * kChannels, &px, kChannels);
        }
        return;
    }
#endif
    for (int x = 0; x < dstWidth; ++x) {
        const std::int32_t* w = &cols.weights[static_cast<std::size_t>(x) * static_cast<std::size_t>(span)];
        const std::int16_t* m = mid + static_cast<std::size_t>(cols.first[static_cast<std::size_t>(x)]) * kChannels;
        std::uint32_t s[kChannels];
#if PEMBORO_BOX_SSE2
        // A pixel's four 16-bit channels spread to 32-bit lanes against (w, 0) pairs.
        const __m128i zero = _mm_setzero_si128();
        __m128i sum = _mm_setzero_si128();
        for (int i = 0; i < span; ++i, m += kChannels) {
            const __m128i px = _mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(m)), zero);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(px, _mm_set1_epi32(w[i])));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(s), sum);
#else
        s[0] = s[1] = s[2] = s[3] = 0;
        for (int i = 0; i < span; ++i, m += kChannels)
            for (int c = 0; c < kChannels; ++c) s[c] += static_cast<std::uint32_t>(w[i] * m[c]);
#endif
        std::uint8_t* o = out + static_cast<std::size_t>(x) * kChannels;
        for (int c = 0; c < kChannels; ++c) o[c] = static_cast<std::uint8_t>(div(s[c]));
    }
}

}  // namespace

bool Resample(const ConstPixelView& src, const PixelView& dst, int threads) {
    if (!src.data || !dst.data || src.width <= 0 || src.height <= 0 || dst.width <= 0 || dst.height <= 0) return false;
    if (src.width > kMaxBoxFilterSide || src.height > kMaxBoxFilterSide || dst.width > kMaxBoxFilterSide ||
        dst.height > kMaxBoxFilterSide)
        return false;

    const std::size_t n = static_cast<std::size_t>(src.width) * kChannels;
    if (src.width == dst.width && src.height == dst.height) {
        for (int y = 0; y < dst.height; ++y) std::memcpy(dst.data + dst.stride * y, src.data + src.stride * y, n);
        return true;
    }

    const AxisTaps rows = MakeTaps(src.height, dst.height);
    const AxisTaps cols = MakeTaps(src.width, dst.width);
    const bool exactRows = rows.total <= kMaxExactRowTotal;
    const std::uint32_t midScale = exactRows ? rows.total : kMidScale;  // mid = mean x midScale
    const std::uint64_t maxMid = std::uint64_t{255} * midScale;
    const float toMid = static_cast<float>(kMidScale) / static_cast<float>(rows.total);
    const RoundedDivider toOut(std::uint64_t{midScale} * cols.total, maxMid * cols.total);

    // Destination rows depend only on the taps, so bands of rows can be made side by side.
    const auto band = [&](int firstRow, int endRow) {
        std::vector<std::int32_t> acc(n);
        std::vector<std::int16_t> mid(n + kChannels);  // one pixel of slack for two-tap loads
        for (int y = firstRow; y < endRow; ++y) {
            SumRows(src, rows, y, acc.data(), n);
            if (exactRows) {
                for (std::size_t k = 0; k < n; ++k) mid[k] = static_cast<std::int16_t>(acc[k]);
            } else {
                ScaleRow(acc.data(), mid.data(), n, toMid);
            }
            SumColumns(mid.data(), cols, toOut, dst.data + dst.stride * y, dst.width);
        }
    };
    const int bands = std::clamp(threads, 1, std::max(1, dst.height / kMinRowsPerThread));
    if (bands == 1) {
        band(0, dst.height);
        return true;
    }
    std::vector<std::thread> helpers;
    const auto bandStart = [&](int i) { return static_cast<int>(std::int64_t{dst.height} * i / bands); };
    try {
        for (int i = 1; i < bands; ++i) helpers.emplace_back(band, bandStart(i), bandStart(i + 1));
    } catch (const std::system_error&) {
        // No thread to be had: the bands that have none are made here, one after the other.
    }
    band(0, bandStart(1));
    for (int i = static_cast<int>(helpers.size()) + 1; i < bands; ++i) band(bandStart(i), bandStart(i + 1));
    for (std::thread& t : helpers) t.join();
    return true;
}

bool BoxShrink(const ConstPixelView& src, const PixelView& dst) {
    if (dst.width > src.width || dst.height > src.height) return false;
    return Resample(src, dst, 1);
}

}  // namespace fw
