// Area-averaging shrink: what halftone-quality down-scaling promises (no aliasing, exact means,
// constants and 1:1 axes untouched), checked against a plain area-integral model.
#include "pictures/box_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// A top-down 32-bit image with optional padding at the end of each row.
struct Image {
    int w = 0, h = 0;
    std::ptrdiff_t stride = 0;
    std::vector<std::uint8_t> bytes;

    Image(int width, int height, int padBytes = 0)
        : w(width), h(height), stride(width * 4 + padBytes), bytes(static_cast<std::size_t>(stride) * height, 0xCD) {}
    std::uint8_t* px(int x, int y) { return &bytes[static_cast<std::size_t>(y * stride + x * 4)]; }
    const std::uint8_t* px(int x, int y) const { return &bytes[static_cast<std::size_t>(y * stride + x * 4)]; }
    void Set(int x, int y, std::uint8_t b, std::uint8_t g, std::uint8_t r, std::uint8_t a) {
        std::uint8_t* p = px(x, y);
        p[0] = b, p[1] = g, p[2] = r, p[3] = a;
    }
    void Grey(int x, int y, std::uint8_t v) { Set(x, y, v, v, v, v); }
    fw::ConstPixelView view() const { return {bytes.data(), w, h, stride}; }
    fw::PixelView view() { return {bytes.data(), w, h, stride}; }
};

Image Shrink(const Image& src, int dw, int dh) {
    Image dst(dw, dh);
    EXPECT_TRUE(fw::BoxShrink(src.view(), dst.view())) << src.w << "x" << src.h << " -> " << dw << "x" << dh;
    return dst;
}

Image Random(int w, int h, std::mt19937& rng) {
    Image img(w, h, 8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.Set(x, y, rng() & 255, rng() & 255, rng() & 255, rng() & 255);
    return img;
}

// The area-weighted sum of src over destination pixel (x, y), from the overlap of the two pixel
// grids, and the area it is divided by: the definition, computed the slow way.
std::pair<std::int64_t, std::int64_t> ModelSum(const Image& src, int dw, int dh, int x, int y, int c) {
    auto overlap = [](std::int64_t lo, std::int64_t hi, std::int64_t a, std::int64_t b) {
        return std::max<std::int64_t>(0, std::min(hi, b) - std::max(lo, a));
    };
    std::int64_t sum = 0;
    for (int j = y * src.h / dh; j < src.h && j * dh < (y + 1) * src.h; ++j) {
        const std::int64_t wy = overlap(std::int64_t{y} * src.h, std::int64_t{y + 1} * src.h, std::int64_t{j} * dh,
                                        std::int64_t{j + 1} * dh);
        for (int i = x * src.w / dw; i < src.w && i * dw < (x + 1) * src.w; ++i) {
            const std::int64_t wx = overlap(std::int64_t{x} * src.w, std::int64_t{x + 1} * src.w, std::int64_t{i} * dw,
                                            std::int64_t{i + 1} * dw);
            sum += wx * wy * src.px(i, j)[c];
        }
    }
    return {sum, std::int64_t{src.w} * src.h};
}

// That mean rounded half up.
int ModelMean(const Image& src, int dw, int dh, int x, int y, int c) {
    const auto [sum, area] = ModelSum(src, dw, dh, x, y, c);
    return static_cast<int>((sum + area / 2) / area);
}

TEST(BoxShrink, OnePixelCheckerboardHalvedIsUniformMidGrey) {
    for (const auto& [dw, dh] : {std::pair{32, 24}, std::pair{32, 48}, std::pair{64, 24}}) {
        Image src(64, 48);
        for (int y = 0; y < src.h; ++y)
            for (int x = 0; x < src.w; ++x) src.Grey(x, y, (x + y) % 2 ? 255 : 0);
        const Image dst = Shrink(src, dw, dh);
        const std::uint8_t first = dst.px(0, 0)[0];
        EXPECT_TRUE(first == 127 || first == 128) << int(first);
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x)
                for (int c = 0; c < 4; ++c) ASSERT_EQ(dst.px(x, y)[c], first) << x << "," << y << " to " << dw << "x" << dh;
    }
}

