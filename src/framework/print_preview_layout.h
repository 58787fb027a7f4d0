// Where the print preview puts its pages: the paper of the printer, scaled to fit the window
// or enlarged by the zoom steps, side by side, centred or scrolled.
#pragma once
#include <windows.h>

// A printer's sheet in its own pixels.
struct PaperMetrics {
    SIZE paper;      // the whole sheet
    POINT offset;    // the printable area's top-left corner on the sheet
    SIZE printable;  // HORZRES x VERTRES: the clip box of a printing DC
    SIZE dpi;        // printer pixels per inch
};

// The sheet of `printer` (an information or printer DC); A4 at 300 dpi when there is none.
PaperMetrics PaperOf(HDC printer);
PaperMetrics A4At300Dpi();

inline constexpr int kPreviewZoomSteps = 3;  // 0 = whole pages, 2 = largest
inline constexpr int kPreviewShadow = 3;     // the drop shadow right of and below each sheet

struct PreviewLayout {
    int pages = 0;        // side by side: one or two
    RECT paper[2]{};      // the sheets, in the page area's client coordinates
    RECT printable[2]{};  // what the printer can reach of each sheet: the page drawn there
    SIZE content{};       // the whole drawing with its margins, for the scroll bars
};

// Zoom 0 fits `pages` sheets into `area`; zoom 1 and 2 show one sheet, larger: step 2 is at
// least actual size for a screen of `screenDpi`, and twice the fitted size. A drawing larger
// than the area starts at -scroll; a smaller one is centred.
PreviewLayout LayOutPreview(const PaperMetrics& paper, SIZE area, int pages, int zoom, POINT scroll, int screenDpi);
