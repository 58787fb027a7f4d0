// Full-screen placement of the main frame on one monitor among several, the choice of monitors
// for the show and the presenter console, and the background strips of the main frame. Pure.
#pragma once
#include <string>
#include <vector>

#include "render/geometry.h"

// How far the window rectangle reaches beyond the client area on each side, for the frame's
// style, extended style and menu.
struct FrameInsets {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The insets that an adjusted rectangle shows against the client rectangle it was made from.
FrameInsets InsetsBetween(const SlideRect& client, const SlideRect& window);

// The window rectangle whose client area is exactly `monitor`: border, caption and menu bar lie
// just beyond its edges, and no pixel of the client area is off it.
SlideRect FullScreenRect(const SlideRect& monitor, const FrameInsets& insets);

// A window rectangle taken from one monitor onto another: the same place from the monitor's
// top-left corner, made smaller where it would not fit, and pushed back inside.
SlideRect MoveOntoMonitor(const SlideRect& window, const SlideRect& from, const SlideRect& to);

struct MonitorEntry {
    SlideRect rc;
    bool primary = false;
    std::wstring device;  // the system's name for it (\\.\DISPLAY2), which a new arrangement keeps
};

// The monitors in the order the speaker numbers them: the primary one is 1, then the others from
// left to right (from top to bottom where they start at the same left). Indexes into `monitors`.
std::vector<int> MonitorNumbering(const std::vector<MonitorEntry>& monitors);

// The monitor that number names, as an index into `monitors`; a number with no such monitor (0
// among them) names the primary one. -1 only for an empty list.
int MonitorForNumber(const std::vector<MonitorEntry>& monitors, int number);

// Where the presenter console goes while the show is on monitor `show`: the primary one when the
// show is elsewhere, else the first other monitor in the speaker's numbering. -1 with one monitor.
int ConsoleMonitorFor(const std::vector<MonitorEntry>& monitors, int show);

// The monitor named `device`; when it is gone (or no name is given), the one nearest to `was`:
// the one holding most of it, else the one closest to it. -1 only for an empty list.
int FindMonitor(const std::vector<MonitorEntry>& monitors, const std::wstring& device, const SlideRect& was);

// Where S sends the show from monitor `show`: to the presenter console's monitor `console` when
// the console fills one of its own, else to the one a console would take. -1 with one monitor.
int SwapTarget(const std::vector<MonitorEntry>& monitors, int show, int console);

// Where the show and the presenter console go after the monitors changed. `show` is the show's
// monitor now, `showFull` whether the show is full-screen, `console` the monitor the console
// filled before (its own, found again; -1 when it was a window) and `added` the monitors that came
// with the change. A console that had a monitor of its own keeps it. Beside a show in a window (a
// rehearsal) any other console is a window (-1), wherever it is: a projector plugged in then
// never gets it. Beside a full-screen show a console that was a window takes a monitor when there
// is one: a projector (a monitor other than the primary one) plugged in under the show takes the
// show, and the console the show's former screen, as a start with -Monitor2 -Console places them.
// With one monitor the console is a window (-1).
struct RoomPlaces {
    int show;
    int console;
};
RoomPlaces PlacesAfterChange(const std::vector<MonitorEntry>& monitors, int show, bool showFull, int console,
                             const std::vector<int>& added);

// The white strips right of and below the slide rectangle, within the clip box;
// an empty strip has count 0. The two overlap in the corner.
struct EraseStrips {
    SlideRect rc[2];
    int count;
};
EraseStrips StripsToErase(const SlideRect& clip, const SlideRect& slide);
