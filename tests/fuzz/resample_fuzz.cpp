// The resampler on any image and any destination size it takes: it writes only the destination's
// pixels, refuses what it does not do without writing anything, each pixel it writes follows the
// separable model (area mean where an axis shrinks, linear interpolation between pixel centres
// where it grows) within the rounding of its fixed-point weights, and bands of rows made on two
// threads give the same pixels as one.
#include "pictures/box_filter.h"

#include "fuzz_check.h"
#include "fuzz_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

namespace {

using fuzz::Check;
using fuzz::ScalingJob;

// Small images, or sides up to 600 (enough for rescaled box heights and for two bands of rows).
constexpr int kSideRanges[] = {24, 600};
constexpr int kMaxPixels = 1 << 12;
constexpr int kMaxDestinationPixels = 1 << 16;

// One axis of the model: destination pixel x as weights over source pixels.
struct Taps {
    std::vector<std::vector<std::pair<int, double>>> of;
};

FUZZ_HARNESS Taps Model(int s, int d) {
    Taps t;
    for (int x = 0; x < d; ++x) {
        auto& taps = t.of.emplace_back();
        if (d <= s) {  // area mean
            for (int i = x * s / d; i < s && std::int64_t{i} * d < std::int64_t{x + 1} * s; ++i) {
                const double lo = std::max<double>(double(i) * d, double(x) * s);
                const double hi = std::min<double>(double(i + 1) * d, double(x + 1) * s);
                if (hi > lo) taps.emplace_back(i, (hi - lo) / s);
            }
        } else {  // linear between the two nearest centres, the edges repeated
            const double c = std::clamp((x + 0.5) * s / d - 0.5, 0.0, double(s - 1));
            const int i0 = std::min(static_cast<int>(c), s - 1), i1 = std::min(i0 + 1, s - 1);
            taps.emplace_back(i0, 1.0 - (c - i0));
            taps.emplace_back(i1, c - i0);
        }
    }
    return t;
}

FUZZ_HARNESS void CheckPixels(ScalingJob& job) {
    const fw::ConstPixelView src = job.Source();
    const fw::PixelView dst = job.Destination();
    const Taps cols = Model(job.srcW(), job.dstW()), rows = Model(job.srcH(), job.dstH());
    const bool grows = job.dstW() > job.srcW() || job.dstH() > job.srcH();
    // The weights of a growing axis are kept in 1/128 steps; rescaled box heights within 1/250.
    const double tolerance = grows ? 2.5 : 0.51;
    for (int y = 0; y < dst.height; ++y)
        for (int x = 0; x < dst.width; ++x)
            for (int c = 0; c < 4; ++c) {
                double want = 0;
                for (const auto& [j, wy] : rows.of[y])
                    for (const auto& [i, wx] : cols.of[x]) want += wy * wx * src.data[src.stride * j + 4 * i + c];
                const double got = dst.data[dst.stride * y + 4 * x + c];
                Check(std::fabs(got - want) <= tolerance, "each pixel follows the model");
            }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int maxSide = kSideRanges[data[0] % std::size(kSideRanges)];
    ScalingJob job(data + 1, size - 1, maxSide, kMaxPixels, ScalingJob::Sizes::Any);
    if (job.dstW() * job.dstH() > kMaxDestinationPixels) return 0;
    const bool takes = job.dstW() > 0 && job.dstH() > 0;

    // Sides beyond the largest taken are refused before a pixel is read.
    fw::ConstPixelView huge = job.Source();
    huge.width = fw::kMaxBoxFilterSide + 1;
    Check(!fw::Resample(huge, job.Destination()), "a side beyond the limit is refused");

    Check(fw::Resample(job.Source(), job.Destination()) == takes, "it scales exactly what it takes");
    Check(job.Untouched(takes), "nothing is written outside the destination's pixels");
    if (!takes) return 0;
    CheckPixels(job);

    // The same job in bands on two threads, into a second destination.
    if (job.dstH() >= 512) {
        std::vector<std::uint8_t> copy(std::size_t(job.dstW()) * job.dstH() * 4);
        const fw::PixelView banded{copy.data(), job.dstW(), job.dstH(), std::ptrdiff_t(job.dstW()) * 4};
        Check(fw::Resample(job.Source(), banded, 2), "two threads take it too");
        const fw::PixelView one = job.Destination();
        for (int y = 0; y < one.height; ++y)
            Check(std::equal(one.data + one.stride * y, one.data + one.stride * y + 4 * one.width,
                             copy.data() + banded.stride * y),
                  "bands on two threads give the same pixels");
    }
    return 0;
}
