#include "render/picture_rules.h"

#include "deck/deck.h"
#include "launch/target_names.h"
#include "pictures/letterbox.h"

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
    const fw::Letterbox fit = fw::FitLetterbox(window.Width(), window.Height(), bmWidth, bmHeight);
    return {fit.fits, window.left + fit.x, window.top + fit.y, fit.w, fit.h};
}
