// The zoom as the show's window draws it: where the whole slide lies when a part of it fills the
// window, and a point of the window as a point of the slide. Pure: no platform headers.
#pragma once
#include <optional>

#include "render/geometry.h"
#include "talk/talk.h"

// The whole slide when `part` of it fills `screen`: larger than the screen, around it. The screen
// itself without a zoom.
SlideRect WholeSlideUnder(const SlideRect& screen, const std::optional<SlideArea>& part);

// A point of the screen as fractions of the screen; nothing off it.
std::optional<SlidePoint> ScreenFraction(const SlideRect& screen, int x, int y);

// The part of the slide a drag from a to b over the screen covers, through the zoom shown.
SlideArea DraggedArea(const SlideRect& screen, const std::optional<SlideArea>& zoom, int ax, int ay, int bx, int by);
