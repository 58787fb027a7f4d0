#include "view/zoom_view.h"

#include <algorithm>
#include <cmath>

namespace {

int Near(double v) { return static_cast<int>(std::lround(v)); }

double Fraction(int v, int from, int size) { return size > 0 ? std::clamp(static_cast<double>(v - from) / size, 0.0, 1.0) : 0.0; }

}  // namespace

SlideRect WholeSlideUnder(const SlideRect& screen, const std::optional<SlideArea>& part) {
    if (!part || part->Width() <= 0 || part->Height() <= 0) return screen;
    const double w = screen.Width() / part->Width(), h = screen.Height() / part->Height();
    const double left = screen.left - part->left * w, top = screen.top - part->top * h;
    return {Near(left), Near(top), Near(left + w), Near(top + h)};
}

std::optional<SlidePoint> ScreenFraction(const SlideRect& screen, int x, int y) {
    if (screen.Width() <= 0 || screen.Height() <= 0) return std::nullopt;
    if (x < screen.left || x >= screen.right || y < screen.top || y >= screen.bottom) return std::nullopt;
    return SlidePoint{(x - screen.left + 0.5) / screen.Width(), (y - screen.top + 0.5) / screen.Height()};
}

SlideArea DraggedArea(const SlideRect& screen, const std::optional<SlideArea>& zoom, int ax, int ay, int bx, int by) {
    const SlidePoint a = SlideAt(zoom, {Fraction(std::min(ax, bx), screen.left, screen.Width()),
                                        Fraction(std::min(ay, by), screen.top, screen.Height())});
    const SlidePoint b = SlideAt(zoom, {Fraction(std::max(ax, bx), screen.left, screen.Width()),
                                        Fraction(std::max(ay, by), screen.top, screen.Height())});
    return {a.x, a.y, b.x, b.y};
}