TEST(BoxShrink, ConstantImageStaysConstantAtEveryRatio) {
    const struct { int sw, sh, dw, dh; } sizes[] = {
        {1920, 1080, 1000, 600}, {1920, 1080, 1017, 613}, {1920, 1080, 1919, 1079}, {7, 5, 3, 2},
        {100, 1, 37, 1},         {1, 100, 1, 37},         {5, 5, 1, 1},             {300, 200, 299, 131},
    };
    const std::uint8_t colours[][4] = {{0x11, 0xC8, 0xFF, 0x01}, {0, 0, 0, 0}, {255, 255, 255, 255}};
    for (const auto& s : sizes) {
        for (const auto& col : colours) {
            Image src(s.sw, s.sh);
            for (int y = 0; y < s.sh; ++y)
                for (int x = 0; x < s.sw; ++x) src.Set(x, y, col[0], col[1], col[2], col[3]);
            const Image dst = Shrink(src, s.dw, s.dh);
            for (int y = 0; y < s.dh; ++y)
                for (int x = 0; x < s.dw; ++x)
                    for (int c = 0; c < 4; ++c)
                        ASSERT_EQ(dst.px(x, y)[c], col[c]) << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh;
        }
    }
}

TEST(BoxShrink, SmallNonIntegerRatiosGiveTheExactAreaMeans) {
    const struct { const char* what; int sw, sh; std::vector<int> src; int dw, dh; std::vector<int> want; } cases[] = {
        {"3 -> 2", 3, 1, {0, 90, 180}, 2, 1, {30, 150}},
        {"5 -> 2", 5, 1, {10, 20, 30, 40, 50}, 2, 1, {18, 42}},
        {"5 -> 2 vertically", 1, 5, {10, 20, 30, 40, 50}, 1, 2, {18, 42}},
        {"3x3 -> 2x2", 3, 3, {0, 30, 60, 90, 120, 150, 180, 210, 240}, 2, 2, {40, 80, 160, 200}},
        {"a half rounds up", 2, 1, {0, 1}, 1, 1, {1}},
        {"1.5 rounds up", 2, 1, {0, 3}, 1, 1, {2}},
        {"a third rounds down", 3, 1, {0, 0, 1}, 1, 1, {0}},
        {"two thirds round up", 3, 1, {0, 0, 2}, 1, 1, {1}},
    };
    for (const auto& c : cases) {
        Image src(c.sw, c.sh);
        for (int i = 0; i < c.sw * c.sh; ++i) src.Grey(i % c.sw, i / c.sw, static_cast<std::uint8_t>(c.src[i]));
        const Image dst = Shrink(src, c.dw, c.dh);
        for (int i = 0; i < c.dw * c.dh; ++i)
            EXPECT_EQ(dst.px(i % c.dw, i / c.dw)[1], c.want[i]) << c.what << ", pixel " << i;
    }
}

TEST(BoxShrink, ChannelsAreAveragedSeparately) {
    Image src(2, 1);
    src.Set(0, 0, 0, 100, 255, 10);
    src.Set(1, 0, 200, 100, 0, 30);
    const Image dst = Shrink(src, 1, 1);
    EXPECT_EQ(dst.px(0, 0)[0], 100);
    EXPECT_EQ(dst.px(0, 0)[1], 100);
    EXPECT_EQ(dst.px(0, 0)[2], 128);
    EXPECT_EQ(dst.px(0, 0)[3], 20);
}

TEST(BoxShrink, OneToOneIsIdentityWithAnyStride) {
    std::mt19937 rng(7);
    const Image src = Random(37, 11, rng);
    Image dst(37, 11, 12);
    ASSERT_TRUE(fw::BoxShrink(src.view(), dst.view()));
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 37; ++x)
            for (int c = 0; c < 4; ++c) ASSERT_EQ(dst.px(x, y)[c], src.px(x, y)[c]);
}

