// The pointer's dot: its size on each monitor, and how it is blended into the pixels under it.
#include "render/pointer_dot.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(PointerDot, SizedByTheDpiAndNeverLostOnALargeScreen) {
    struct Case {
        int dpi, height, diameter;
    } const cases[] = {
        {96, 1080, 22}, {144, 1080, 33}, {192, 1080, 44}, {96, 2160, 45}, {192, 2160, 45}, {96, 480, 22}, {96, 0, 22},
    };
    for (const Case& c : cases) EXPECT_EQ(DotDiameter(c.dpi, c.height), c.diameter) << c.dpi << " dpi, " << c.height;
}

struct Patch {
    int w, h;
    std::vector<std::uint8_t> px;
    Patch(int w_, int h_, std::uint8_t grey) : w(w_), h(h_), px(static_cast<size_t>(w_) * h_ * 4, grey) {}
    fw::PixelView View() { return {px.data(), w, h, std::ptrdiff_t{w} * 4}; }
    const std::uint8_t* At(int x, int y) const { return px.data() + (static_cast<size_t>(y) * w + x) * 4; }
};

bool RedAt(const Patch& p, int x, int y) {
    const std::uint8_t* c = p.At(x, y);
    return c[2] > 200 && c[1] < 60 && c[0] < 60;
}

// Red in the middle on a white slide and on a black one, a light rim around it on the black one,
// and nothing outside its box.
TEST(PointerDot, ReadsOnWhiteAndOnBlack) {
    for (const std::uint8_t ground : {std::uint8_t{255}, std::uint8_t{0}}) {
        Patch p(60, 60, ground);
        BlendDot(p.View(), 100, 100, 130, 130, 22);  // the patch's top-left pixel is (100, 100)
        EXPECT_TRUE(RedAt(p, 30, 30)) << int(ground);
        EXPECT_TRUE(RedAt(p, 30 + 7, 30)) << int(ground);
        const SlideRect box = DotBox(130, 130, 22);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                if (x + 100 >= box.left && x + 100 < box.right && y + 100 >= box.top && y + 100 < box.bottom) continue;
                ASSERT_EQ(p.At(x, y)[0], ground) << x << "," << y;
            }
        if (ground == 0) {
            const std::uint8_t* rim = p.At(30 + 10, 30);
            EXPECT_GT(rim[1], 100) << "a light rim on black";
        }
    }
}

// A dot at the edge of the patch (or of the screen) is cut off there, with nothing written past it.
TEST(PointerDot, CutAtThePatchsEdges) {
    Patch p(10, 10, 255);
    BlendDot(p.View(), 0, 0, 0, 9, 22);
    EXPECT_TRUE(RedAt(p, 0, 9));
    BlendDot(p.View(), 0, 0, -500, -500, 22);  // wholly outside: nothing
    EXPECT_EQ(p.At(9, 0)[0], 255);
}

}  // namespace
