#include "render/print_layout.h"

#include "deck/deck.h"

SheetLayout LayOutSheet(const SlideRect& page) {
    const int mid = (page.top + page.bottom) >> 1;
    const int m = mid >> 4;
    SheetLayout out{mid, m, page, page};
    out.upper.left = out.lower.left = page.left + m;
    out.upper.right = out.lower.right = page.right - m;
    out.upper.top = page.top + m;
    out.upper.bottom = page.top + mid - m;
    out.lower.top = page.top + mid;
    // The second margin below the lower half leaves room for the copyright line.
    out.lower.bottom = page.top + 2 * mid - 2 * m;
    return out;
}

SheetFrame FrameAround(const SlideRect& slide, int margin) {
    int pw = margin >> 4;
    if (pw < 2) pw = 2;
    const int half = pw >> 1;
    return {pw, {slide.left - half, slide.top - half, slide.right + half, slide.bottom + half}};
}

bool MarkerFitsOnPaper(const SlideRect& slide, int left, int top, int bmWidth, int bmHeight) {
    return !(left < slide.left || left + bmWidth > slide.right || top < slide.top || top + bmHeight > slide.bottom);
}

CopyrightLine PlaceCopyrightLine(const SlideRect& page, int margin) {
    return {Trunc(2.0 * static_cast<double>(margin) / 3.0), (page.left + page.right) / 2,
            page.bottom - (margin >> 1) - margin};
}

SheetSlides SlidesOnSheet(int sheet) {
    // Far beyond any sheet count; keeps 2 * sheet - 1 inside int.
    if (sheet < 1 || sheet > SLIDE_COUNT) return {SLIDE_COUNT, SLIDE_COUNT};
    const int upper = FindSlideByNumber(2 * sheet - 1);
    if (upper >= SLIDE_COUNT) return {SLIDE_COUNT, SLIDE_COUNT};
    return {upper, NextNumberedSlide(upper)};
}

int NextNumberedSlide(int row) {
    if (row < 0 || row >= SLIDE_COUNT || g_slideDeck[row].nNumber <= 0) return SLIDE_COUNT;
    return FindSlideByNumber(g_slideDeck[row].nNumber + 1);
}
