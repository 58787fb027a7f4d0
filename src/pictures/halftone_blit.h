// The one way every bitmap is drawn: stretched over a destination rectangle with halftone
// quality on screen, in memory and on paper.
#pragma once
#include <windows.h>

#include "pictures/picture_data.h"

namespace fw {

// Draws the whole of src onto the rectangle (x, y, w, h), in dst's logical units, ignoring the
// picture's proportions. The pixels are first scaled to the rectangle's size in device pixels by
// the program's own filter (Resample: area averaging where an axis shrinks, linear interpolation
// where it grows; HALFTONE under Wine neither averages nor grows fast), then copied 1:1 with
// StretchDIBits, so printer and metafile DCs work. On a printer an axis that grows is left to the
// printer (StretchDIBits in HALFTONE mode, brush origin (0, 0); both restored afterwards). A
// rectangle with no area, or a null src, draws nothing.
void HalftoneBlit(HDC dst, int x, int y, int w, int h, const ConstPixelView& src);

// The same for a bitmap. Monochrome and other formats are converted to 32 bits first, so dst's
// text and background colours do not tint them. src is read with GetDIBits, so it should not be
// selected into a DC. The copy goes to a buffer that the calling thread keeps for the next call
// (up to 16 MB). An unreadable src draws nothing.
void HalftoneBlit(HDC dst, int x, int y, int w, int h, HBITMAP src);

// The bitmap's pixels as 32-bit top-down BGRA; empty when it cannot be read or is larger than
// the image size guard admits.
PixelBuffer ReadBitmapPixels(HBITMAP src);

// Pixels that already have their device size, copied 1:1 with their top-left corner at (x, y):
// the last step of HalftoneBlit, so a picture scaled ahead of time shows the same pixels.
void BlitPixels(HDC dst, int x, int y, const ConstPixelView& src);

}  // namespace fw
