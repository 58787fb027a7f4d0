#include "render/geometry.h"

#include "deck/deck.h"

// Truncation after adding a half, on purpose: negative offsets round toward zero (R(-9.0) is -8),
// which is where every square of the deck has always been drawn and hit.
int RoundHalfUp(double v) { return static_cast<int>(v + 0.5); }  // NOLINT(bugprone-incorrect-roundings)
int Trunc(double v) { return static_cast<int>(v); }

SquareSize SquareSizeFor(const SlideRect& rc) {
    const double t = static_cast<double>(rc.Width()) * 0.009;
    return {t, RoundHalfUp(t * 2.0)};
}

SquareOffsets HotspotOffsets(const SlideRect& rc, double x, double y) {
    const double t = SquareSizeFor(rc).t;
    return {static_cast<double>(rc.Width()) * x - t, (1.0 - y) * static_cast<double>(rc.Height()) - t};
}

Square HotspotSquare(const SlideRect& rc, double x, double y) {
    const SquareOffsets o = HotspotOffsets(rc, x, y);
    return {rc.left + RoundHalfUp(o.L), rc.top + RoundHalfUp(o.T), SquareSizeFor(rc).s};
}

Square CornerSquare(const SlideRect& rc) {
    const int s = SquareSizeFor(rc).s;
    return {rc.right - s, rc.bottom - s, s};
}

const Hotspot* HotspotAtPoint(const SlideRect& rc, const SlidePage& slide, int px, int py) {
    for (int i = 0; i < slide.nSpots; ++i) {
        const Hotspot& h = slide.pSpots[i];
        if (HotspotSquare(rc, h.x, h.y).Contains(px, py)) return &h;
    }
    return nullptr;
}
