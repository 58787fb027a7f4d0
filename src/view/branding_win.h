// The branding overlay drawn on the surface: logos by slide role, the copyright notice as an
// image on screen and as a line of text on paper.
#pragma once
#include <windows.h>

#include "view/geometry.h"

// The logos of slide `slideIndex` in the slide rectangle; a logo that does not load is left out.
void DrawLogos(HDC dc, const SlideRect& slide, int slideIndex, int brandLogoId, int secondLogoId);
// The notice bitmap across the bottom centre of the slide (screen only).
void DrawCopyrightImage(HDC dc, const SlideRect& slide);
// The notice as one dark red line at the foot of a handout sheet with clip box `page`.
void DrawCopyrightLine(HDC dc, const SlideRect& page, int margin);