TEST(BoxShrink, AnAxisThatKeepsItsSizeIsCopiedUnchanged) {
    std::mt19937 rng(8);
    const Image src = Random(23, 9, rng);
    const Image narrower = Shrink(src, 10, 9);  // rows kept: each row is its own horizontal mean
    const Image lower = Shrink(src, 23, 4);     // columns kept
    for (int y = 0; y < 9; ++y) {
        Image row(23, 1);
        for (int x = 0; x < 23; ++x)
            for (int c = 0; c < 4; ++c) row.px(x, 0)[c] = src.px(x, y)[c];
        const Image rowShrunk = Shrink(row, 10, 1);
        for (int x = 0; x < 10; ++x)
            for (int c = 0; c < 4; ++c) ASSERT_EQ(narrower.px(x, y)[c], rowShrunk.px(x, 0)[c]);
    }
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 23; ++x)
            for (int c = 0; c < 4; ++c) ASSERT_EQ(lower.px(x, y)[c], ModelMean(src, 23, 4, x, y, c));
}

TEST(BoxShrink, MatchesTheAreaModelOnRandomImages) {
    std::mt19937 rng(2024);
    for (int round = 0; round < 60; ++round) {
        const int sw = 1 + static_cast<int>(rng() % 70), sh = 1 + static_cast<int>(rng() % 70);
        const int dw = 1 + static_cast<int>(rng() % sw), dh = 1 + static_cast<int>(rng() % sh);
        const Image src = Random(sw, sh, rng);
        const Image dst = Shrink(src, dw, dh);
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x)
                for (int c = 0; c < 4; ++c)
                    ASSERT_EQ(dst.px(x, y)[c], ModelMean(src, dw, dh, x, y, c))
                        << sw << "x" << sh << " -> " << dw << "x" << dh << " at " << x << "," << y;
    }
}

TEST(BoxShrink, HeightsWithFewCommonFactorsStayWithinOneLevelOfTheModel) {
    // 131 -> 130 rows and 1080 -> 613 rows cannot keep exact row sums between the passes.
    std::mt19937 rng(99);
    for (const auto& [sw, sh, dw, dh] : {std::tuple{19, 131, 7, 130}, std::tuple{9, 1080, 4, 613}}) {
        const Image src = Random(sw, sh, rng);
        const Image dst = Shrink(src, dw, dh);
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x)
                for (int c = 0; c < 4; ++c)
                    ASSERT_LE(std::abs(dst.px(x, y)[c] - ModelMean(src, dw, dh, x, y, c)), 1) << x << "," << y;
    }
}

TEST(BoxShrink, RescaledHeightsKeepTheMeanWithinAQuarterPercentOfALevelBeforeRounding) {
    // The float rescaling of the vertical sums adds to the 1/256 of a level that rounding to
    // a step costs: 1 x 23258 -> 1 x 9506 (found by fuzzing) came out 0.50391 off the exact mean.
    std::mt19937 rng(7);
    for (const auto& [sw, sh, dw, dh] : {std::tuple{1, 23258, 1, 9506}, std::tuple{9, 1080, 4, 613},
                                         std::tuple{2, 32768, 1, 32767}}) {
        const Image src = Random(sw, sh, rng);
        const Image dst = Shrink(src, dw, dh);
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x)
                for (int c = 0; c < 4; ++c) {
                    const auto [sum, area] = ModelSum(src, dw, dh, x, y, c);
                    // |out - sum / area| <= 1/2 + 1/250
                    ASSERT_LE(1000 * std::abs(dst.px(x, y)[c] * area - sum), 504 * area)
                        << sw << "x" << sh << " -> " << dw << "x" << dh << " at " << x << "," << y;
                }
    }
}

