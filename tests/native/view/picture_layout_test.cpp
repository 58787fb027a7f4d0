// Picture mode's letterbox in a 1000 x 600 window.
#include "view/picture_layout.h"

#include <gtest/gtest.h>

namespace {

TEST(FitPicture, FourShapesInA1000x600Window) {
    const SlideRect window{0, 0, 1000, 600};
    struct Case {
        int bmW, bmH;
        int x, y, w, h;
    } const cases[] = {
        {800, 600, 100, 0, 800, 600},    // narrower: bars left and right
        {600, 800, 275, 0, 450, 600},
        {1600, 600, 0, 112, 1000, 375},  // wider: bars above and below
        {1000, 600, 0, 0, 1000, 600},    // the same shape fills the window
    };
    for (const Case& c : cases) {
        const PictureFit fit = FitPicture(window, c.bmW, c.bmH);
        EXPECT_TRUE(fit.fits);
        EXPECT_EQ(fit.x, c.x) << c.bmW << "x" << c.bmH;
        EXPECT_EQ(fit.y, c.y) << c.bmW << "x" << c.bmH;
        EXPECT_EQ(fit.w, c.w) << c.bmW << "x" << c.bmH;
        EXPECT_EQ(fit.h, c.h) << c.bmW << "x" << c.bmH;
    }
}

TEST(FitPicture, OffsetWindowAndNothingToFit) {
    const PictureFit offset = FitPicture(SlideRect{10, 20, 1010, 620}, 800, 600);
    EXPECT_EQ(offset.x, 110);
    EXPECT_EQ(offset.y, 20);
    // A photo that did not decode, or a window of no width: the slide is drawn instead.
    EXPECT_FALSE(FitPicture(SlideRect{0, 0, 1000, 600}, 0, 0).fits);
    EXPECT_FALSE(FitPicture(SlideRect{0, 0, 0, 600}, 800, 600).fits);
    // No height: picture mode holds, and the photo has no area.
    const PictureFit flat = FitPicture(SlideRect{0, 0, 1000, 0}, 800, 600);
    EXPECT_TRUE(flat.fits);
    EXPECT_EQ(flat.h, 0);
}

}  // namespace
