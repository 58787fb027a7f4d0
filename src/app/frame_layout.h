// Full-screen placement and background strips of the main frame.
#pragma once
#include "view/geometry.h"

// The window rectangle that puts border, caption and menu bar just off a W x H screen.
SlideRect FullScreenRect(int screenW, int screenH, int frameX, int frameY, int caption, int menu);

// The white strips right of and below the slide rectangle, within the clip box;
// an empty strip has count 0. The two overlap in the corner.
struct EraseStrips {
    SlideRect rc[2];
    int count;
};
EraseStrips StripsToErase(const SlideRect& clip, const SlideRect& slide);
