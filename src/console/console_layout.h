// The presenter console's page: the slide on screen large, the next one beside it, and under that
// the slide's place in the deck, the time since the talk started and the wall clock; the mapping
// of a click on the console's slide to the show's view; and the talk's clock. Pure.
#pragma once
#include <optional>
#include <string>

#include "render/geometry.h"

struct ConsoleLayout {
    SlideRect current;  // the slide on screen, with the show's proportions
    SlideRect next;     // the slide that Page Down brings
    SlideRect counter;  // "12 / 69"
    SlideRect elapsed;  // time since the talk started
    SlideRect left;     // the time left of the talk, beside the time since its start; empty without
    SlideRect clock;    // the wall clock
    int textHeight;     // font height of the counter and the talk's time, pixels
    int clockHeight;    // font height of the wall clock
};

// The console's text heights at 96 dpi; the monitor's DPI scales them (framework/dpi.h).
inline constexpr int kConsoleTextPx = 48;
inline constexpr int kConsoleClockPx = 36;

// The page for a console client area of w x h pixels on a monitor of `dpi`, the slides drawn with
// the show's proportions showW : showH, and room for the time left beside the time since the start
// when the talk has a length (`timeLeft`). The texts are as large as the DPI makes them, smaller
// only where the page has no room for them.
ConsoleLayout LayOutConsole(int w, int h, int showW, int showH, int dpi = 96, bool timeLeft = false);

// The largest rectangle of proportions aw : ah inside box, centred (top-aligned when `top`).
SlideRect FitProportions(const SlideRect& box, int aw, int ah, bool top);

// The place of slide row `row` in the deck of `count` slides: "12 / 69".
std::wstring CounterText(int row, int count);
// Seconds as H:MM:SS; negative counts as 0.
std::wstring ElapsedText(long long seconds);

// A point on the console's slide as the same place on the show's view of showW x showH pixels;
// nothing when the point is off the console's slide.
struct ShowPoint {
    int x, y;
};
std::optional<ShowPoint> ToShowPoint(const SlideRect& consoleSlide, int px, int py, int showW, int showH);

// The row Page Down brings after `row`, or -1 on the last one.
int NextRowAfter(int row, int lastRow);
