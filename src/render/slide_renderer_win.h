// The one slide renderer, for the screen, the printer and the preview: slide row r drawn into
// rectangle R of a DC with its branding and markers; a handout sheet of two such slides; and
// picture mode's photo. It reads no global of the view: what it draws comes in as arguments.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "pictures/picture_data.h"
#include "pictures/picture_request.h"
#include "pictures/sheet_decoder_win.h"
#include "render/geometry.h"

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

// A slide file's decoded pixels; null for a file that is missing or does not decode.
using SlidePixels = std::shared_ptr<const fw::PixelBuffer>;

// Slide `row` stretched over rc, proportions not kept; then its logos; on screen the copyright
// image; then the corner button and one marker per hotspot in table order, later markers over
// earlier ones. A missing or undecodable slide file leaves rc as it was under the rest. On screen
// with kept pictures all of it is one picture, drawn with one copy. On paper the slide file may
// come decoded already.
void DrawSlide(const Canvas& canvas, int row, const SlideRect& rc, const Branding& branding,
               const SlidePixels* decoded = nullptr);

// The screen's picture of slide `row` for rc: its file stretched over rc, with its logos, notice
// and markers composed into it, placed from rc's top-left corner. What DrawSlide draws from kept
// pictures, and what a client asks to have made ahead.
PictureRequest SlideRequest(ScreenPictures& pictures, int row, const SlideRect& rc, const Branding& branding);
// The part of slide `row` that `screen` shows when the whole slide lies at `whole` (larger, around
// it): the file's decoded pixels of that part scaled to the screen, then the logos, notice and
// markers at their places on the whole slide, cut to the screen. Empty when the file is missing
// or does not decode. What a zoomed show draws: the slide's own pixels, never the screen's
// picture enlarged.
fw::PixelBuffer ZoomedSlide(ScreenPictures& pictures, int row, const SlideRect& screen, const SlideRect& whole,
                            const Branding& branding);
// Slide `row`'s file as decoded, unscaled: what a zoom is drawn from.
PictureRequest DecodedSlideRequest(int row);
// The size of slide `row`'s file in pixels, from its decoded pixels; 0 x 0 when it has none.
SIZE SlideFileSize(ScreenPictures& pictures, int row);

// Picture mode's photo letterboxed into the window.
PictureRequest PhotoRequest(const std::wstring& path, const SlideRect& window);

// Picture mode: the window black and the photo fitted inside with its proportions. False, with
// nothing drawn, when the photo does not decode; the slide is then drawn instead.
bool DrawPhoto(const Canvas& canvas, const std::wstring& path, const SlideRect& window);

// Whether handout sheet `sheet` (from 1) has a first slide; a sheet without one is empty.
bool SheetHasSlides(int sheet);
// Handout sheet `sheet` on a page with clip box `page`: the copyright line at its foot, the slides
// numbered 2 x sheet - 1 and 2 x sheet in its halves, each framed. Draws nothing for a sheet
// without slides. With a decoder, its slide files come from it, which decodes the next sheet's
// ahead and keeps the previous one's.
void DrawSheet(HDC dc, int sheet, const SlideRect& page, const Branding& branding, SheetDecoder* decoder = nullptr);
