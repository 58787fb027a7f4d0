#include "view/picture_rules.h"

#include "deck/deck.h"
#include "launch/target_names.h"

namespace {

// Position of `h` in the slide's hotspot list, or -1. Compared one element at a time, as
// pointers into different arrays cannot be ordered portably.
int IndexOf(const SlidePage& slide, const Hotspot* h) {
    if (!h || !slide.pSpots) return -1;
    for (int i = 0; i < slide.nSpots; ++i) {
        if (&slide.pSpots[i] == h) return i;
    }
    return -1;
}

const Hotspot* Step(const SlidePage& slide, const Hotspot* from, int direction) {
    const int start = IndexOf(slide, from);
    if (start < 0) return nullptr;
    for (int i = start + direction; i >= 0 && i < slide.nSpots; i += direction) {
        if (IsPhotoTarget(slide.pSpots[i].pszTarget)) return &slide.pSpots[i];
    }
    return nullptr;
}

}  // namespace

bool IsPhotoTarget(const wchar_t* target) { return target && HasExtension(target, L".jpg"); }

const Hotspot* PreviousPhoto(const SlidePage& slide, const Hotspot* from) { return Step(slide, from, -1); }

const Hotspot* NextPhoto(const SlidePage& slide, const Hotspot* from) { return Step(slide, from, +1); }

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
