// The overlays drawn on a paint's surface: the number box and the key help over the slide, and
// the overview instead of it. Each takes the window's rectangle in the surface's pixels.
#pragma once
#include <windows.h>

#include <string>

#include "view/geometry.h"

class Thumbnails;

// The ground of the overview, the frame of the chosen thumbnail, and the face of one not yet made.
inline constexpr COLORREF kOverviewGround = RGB(24, 24, 28);
inline constexpr COLORREF kOverviewFrame = RGB(255, 196, 0);
inline constexpr COLORREF kThumbnailPending = RGB(72, 72, 80);
// The number box's and the help's ground.
inline constexpr COLORREF kOverlayGround = RGB(16, 16, 48);
inline constexpr COLORREF kOverlayText = RGB(255, 255, 255);

// Their texts are sized for the window's monitor of `dpi`.
void DrawNumberBox(HDC dc, const SlideRect& window, const std::wstring& digits, int dpi);
void DrawKeyHelp(HDC dc, const SlideRect& window, int dpi);
// `count` slides as thumbnails, numbered, `framed` framed; those not made yet (all of them
// without thumbnails) as numbered frames.
void DrawOverview(HDC dc, const SlideRect& window, int count, int framed, const Thumbnails* thumbnails, int dpi);
