// Where a picture goes when it keeps its proportions: scaled to fit a target of W x H pixels and
// centred, with bars on the two sides or above and below. Pure: no platform headers.
#pragma once

namespace fw {

struct Letterbox {
    bool fits;       // false: the picture has no size, or the target no width
    int x, y, w, h;  // the picture's place, from the target's top-left corner
};

// All in double precision, brought to pixels by adding 0.5 and truncating toward zero. A target
// without height takes the picture at no size at all.
Letterbox FitLetterbox(int targetW, int targetH, int pictureW, int pictureH);

}  // namespace fw
