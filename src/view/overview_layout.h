// Where the overview puts its thumbnails: every slide, in deck order, row by row, in a grid that
// fills the window. The thumbnails keep the window's shape, as the slides on screen do; the
// number of columns is the one that makes them largest. Each thumbnail's number stands in a strip
// under it, off the slide's title. Margins and gaps grow with the window, and the frame around the
// chosen thumbnail lies in the gap, so it never covers a neighbour. Pure: no platform headers.
#pragma once
#include "render/geometry.h"

// The numbers' text height at 96 dpi; the monitor's DPI scales it (framework/dpi.h).
inline constexpr int kOverviewNumberPx = 14;

struct OverviewLayout {
    int count = 0;      // thumbnails
    int columns = 0;
    int rows = 0;
    int left = 0;       // the grid's top-left corner in the window
    int top = 0;
    int tileW = 0;      // one thumbnail, without its frame
    int tileH = 0;
    int label = 0;      // the strip under a thumbnail that holds its number
    int labelText = 0;  // the number's text height
    int gap = 0;        // between neighbouring thumbnails
    int frame = 0;      // thickness of the frame around the chosen one

    // Thumbnail i's rectangle (0 is the first slide).
    SlideRect Tile(int i) const;
    // The strip under thumbnail i with its number.
    SlideRect Label(int i) const;
    // Thumbnail i with its number: what a click chooses, what the frame goes round.
    SlideRect Cell(int i) const;
    // The thumbnail whose cell holds the point, or -1 for a gap, a margin or no thumbnail at all.
    int TileAt(int x, int y) const;
};

// The grid for `count` thumbnails in a window of w x h pixels on a monitor of `dpi`. A window too
// small to hold them gets a layout with no thumbnails (count 0).
OverviewLayout LayOutOverview(int w, int h, int count, int dpi = 96);

enum class FrameMove { Left, Right, Up, Down, First, Last };

// The thumbnail the frame moves to from `framed`. Left and right go through the deck, row
// ends included; up and down go one row, and stay where no thumbnail lies that way.
int MoveFrame(const OverviewLayout& layout, int framed, FrameMove move);
