// The overlays drawn on a paint's surface: the number box and the key help over the slide, and
// the overview instead of it. Each takes the window's rectangle in the surface's pixels.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "pictures/picture_data.h"
#include "render/geometry.h"

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
// Slide `row`'s thumbnail, of the tile size or another; null for none made yet.
using ThumbnailOf = std::function<std::shared_ptr<const fw::PixelBuffer>(int row)>;
// `count` slides as thumbnails, numbered, `framed` framed; those not made yet as numbered frames.
void DrawOverview(HDC dc, const SlideRect& window, int count, int framed, const ThumbnailOf& thumbnail, int dpi);
