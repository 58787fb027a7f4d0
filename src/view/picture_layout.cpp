#include "view/picture_layout.h"

PictureFit FitPicture(const SlideRect& window, int bmWidth, int bmHeight) {
    const int W = window.Width(), H = window.Height();
    if (bmWidth <= 0 || bmHeight <= 0 || W <= 0 || H < 0) return {false, 0, 0, 0, 0};
    // A window without height shows the photo at no size at all.
    if (H == 0) return {true, window.left, window.top, 0, 0};
    const double ia = static_cast<double>(bmWidth) / static_cast<double>(bmHeight);
    const double wa = static_cast<double>(W) / static_cast<double>(H);
    if (wa > ia) {
        // Wider than the photo: bars left and right.
        const double e = (wa - ia) * static_cast<double>(H);
        return {true, RoundHalfUp(e * 0.5) + window.left, window.top, RoundHalfUp(static_cast<double>(W) - e), H};
    }
    // Taller, or the same shape: bars above and below.
    const double e = (1.0 / wa - 1.0 / ia) * static_cast<double>(W);
    return {true, window.left, RoundHalfUp(e * 0.5) + window.top, W, RoundHalfUp(static_cast<double>(H) - e)};
}
