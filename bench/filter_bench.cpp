// Prints how long the program's own scaling takes for the sizes a slide or photo is drawn at:
// shrinking (box filter) and growing (linear), median of repeated runs, beside a plain copy of
// the destination's bytes as the floor.
#include "pictures/box_filter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

double MedianMs(int sw, int sh, int dw, int dh, int runs, bool copyOnly = false) {
    std::vector<std::uint8_t> src(static_cast<std::size_t>(sw) * sh * 4), dst(static_cast<std::size_t>(dw) * dh * 4);
    for (std::size_t i = 0; i < src.size(); ++i) src[i] = static_cast<std::uint8_t>(i * 7 + (i >> 11));
    const fw::ConstPixelView s{src.data(), sw, sh, sw * 4};
    const fw::PixelView d{dst.data(), dw, dh, dw * 4};
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        if (copyOnly) std::memcpy(dst.data(), src.data(), std::min(src.size(), dst.size()));
        else fw::Resample(s, d);
        const auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::nth_element(ms.begin(), ms.begin() + runs / 2, ms.end());
    return ms[static_cast<std::size_t>(runs / 2)];
}

}  // namespace

int main() {
    struct Case { int sw, sh, dw, dh; } cases[] = {
        {1920, 1080, 1000, 600}, {1920, 1080, 960, 540}, {1920, 1080, 1919, 1079}, {1920, 1080, 1920, 600},
        {1920, 1080, 1000, 1080}, {1920, 1080, 1920, 1080}, {6000, 4000, 1000, 600}, {1920, 1080, 200, 120},
        {1920, 1080, 1017, 613}, {1920, 1080, 2560, 1440}, {1920, 1080, 3840, 2160}, {1600, 1200, 2880, 2160},
        {61, 63, 69, 69},
    };
    for (const Case& c : cases)
        std::printf("scale %5dx%-5d -> %5dx%-5d  %7.2f ms   (copy of the same bytes %6.2f ms)\n", c.sw, c.sh, c.dw, c.dh,
                    MedianMs(c.sw, c.sh, c.dw, c.dh, 15), MedianMs(c.dw, c.dh, c.dw, c.dh, 15, true));
}
