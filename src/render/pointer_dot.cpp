#include "render/pointer_dot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "framework/dpi.h"

namespace {

constexpr int kDotPxAt96 = 22;
// The dot's colours: a strong red inside a thin near-white rim.
constexpr int kRed[3] = {232, 24, 32};    // R, G, B
constexpr int kRim[3] = {255, 250, 245};
constexpr double kRimShare = 0.16;  // of the radius

std::uint8_t Mix(int under, int over, double alpha) {
    return static_cast<std::uint8_t>(std::lround(under + (over - under) * alpha));
}

}  // namespace

int DotDiameter(int dpi, int screenHeight) { return std::max({8, AtDpi(kDotPxAt96, dpi), screenHeight / 48}); }

SlideRect DotBox(int cx, int cy, int diameter) {
    const int r = diameter / 2 + 2;
    return {cx - r, cy - r, cx + r + 1, cy + r + 1};
}

void BlendDot(const fw::PixelView& pixels, int x, int y, int cx, int cy, int diameter) {
    if (!pixels.data || diameter <= 0) return;
    const SlideRect box = DotBox(cx, cy, diameter);
    const double radius = diameter / 2.0;
    const double inner = radius * (1.0 - kRimShare);
    const int left = std::max(box.left, x), right = std::min(box.right, x + pixels.width);
    const int top = std::max(box.top, y), bottom = std::min(box.bottom, y + pixels.height);
    for (int py = top; py < bottom; ++py) {
        std::uint8_t* row = pixels.data + std::ptrdiff_t{py - y} * pixels.stride;
        for (int px = left; px < right; ++px) {
            // The distance of the pixel's centre from the dot's centre, with a one-pixel soft edge.
            const double d = std::hypot(px + 0.5 - (cx + 0.5), py + 0.5 - (cy + 0.5));
            const double cover = std::clamp(radius + 0.5 - d, 0.0, 1.0);
            if (cover <= 0.0) continue;
            const double red = std::clamp(inner + 0.5 - d, 0.0, 1.0);  // 1 inside, 0 on the rim
            std::uint8_t* p = row + std::ptrdiff_t{px - x} * 4;
            for (int c = 0; c < 3; ++c) {
                const int colour = static_cast<int>(std::lround(kRim[c] + (kRed[c] - kRim[c]) * red));
                p[2 - c] = Mix(p[2 - c], colour, cover);  // BGRA
            }
            p[3] = 255;
        }
    }
}
