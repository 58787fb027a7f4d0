// Where the branding goes on a slide: the bottom logos, the closing slide's big logos and
// partner logo, and the copyright image, from the slide rectangle and the bitmaps' sizes.
#pragma once
#include "render/geometry.h"

// The logos start-up chose: bottom right (0 for none) and bottom left; every slide drawn shows them.
extern int g_brandLogoId;
extern int g_secondLogoId;

enum class SlideRole { Title, Regular, Closing };
SlideRole RoleOfSlide(int index);

// Where each logo of a slide goes, by its part in the layout.
enum class LogoSlot { BottomLeft, BottomRight, BigLeft, BigRight, Partner };

struct LogoStep {
    int bitmapId;
    LogoSlot slot;
};
// The logos of a slide in drawing order: at most three.
struct LogoPlan {
    LogoStep steps[3];
    int count;
};
// brandLogoId 0 means no logo at the bottom right (and no partner on the closing slide).
LogoPlan PlanLogos(int slideIndex, int brandLogoId, int secondLogoId);

// A destination rectangle as position and size; zero width or height draws nothing.
struct Placement {
    int x, y, w, h;
};
// The rectangle for a bitmap of bmWidth x bmHeight pixels in the given slot of slide R.
Placement PlaceLogo(LogoSlot slot, const SlideRect& slide, int slideIndex, int bmWidth, int bmHeight);

// The closing slide's band: h0 high and centred vertically, the big logos standing on base.
struct ClosingBand {
    int h0;
    int gap;
    int base;
};
ClosingBand ClosingBandFor(const SlideRect& slide);

// The copyright image on screen: a band across the bottom centre, proportions not kept.
Placement PlaceCopyrightImage(const SlideRect& slide);