TEST(BoxShrink, SlideWidthToWindowWidthIsSmooth) {
    // A linear ramp averaged over any window equals the ramp at the window's centre.
    Image src(1920, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 1920; ++x) src.Grey(x, y, static_cast<std::uint8_t>((x * 255 + 959) / 1919));
    const Image dst = Shrink(src, 1000, 1);
    for (int x = 0; x < 1000; ++x) {
        const double centre = (x + 0.5) * 1.92 - 0.5;
        EXPECT_NEAR(dst.px(x, 0)[0], centre * 255.0 / 1919.0, 1.0) << x;
        if (x > 0) {
            EXPECT_GE(dst.px(x, 0)[0], dst.px(x - 1, 0)[0]) << x;
        }
    }
}

TEST(BoxShrink, BottomUpSourceThroughNegativeStride) {
    std::mt19937 rng(3);
    const Image topDown = Random(13, 7, rng);
    Image bottomUp(13, 7, 8);  // rows stored last to first, as in a bottom-up DIB
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x)
            for (int c = 0; c < 4; ++c) bottomUp.px(x, 6 - y)[c] = topDown.px(x, y)[c];
    const fw::ConstPixelView flipped{bottomUp.px(0, 6), 13, 7, -bottomUp.stride};
    Image viaFlip(5, 3);
    ASSERT_TRUE(fw::BoxShrink(flipped, viaFlip.view()));
    const Image direct = Shrink(topDown, 5, 3);
    EXPECT_EQ(viaFlip.bytes, direct.bytes);
}

TEST(BoxShrink, RefusesWhatIsNotAShrinkAndWritesNothing) {
    const Image src(10, 10);
    const struct { int dw, dh; } cases[] = {{11, 10}, {10, 11}, {0, 5}, {5, 0}, {-1, 5}};
    for (const auto& c : cases) {
        Image dst(std::max(c.dw, 1), std::max(c.dh, 1));
        const auto before = dst.bytes;
        fw::PixelView v = dst.view();
        v.width = c.dw, v.height = c.dh;
        EXPECT_FALSE(fw::BoxShrink(src.view(), v)) << c.dw << "x" << c.dh;
        EXPECT_EQ(dst.bytes, before);
    }
    Image dst(1, 1);
    EXPECT_FALSE(fw::BoxShrink(fw::ConstPixelView{src.bytes.data(), fw::kMaxBoxFilterSide + 1, 1, 0}, dst.view()));
    EXPECT_FALSE(fw::BoxShrink(fw::ConstPixelView{}, dst.view()));
}

}  // namespace

// ---- Growing --------------------------------------------------------------------------------

namespace grow {

Image Grow(const Image& src, int dw, int dh) {
    Image dst(dw, dh);
    EXPECT_TRUE(fw::Resample(src.view(), dst.view())) << src.w << "x" << src.h << " -> " << dw << "x" << dh;
    return dst;
}

// Linear interpolation at the destination pixel's centre, the edge repeated: the definition in
// doubles, for one axis.
double Sample(const std::vector<double>& line, int d, int x) {
    const int s = static_cast<int>(line.size());
    const double c = std::clamp((x + 0.5) * s / d - 0.5, 0.0, static_cast<double>(s - 1));
    const int i = std::min(static_cast<int>(c), s - 1), j = std::min(i + 1, s - 1);
    return line[i] + (line[j] - line[i]) * (c - i);
}

}  // namespace grow

TEST(Resample, GrowingInterpolatesLinearlyBetweenPixelCentres) {
    std::mt19937 rng(11);
    const struct { int sw, sh, dw, dh; } cases[] = {
        {7, 5, 14, 10}, {7, 5, 23, 5}, {7, 5, 7, 17}, {3, 3, 100, 64}, {1, 4, 9, 9}, {16, 9, 37, 21}};
    for (const auto& c : cases) {
        const Image src = Random(c.sw, c.sh, rng);
        const Image dst = grow::Grow(src, c.dw, c.dh);
        for (int y = 0; y < c.dh; ++y)
            for (int x = 0; x < c.dw; ++x)
                for (int ch = 0; ch < 4; ++ch) {
                    std::vector<double> column(c.sh);
                    for (int j = 0; j < c.sh; ++j) {
                        std::vector<double> row(c.sw);
                        for (int i = 0; i < c.sw; ++i) row[i] = src.px(i, j)[ch];
                        column[j] = grow::Sample(row, c.dw, x);
                    }
                    ASSERT_NEAR(dst.px(x, y)[ch], grow::Sample(column, c.dh, y), 1.6)
                        << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh << " at " << x << "," << y;
                }
    }
}

