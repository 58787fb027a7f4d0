// What the view shows over, or instead of, the slide besides the slide itself: which overlay, and
// each overlay's own state. Pure: no platform headers.
#pragma once
#include "view/key_table.h"
#include "view/number_box.h"

struct OverlayState {
    Overlay shown = Overlay::None;
    TypedNumber typed;   // the number box's digits
    bool white = false;  // the blank screen's colour
    int framed = 0;      // the overview's chosen slide
    unsigned thumbnailsPainted = 0;  // the thumbnails' generation the overview's last paint drew
};

// The overlays that take the slide's place: while one is shown the slide's hotspots and the
// corner button neither light up nor react.
inline bool HidesSlide(Overlay o) { return o == Overlay::Blank || o == Overlay::Overview || o == Overlay::Help; }
