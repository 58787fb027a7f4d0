// The box filter on any image of any size it takes: it writes only the destination's pixels,
// refuses what it does not do without writing anything, and each pixel it writes is the exact
// area-weighted mean of what it covers, rounded, give or take the 1/250 of a level its header
// allows for rescaled heights (and exactly where the heights' ratio keeps the sums exact).
#include "pictures/box_filter.h"

#include "fuzz_check.h"
#include "fuzz_pixels.h"

#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <numeric>
#include <vector>

namespace {

using fuzz::Check;
using fuzz::ScalingJob;

// The first byte picks the range of the sides: small images, sides up to 1100 (ratios with few
// common factors, 1080 -> 613, where the vertical sums are rescaled), or up to one beyond the
// longest side taken (the largest weights, and the refusal). 4 K pixels keep each run short.
constexpr int kSideRanges[] = {64, 1100, fw::kMaxBoxFilterSide + 1};
constexpr int kMaxPixels = 1 << 12;

// The exact weights of one axis: measured in units where a source pixel is d wide and a
// destination pixel s wide, the overlap of each source pixel with destination pixel x.
struct AxisWeights {
    std::vector<int> first;                          // first source pixel of each destination pixel
    std::vector<std::vector<std::int64_t>> weights;  // from there on
};

FUZZ_HARNESS AxisWeights Weights(std::int64_t s, std::int64_t d) {
    AxisWeights a;
    for (std::int64_t x = 0; x < d; ++x) {
        const std::int64_t first = x * s / d, last = ((x + 1) * s - 1) / d;
        a.first.push_back(static_cast<int>(first));
        auto& w = a.weights.emplace_back();
        for (std::int64_t i = first; i <= last; ++i)
            w.push_back(std::min((i + 1) * d, (x + 1) * s) - std::max(i * d, x * s));
    }
    return a;
}

FUZZ_HARNESS void CheckPixels(ScalingJob& job) {
    const fw::ConstPixelView src = job.Source();
    const fw::PixelView dst = job.Destination();
    const AxisWeights cols = Weights(job.srcW(), job.dstW()), rows = Weights(job.srcH(), job.dstH());
    const std::int64_t area = std::int64_t{job.srcW()} * job.srcH();  // of one destination pixel, in these units
    // Exact sums while the source height over the heights' common factor stays within 128.
    const std::int64_t slack = job.srcH() / std::gcd(job.srcH(), job.dstH()) <= 128 ? 0 : 4;  // thousandths
    for (int y = 0; y < dst.height; ++y) {
        for (int x = 0; x < dst.width; ++x) {
            std::int64_t sum[4] = {};
            for (std::size_t j = 0; j < rows.weights[y].size(); ++j) {
                const std::uint8_t* row = src.data + src.stride * (rows.first[y] + static_cast<int>(j));
                for (std::size_t i = 0; i < cols.weights[x].size(); ++i) {
                    const std::int64_t w = rows.weights[y][j] * cols.weights[x][i];
                    const std::uint8_t* p = row + 4 * (cols.first[x] + static_cast<int>(i));
                    for (int c = 0; c < 4; ++c) sum[c] += w * p[c];
                }
            }
            // |out - sum / area| <= 1/2 + slack, in integers.
            for (int c = 0; c < 4; ++c) {
                const std::int64_t out = dst.data[dst.stride * y + 4 * x + c];
                Check(1000 * std::llabs(out * area - sum[c]) <= (500 + slack) * area, "each pixel is the rounded area mean");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int maxSide = kSideRanges[data[0] % std::size(kSideRanges)];
    ScalingJob job(data + 1, size - 1, maxSide, kMaxPixels, ScalingJob::Sizes::UpToSource);
    const bool takes = job.dstW() > 0 && job.dstH() > 0 && job.dstW() <= job.srcW() && job.dstH() <= job.srcH() &&
                       job.srcW() <= fw::kMaxBoxFilterSide && job.srcH() <= fw::kMaxBoxFilterSide;

    // A width of the wrong sign is refused too.
    fw::ConstPixelView negative = job.Source();
    negative.width = -negative.width;
    Check(!fw::BoxShrink(negative, job.Destination()), "a negative source width is refused");

    Check(fw::BoxShrink(job.Source(), job.Destination()) == takes, "it shrinks exactly what it takes");
    Check(job.Untouched(takes), "nothing is written outside the destination's pixels");
    if (!takes) return 0;
    CheckPixels(job);
    return 0;
}
