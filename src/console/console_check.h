// The demo check on the presenter console's first screen: what it says (the summary, then the
// simulator when it is not found and each file that is not there, with its slide), where the
// lines go under the wall clock (the talk keeps them until the speaker's first change of slide).
// Pure.
#pragma once
#include <string>
#include <vector>

#include "console/console_layout.h"

struct DemoCheckReport;

// "Demos: 151 files ready, simulator found"; or the summary, then "Simulator not found: C:\..."
// and "Slide 12: NE555.asc missing" for each file that a click would not open. Hotspots whose
// only fault is the missing simulator are not listed one by one: the simulator's line says it.
std::vector<std::wstring> ConsoleCheckLines(const DemoCheckReport& report);

// The lines under the wall clock of `layout` (made for a client area `h` pixels high), in the
// column of the counter and the clock: each line's box and the text height, and how many lines
// there is room for.
struct CheckLinesLayout {
    SlideRect first;  // the first line's box; each next one lies `pitch` lower
    int pitch;
    int textHeight;
    int fits;         // lines that fit above the bottom margin; 0 when none does
};
CheckLinesLayout LayOutCheckLines(const ConsoleLayout& layout, int h);

// At most `room` lines: when there are more, the last one that fits says how many are left out
// ("and 12 more").
std::vector<std::wstring> FitCheckLines(const std::vector<std::wstring>& lines, int room);
