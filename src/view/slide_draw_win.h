// The drawing steps of a paint, on the surface: decoded images, resource bitmaps, the
// markers and the frame around a slide on paper. Every bitmap goes through the halftone blit.
#pragma once
#include <windows.h>

#include "framework/gdi.h"
#include "view/geometry.h"

struct SlidePage;

// A bitmap resource of this program by numeric id; empty when it cannot be loaded.
fw::Bitmap LoadResourceBitmap(int id);
// The bitmap's pixel size; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);
// The whole bitmap stretched onto (x, y, w, h) with halftone quality. A bitmap too large to
// convert is left out, as an undecodable image is.
void BlitBitmap(HDC dc, int x, int y, int w, int h, HBITMAP bitmap);

// The image file decoded anew and stretched over the whole rectangle, proportions not kept.
// A file that does not decode draws nothing.
void DrawImageFile(HDC dc, const wchar_t* path, const SlideRect& rc);
// Picture mode: the window black, the photo fitted inside with its proportions. Returns false,
// having drawn nothing, when the photo does not decode; the slide is then drawn instead.
bool DrawPicture(HDC dc, const wchar_t* path, const SlideRect& window);
// The corner button and one marker per hotspot, in table order, on the squares that the hit
// tests use. On paper a marker whose bitmap box would cross the slide's edge is left out.
void DrawMarkers(HDC dc, const SlideRect& rc, const SlidePage& slide, bool onPaper);
// The black frame just outside a slide on a handout sheet.
void DrawSheetFrame(HDC dc, const SlideRect& slide, int margin);
