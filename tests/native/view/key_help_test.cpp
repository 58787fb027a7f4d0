// The key help's table at the sizes a window may have, from a small one to 4K, at every DPI: the
// text as large as the DPI makes it where it fits, and the whole table inside the window.
#include "view/key_help.h"

#include <gtest/gtest.h>

#include "framework/dpi.h"

namespace {

// A table about as wide as the real one: its width follows the text height.
int TableWidthAt(int height) { return height * 58; }

TEST(KeyHelp, TheTableFitsEveryWindowWithAMargin) {
    const SlideRect windows[] = {{0, 0, 1920, 1080}, {0, 0, 3840, 2160}, {0, 0, 2560, 1600}, {0, 0, 1366, 768},
                                 {0, 0, 1024, 768},  {0, 0, 640, 360},   {0, 0, 320, 200},   {100, 50, 900, 650},
                                 {0, 0, 1080, 1920}};
    for (const SlideRect& window : windows)
        for (const int dpi : {96, 120, 144, 192, 288}) {
            SCOPED_TRACE(testing::Message() << window.Width() << "x" << window.Height() << " at " << dpi << " dpi");
            const int preferred = AtDpi(kHelpTextPx, dpi);
            const int height = HelpFontHeight(window, kHelpRowCount, preferred, TableWidthAt(preferred));
            EXPECT_LE(height, preferred);
            const int lineH = HelpLineHeight(height);
            const int columns = TableWidthAt(height) - 4 * lineH;
            const HelpPlacement p = PlaceHelp(window, kHelpRowCount, lineH, columns / 2, columns - columns / 2);
            const int margin = HelpMargin(window);
            if (height > kHelpSmallestText) {
                EXPECT_GE(p.box.left, window.left + margin);
                EXPECT_GE(p.box.top, window.top + margin);
                EXPECT_LE(p.box.right, window.right - margin);
                EXPECT_LE(p.box.bottom, window.bottom - margin);
            }
            EXPECT_EQ(p.box.bottom - p.box.top, (kHelpRowCount + 2) * lineH);
        }
}

// Where there is room, the DPI alone sets the size: the same on a 1920x1080 and a 4K window.
TEST(KeyHelp, TextFollowsTheDpiWhereItFits) {
    for (const int dpi : {96, 144, 192}) {
        const int preferred = AtDpi(kHelpTextPx, dpi);
        for (const SlideRect window : {SlideRect{0, 0, 1920, 1080}, SlideRect{0, 0, 3840, 2160}})
            EXPECT_EQ(HelpFontHeight(window, kHelpRowCount, preferred, TableWidthAt(preferred)), preferred) << dpi;
    }
    // Too wide for a narrow window, too tall for a low one: smaller, each way.
    EXPECT_LT(HelpFontHeight({0, 0, 800, 2000}, kHelpRowCount, 32, TableWidthAt(32)), 32);
    EXPECT_LT(HelpFontHeight({0, 0, 3000, 400}, kHelpRowCount, 32, TableWidthAt(32)), 32);
    EXPECT_EQ(HelpFontHeight({0, 0, 10, 10}, kHelpRowCount, 32, TableWidthAt(32)), kHelpSmallestText);
}

}  // namespace
