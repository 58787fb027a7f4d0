// What a mouse move does to the hover highlight, where the highlight's label goes, and the wall
// clock that times the pause after a click: whole seconds since 1970-01-01 00:00 UTC plus the
// milliseconds.
#pragma once
#include <string>

#include "render/geometry.h"

struct Hotspot;

// A click on a target pauses hover feedback for this long, in seconds.
inline constexpr double kHoverPauseAfterClick = 1.0;

// Whether hover feedback is still held back by the click at `clickTime` (both wall-clock
// seconds). Only strictly more than the pause frees it; a clock set back keeps it held.
bool HoverPausedAfterClick(double now, double clickTime);

struct HoverInput {
    unsigned flags;            // the move's MK_ button and key flags
    bool pictureMode;          // a photo is shown
    double now;                // wall clock at the move
    double clickTime;          // wall clock of the last activating click
    const Hotspot* hit;        // the first hotspot under the pointer
    bool onCorner;             // the pointer is on the corner button
    const Hotspot* shownSpot;  // the hotspot highlighted now; null for none or the corner
};

enum class HoverDraw { Nothing, Hotspot, Corner };

// clearFirst: remove the current highlight (a repaint when one is shown) before drawing.
struct HoverStep {
    bool clearFirst;
    HoverDraw draw;
};

// Hotspots win over the corner button. Drawing the same hotspot or the corner again needs
// no repaint; any other change does.
HoverStep DecideHover(const HoverInput& in);

// The pointer position the hover timer still counts as over the slide: every edge inclusive,
// so one pixel past the last column or row is inside.
bool InsideSlideInclusive(const SlideRect& rc, int x, int y);

// The label is the target without a leading '!'.
const wchar_t* HoverLabelText(const wchar_t* target);
// The label with what is wrong with the file, if anything: "NE555.asc (missing)". `note` is
// null for a file that is there.
std::wstring HoverLabelFor(const wchar_t* target, const wchar_t* note);

// Where the label is written: its bottom centre, on the top edge of the square, and the
// height of its font. L and T are the square's unrounded offsets, s its side.
struct HoverLabelPlacement {
    int x, y;
    int fontHeight;
};
HoverLabelPlacement PlaceHoverLabel(int s, double L, double T);

// Whole seconds plus milliseconds as one value: seconds + ms x 0.001.
double WallClockSeconds(long long seconds, unsigned milliseconds);

// Reads the clock. Tests replace the function to step time by hand; null restores the system's.
using WallClockFn = double (*)();
double WallClockNow();
void SetWallClock(WallClockFn clock);
