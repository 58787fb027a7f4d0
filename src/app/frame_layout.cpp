#include "app/frame_layout.h"

namespace {
// Seven pixels beyond the frame widths on every side keep the edges off screen.
constexpr int kMargin = 7;

bool IsEmpty(const SlideRect& r) { return !(r.left < r.right && r.top < r.bottom); }
}  // namespace

SlideRect FullScreenRect(int screenW, int screenH, int frameX, int frameY, int caption, int menu) {
    return {-(frameX + kMargin), -(frameY + kMargin + caption + menu), screenW + frameX + kMargin,
            screenH + frameY + kMargin};
}

EraseStrips StripsToErase(const SlideRect& clip, const SlideRect& slide) {
    EraseStrips out{};
    if (slide.right < clip.right) {
        SlideRect r = clip;
        r.left = slide.right;
        if (!IsEmpty(r)) out.rc[out.count++] = r;
    }
    if (slide.bottom < clip.bottom) {
        SlideRect r = clip;
        r.top = slide.bottom;
        if (!IsEmpty(r)) out.rc[out.count++] = r;
    }
    return out;
}