TEST(Resample, AGrownGradientStaysSmooth) {
    // A ramp across 256 pixels grown to a 4K width: never a step back, never a jump.
    Image src(256, 1);
    for (int x = 0; x < 256; ++x) src.Grey(x, 0, static_cast<std::uint8_t>(x));
    const Image dst = grow::Grow(src, 3840, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 1; x < 3840; ++x) {
            const int step = dst.px(x, y)[0] - dst.px(x - 1, y)[0];
            ASSERT_GE(step, 0) << x;
            ASSERT_LE(step, 1) << x;
        }
    EXPECT_EQ(dst.px(0, 0)[0], 0);
    EXPECT_EQ(dst.px(3839, 0)[0], 255);
}

TEST(Resample, AGrownCheckerboardHasNoBlockySteps) {
    // Squares of 4 pixels grown 2.5 times: a copy of the nearest pixel would jump by the full
    // contrast within one pixel; interpolation spreads each edge over the pixels it crosses.
    Image src(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) src.Grey(x, y, ((x / 4) + (y / 4)) % 2 ? 255 : 0);
    const Image dst = grow::Grow(src, 160, 160);
    int greys = 0;
    for (int y = 1; y < 160; ++y)
        for (int x = 1; x < 160; ++x) {
            const int v = dst.px(x, y)[0];
            ASSERT_LE(std::abs(v - dst.px(x - 1, y)[0]), 128) << x << "," << y;
            ASSERT_LE(std::abs(v - dst.px(x, y - 1)[0]), 128) << x << "," << y;
            greys += v > 20 && v < 235;
        }
    EXPECT_GT(greys, 160 * 160 / 5) << "every edge is blended";
}

TEST(Resample, ConstantsStayConstantAndAxesMixFreely) {
    const struct { int dw, dh; } cases[] = {{40, 9}, {9, 40}, {200, 120}, {17, 17}, {18, 3}};
    for (const auto& c : cases) {
        Image src(17, 17);
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 17; ++x) src.Set(x, y, 12, 200, 77, 255);
        const Image dst = grow::Grow(src, c.dw, c.dh);
        for (int y = 0; y < c.dh; ++y)
            for (int x = 0; x < c.dw; ++x) {
                const std::uint8_t* p = dst.px(x, y);
                ASSERT_TRUE(p[0] == 12 && p[1] == 200 && p[2] == 77 && p[3] == 255) << c.dw << "x" << c.dh;
            }
    }
}

TEST(Resample, ShrinkingIsTheBoxFilterExactly) {
    std::mt19937 rng(5);
    const Image src = Random(97, 61, rng);
    for (const auto& [dw, dh] : {std::pair{40, 30}, std::pair{97, 20}, std::pair{13, 61}}) {
        Image viaResample(dw, dh), viaShrink(dw, dh);
        ASSERT_TRUE(fw::Resample(src.view(), viaResample.view()));
        ASSERT_TRUE(fw::BoxShrink(src.view(), viaShrink.view()));
        EXPECT_EQ(viaResample.bytes, viaShrink.bytes) << dw << "x" << dh;
    }
}

TEST(Resample, BandsOnSeveralThreadsGiveTheSamePixels) {
    std::mt19937 rng(17);
    const Image src = Random(300, 200, rng);
    for (const auto& [dw, dh] : {std::pair{640, 1200}, std::pair{120, 700}, std::pair{300, 513}}) {
        Image one(dw, dh), three(dw, dh);
        ASSERT_TRUE(fw::Resample(src.view(), one.view(), 1));
        ASSERT_TRUE(fw::Resample(src.view(), three.view(), 3));
        EXPECT_EQ(one.bytes, three.bytes) << dw << "x" << dh;
    }
}
