// Handout sheets: two framed slides on a page, their margins, the frame pen, which markers
// fit on paper, the copyright line's place and size, and which slides share a sheet.
#pragma once
#include "render/geometry.h"

// The halves of a sheet with clip box F: mid is half the page height, m the margin.
struct SheetLayout {
    int mid;
    int m;
    SlideRect upper;  // pass 0
    SlideRect lower;  // pass 1
};
SheetLayout LayOutSheet(const SlideRect& page);

// The black frame just outside a slide on paper: pen width and the closed outline's corners.
struct SheetFrame {
    int penWidth;
    SlideRect outline;  // the line runs through these corners
};
SheetFrame FrameAround(const SlideRect& slide, int margin);

// On paper a marker is left out when the marker bitmap's own box at (left, top) would cross
// the slide's edge, whatever size the marker is drawn at.
bool MarkerFitsOnPaper(const SlideRect& slide, int left, int top, int bmWidth, int bmHeight);

// The maker's copyright line at the foot of the sheet: a centred top reference point.
struct CopyrightLine {
    int fontHeight;
    int x;
    int y;
};
CopyrightLine PlaceCopyrightLine(const SlideRect& page, int margin);

// Table rows printed on a sheet (numbered from 1); SLIDE_COUNT where there is none.
struct SheetSlides {
    int upper;
    int lower;
};
SheetSlides SlidesOnSheet(int sheet);
// The row numbered one after the given row's print number, or SLIDE_COUNT.
int NextNumberedSlide(int row);
