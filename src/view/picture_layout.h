// Picture mode's letterbox: a photo scaled to fit the window, proportions kept, centred.
#pragma once
#include "view/geometry.h"

struct PictureFit {
    bool fits;       // false: the photo has no size, or the window no width; the slide is drawn instead
    int x, y, w, h;  // where the photo goes; the rest of the window is black
};
PictureFit FitPicture(const SlideRect& window, int bmWidth, int bmHeight);
