// A typed slide number: digits, Backspace, the nearest end for a number out of range, and the
// box in the window's corner.
#include "view/number_box.h"

#include <gtest/gtest.h>

namespace {

TypedNumber Typed(std::initializer_list<int> digits) {
    TypedNumber n;
    for (const int d : digits) n.Append(d);
    return n;
}

TEST(TypedNumber, StandsForASlideOrTheNearestEnd) {
    struct Case {
        std::initializer_list<int> digits;
        int row;
    } const cases[] = {
        {{4, 2}, 41}, {{1}, 0}, {{6, 9}, 68}, {{7, 0}, 68}, {{9, 9}, 68}, {{0}, 0}, {{0, 0, 5}, 4}, {{9, 9, 9, 9}, 68},
    };
    for (const Case& c : cases) EXPECT_EQ(Typed(c.digits).Row(69), c.row);
}

TEST(TypedNumber, TakesThreeDigitsAndGivesThemBackOneByOne) {
    TypedNumber n = Typed({1, 2, 3, 4});
    EXPECT_EQ(n.text(), L"123");
    n.DropLast();
    EXPECT_EQ(n.text(), L"12");
    n.Append(-1);
    n.Append(10);
    EXPECT_EQ(n.text(), L"12");
    n.DropLast();
    n.DropLast();
    EXPECT_TRUE(n.empty());
    n.DropLast();
    EXPECT_TRUE(n.empty());
}

TEST(NumberBox, SitsInTheTopRightCornerInsideTheWindow) {
    for (const SlideRect window : {SlideRect{0, 0, 1920, 1080}, SlideRect{0, 0, 3840, 2160}, SlideRect{0, 0, 200, 100}}) {
        for (const int dpi : {96, 144, 192}) {
            const int h = NumberBoxFontHeight(window.Height(), dpi);
            const SlideRect box = NumberBoxRect(window, 2 * h, h);
            EXPECT_GT(box.left, window.Width() / 2);
            EXPECT_LT(box.bottom, window.Height() / 2);
            EXPECT_GE(box.top, 0);
            EXPECT_LE(box.right, window.right);
            EXPECT_GE(box.Width(), 2 * h);
            // Small: a corner, not the slide.
            EXPECT_LT(box.Width() * box.Height(), window.Width() * window.Height() / 20);
        }
    }
}

// As large to the eye on every monitor: in proportion to the DPI where the window has room.
TEST(NumberBox, DigitsFollowTheDpi) {
    EXPECT_EQ(NumberBoxFontHeight(1080, 96), kNumberBoxTextPx);
    EXPECT_EQ(NumberBoxFontHeight(1080, 144), kNumberBoxTextPx * 3 / 2);
    EXPECT_EQ(NumberBoxFontHeight(2160, 192), kNumberBoxTextPx * 2);
    EXPECT_EQ(NumberBoxFontHeight(1080, 0), kNumberBoxTextPx) << "an unknown DPI counts as 96";
    EXPECT_EQ(NumberBoxFontHeight(200, 192), 25) << "a low window: an eighth of it";
    EXPECT_EQ(NumberBoxFontHeight(20, 96), 8);
}

}  // namespace
