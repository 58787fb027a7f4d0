// Picture mode's rules: which hotspots are photos, the neighbouring photo of a slide in either
// direction, and the letterbox a photo is shown in.
#pragma once
#include "render/geometry.h"

struct Hotspot;
struct SlidePage;

// A photo is a target whose text from its last '.' is ".jpg", ASCII letters folded.
bool IsPhotoTarget(const wchar_t* target);

// The nearest photo hotspot before or after `from` in the slide's table order, or null.
// Neither search wraps around, nor looks at files: a photo whose file is missing is still
// the neighbour, and the caller's failure to show it blocks the way past it.
// A `from` that is not one of the slide's hotspots has no neighbours.
const Hotspot* PreviousPhoto(const SlidePage& slide, const Hotspot* from);
const Hotspot* NextPhoto(const SlidePage& slide, const Hotspot* from);

// Picture mode's letterbox: a photo scaled to fit the window, proportions kept, centred.
struct PictureFit {
    bool fits;       // false: the photo has no size, or the window no width; the slide is drawn instead
    int x, y, w, h;  // where the photo goes; the rest of the window is black
};
PictureFit FitPicture(const SlideRect& window, int bmWidth, int bmHeight);
