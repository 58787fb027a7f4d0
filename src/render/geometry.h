// The one geometry of hotspot squares and the corner button, shared by the
// markers the paint draws, the hover highlight and both hit tests.
#pragma once

struct SlidePage;
struct Hotspot;

struct SlideRect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// A window rectangle (the platform's RECT, or anything with the same four fields) as a slide
// rectangle.
template <class Rect>
SlideRect ToSlideRect(const Rect& rc) {
    return {rc.left, rc.top, rc.right, rc.bottom};
}

// Add 0.5 and truncate toward zero: R(-9.0) is -8.
int RoundHalfUp(double v);
// Truncate toward zero.
int Trunc(double v);

// Half side t and side s of every square on a slide: from the width alone.
struct SquareSize {
    double t;
    int s;
};
SquareSize SquareSizeFor(const SlideRect& rc);

// Unrounded offsets of a hotspot's square from the slide's top-left corner.
struct SquareOffsets {
    double L, T;
};
SquareOffsets HotspotOffsets(const SlideRect& rc, double x, double y);

// A square's top-left corner and side, in the slide rectangle's coordinates.
struct Square {
    int x, y, side;
    // Both edges count: the square answers to side + 1 pixels each way.
    bool Contains(int px, int py) const { return px >= x && px <= x + side && py >= y && py <= y + side; }
};
Square HotspotSquare(const SlideRect& rc, double x, double y);
Square CornerSquare(const SlideRect& rc);

// The first hotspot of the slide whose square holds the point, or null.
const Hotspot* HotspotAtPoint(const SlideRect& rc, const SlidePage& slide, int px, int py);
