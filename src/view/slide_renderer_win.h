// The one slide renderer, for the screen, the printer and the preview: slide row r drawn into
// rectangle R of a DC with its branding and markers; a handout sheet of two such slides; and
// picture mode's photo. It reads no global of the view: what it draws comes in as arguments.
#pragma once
#include <windows.h>

#include <string>

#include "view/geometry.h"

class ScreenPictures;

enum class Medium { Screen, Paper };

// What the renderer draws on. On screen the view's kept pictures are used when it has them;
// on paper (and on screen without them) every picture is decoded or loaded anew and scaled to
// the DC's device pixels.
struct Canvas {
    HDC dc = nullptr;
    Medium medium = Medium::Screen;
    ScreenPictures* pictures = nullptr;
};

// The logo choice of start-up: bottom right (0 = none) and bottom left.
struct Branding {
    int brandLogoId = 0;
    int secondLogoId = 0;
};

// Slide `row` stretched over rc, proportions not kept; then its logos; on screen the copyright
// image; then the corner button and one marker per hotspot in table order, later markers over
// earlier ones. A missing or undecodable slide file leaves rc as it was under the rest.
void DrawSlide(const Canvas& canvas, int row, const SlideRect& rc, const Branding& branding);

// Picture mode: the window black and the photo fitted inside with its proportions. False, with
// nothing drawn, when the photo does not decode; the slide is then drawn instead.
bool DrawPhoto(const Canvas& canvas, const std::wstring& path, const SlideRect& window);

// Whether handout sheet `sheet` (from 1) has a first slide; a sheet without one is empty.
bool SheetHasSlides(int sheet);
// Handout sheet `sheet` on a page with clip box `page`: the copyright line at its foot, the slides
// numbered 2 x sheet - 1 and 2 x sheet in its halves, each framed. Draws nothing for a sheet
// without slides.
void DrawSheet(HDC dc, int sheet, const SlideRect& page, const Branding& branding);
