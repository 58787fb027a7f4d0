// Text and other sizes the program draws, given as they are on a 96-dpi screen, at the DPI of the
// monitor they are drawn on: the one rule every text size goes through, so that a label is as
// large to the eye on a laptop at 150 % as on a projector at 100 %. Pure: no platform headers.
#pragma once

// The DPI at which a size is its own number of pixels.
inline constexpr int kBaseDpi = 96;

// `px96` pixels at 96 dpi, at `dpi` (rounded half up); a DPI not known (0 or less) counts as 96.
constexpr int AtDpi(int px96, int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    const long long scaled = static_cast<long long>(px96) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kBaseDpi / 2) / kBaseDpi : -((-scaled + kBaseDpi / 2) / kBaseDpi));
}
