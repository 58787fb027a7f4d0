#include "pictures/letterbox.h"

namespace fw {
namespace {

// Every offset here is positive, so adding a half and truncating rounds to nearest.
int Round(double v) { return static_cast<int>(v + 0.5); }  // NOLINT(bugprone-incorrect-roundings)

}  // namespace

Letterbox FitLetterbox(int W, int H, int pictureW, int pictureH) {
    if (pictureW <= 0 || pictureH <= 0 || W <= 0 || H < 0) return {false, 0, 0, 0, 0};
    if (H == 0) return {true, 0, 0, 0, 0};
    const double ia = static_cast<double>(pictureW) / static_cast<double>(pictureH);
    const double wa = static_cast<double>(W) / static_cast<double>(H);
    if (wa > ia) {
        // Wider than the picture: bars left and right.
        const double e = (wa - ia) * static_cast<double>(H);
        return {true, Round(e * 0.5), 0, Round(static_cast<double>(W) - e), H};
    }
    // Taller, or the same shape: bars above and below.
    const double e = (1.0 / wa - 1.0 / ia) * static_cast<double>(W);
    return {true, 0, Round(e * 0.5), W, Round(static_cast<double>(H) - e)};
}

}  // namespace fw
