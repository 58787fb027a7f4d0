// The one way every bitmap is drawn: stretched over a destination rectangle with halftone
// quality on screen, in memory and on paper.
#pragma once
#include <windows.h>

namespace fw {

// Draws the whole of src onto the rectangle (x, y, w, h), in dst's logical units, ignoring the
// bitmap's proportions. An axis that shrinks in device pixels is area-averaged by the program's
// own box filter (HALFTONE under Wine does not average); an axis that grows is left to
// StretchDIBits in HALFTONE mode (brush origin (0, 0)); stretch mode and brush origin of dst are
// restored. Monochrome and other formats are converted to 32 bits first, so dst's text and
// background colours do not tint them. Only StretchDIBits touches dst, so printer and metafile
// DCs work. A rectangle with no area, or a null or unreadable src, draws nothing. src is read
// with GetDIBits, so it should not be selected into a DC. The pixel copies go to buffers that
// the calling thread keeps for the next call (up to 16 MB each, two of them).
void HalftoneBlit(HDC dst, int x, int y, int w, int h, HBITMAP src);

}  // namespace fw
