// The one slide renderer, for the screen, the printer and the preview: slide row r drawn into
// rectangle R of a DC with its branding and markers; a handout sheet of two such slides; and
// picture mode's photo. It reads no global of the view: what it draws comes in as arguments.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "framework/picture_data.h"
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
// earlier ones. A missing or undecodable slide file leaves rc as it was under the rest. On paper
// the slide file may come decoded already.
void DrawSlide(const Canvas& canvas, int row, const SlideRect& rc, const Branding& branding,
               const fw::DecodedFile* decoded = nullptr);

// Picture mode: the window black and the photo fitted inside with its proportions. False, with
// nothing drawn, when the photo does not decode; the slide is then drawn instead.
bool DrawPhoto(const Canvas& canvas, const std::wstring& path, const SlideRect& window);

// The slide files of a handout sheet, decoded ahead: while the printer takes one sheet, the next
// one's slides are decoded on a thread of their own, so a job waits for no decode but its first.
// A file decoded ahead is used only while it is still the same file on disk (its size and times);
// else it is decoded again. The paths are resolved on the calling thread. The owner lets the
// decoder go when its job or preview ends, and with it what was decoded ahead.
class SheetDecoder {
public:
    using Files = std::array<fw::DecodedFile, 2>;  // upper and lower half
    using Decode = std::function<fw::DecodedFile(const std::wstring& path)>;

    // With the platform's decoder, or with `decode` (which runs on the calling thread and on the
    // decoder's own, in the multi-threaded COM apartment there).
    explicit SheetDecoder(Decode decode = {});
    // Does not wait for a decode ahead: its thread ends on its own and its pixels go with it.
    ~SheetDecoder();
    SheetDecoder(const SheetDecoder&) = delete;
    SheetDecoder& operator=(const SheetDecoder&) = delete;

    // The files of `sheet`: those decoded ahead when they were for this sheet and are still the
    // files on disk, else decoded now.
    Files Take(int sheet);
    // Starts decoding the files of `sheet` in the background, unless it has no slides. What was
    // decoded ahead for another sheet is let go.
    void Prefetch(int sheet);
    // Whether files decoded ahead are held (or being decoded).
    bool HoldsAhead() const { return ahead_ != nullptr; }

private:
    struct Ahead;
    Decode decode_;
    int sheet_ = 0;
    std::array<std::wstring, 2> paths_;
    std::shared_ptr<Ahead> ahead_;
};

// Whether handout sheet `sheet` (from 1) has a first slide; a sheet without one is empty.
bool SheetHasSlides(int sheet);
// Handout sheet `sheet` on a page with clip box `page`: the copyright line at its foot, the slides
// numbered 2 x sheet - 1 and 2 x sheet in its halves, each framed. Draws nothing for a sheet
// without slides. With a decoder, its slide files come from it, and the next sheet's are started.
void DrawSheet(HDC dc, int sheet, const SlideRect& page, const Branding& branding, SheetDecoder* decoder = nullptr);
