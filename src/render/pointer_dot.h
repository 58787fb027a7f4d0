// The speaker's pointer on the show: a red dot, soft at its edge, with a thin light rim so that it
// reads on a black slide as on a white one. Its size follows the monitor's DPI. Drawn by blending
// into the pixels under it, so that a dot that moves repaints only where it was and where it is.
// Pure: no platform headers.
#pragma once
#include "pictures/box_filter.h"
#include "render/geometry.h"

// The dot's diameter in pixels on a monitor of `dpi` showing a slide `screenHeight` pixels high:
// 22 at 96 dpi, more at a higher DPI, and never less than a 48th of the height, so that the back
// of the hall sees it on a large projector too.
int DotDiameter(int dpi, int screenHeight);

// The square the dot at (cx, cy) touches, soft edge and rim included.
SlideRect DotBox(int cx, int cy, int diameter);

// Blends the dot centred at (cx, cy) into `pixels`, whose top-left pixel lies at (x, y) in the same
// coordinates; the part outside `pixels` is cut off. Pixels are 32-bit BGRA, opaque.
void BlendDot(const fw::PixelView& pixels, int x, int y, int cx, int cy, int diameter);
