// The halftone blit drawn onto memory, window and metafile DCs and read back as pixels.
#include "pictures/halftone_blit.h"
#include "image_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using imgtest::Bgra;
using imgtest::Canvas;
using imgtest::Grey;

const Bgra kRed{0, 0, 255, 255}, kGreen{0, 255, 0, 255}, kBlue{255, 0, 0, 255}, kWhite{255, 255, 255, 255};
const Bgra kFill{0x5A, 0x5A, 0x5A, 0xFF};

bool SameColour(Bgra a, Bgra b) { return a.b == b.b && a.g == b.g && a.r == b.r; }
std::string Show(Bgra p) {
    return "(" + std::to_string(p.r) + "," + std::to_string(p.g) + "," + std::to_string(p.b) + ")";
}

// Every pixel of the rectangle is the same grey of 127 or 128: a halved 1-pixel checkerboard.
void ExpectUniformMidGrey(const Canvas& c, int x0, int y0, int w, int h, const std::string& what) {
    const Bgra first = c.at(x0, y0);
    EXPECT_TRUE(first.r == first.g && first.g == first.b && (first.r == 127 || first.r == 128)) << what << Show(first);
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            ASSERT_TRUE(SameColour(c.at(x, y), first)) << what << " at " << x << "," << y << Show(c.at(x, y));
}

// Nothing outside the rectangle was touched.
void ExpectOnlyInside(const Canvas& c, int x0, int y0, int w, int h) {
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const bool inside = x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
            if (!inside) {
                ASSERT_TRUE(SameColour(c.at(x, y), kFill)) << "outside at " << x << "," << y;
            }
        }
}

TEST(HalftoneBlit, HalvedCheckerboardIsUniformMidGrey) {
    const fw::Bitmap board = imgtest::Checkerboard(128, 96);
    Canvas c(100, 80);
    fw::HalftoneBlit(c.dc(), 10, 5, 64, 48, board.get());
    ExpectUniformMidGrey(c, 10, 5, 64, 48, "halved");
    ExpectOnlyInside(c, 10, 5, 64, 48);
}

TEST(HalftoneBlit, EverySourceLayoutShrinksAlike) {
    // Top-down and bottom-up DIB sections and a device-dependent bitmap.
    const auto pattern = [](int x, int y) { return (x + y) % 2 ? Grey(255) : Grey(0); };
    fw::Bitmap topDown = imgtest::MakeDib(64, 64, pattern);
    fw::Bitmap bottomUp = imgtest::MakeDib(64, 64, pattern, true);
    fw::Bitmap ddb;
    {
        const fw::WindowDc screen(nullptr);
        ddb.reset(::CreateCompatibleBitmap(screen.get(), 64, 64));
        const fw::MemoryDc dc(::CreateCompatibleDC(screen.get()));
        const fw::ScopedSelect sel(dc.get(), ddb.get());
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) ::SetPixelV(dc.get(), x, y, (x + y) % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    }
    for (const auto& [what, bmp] : {std::pair{"top-down", topDown.get()}, std::pair{"bottom-up", bottomUp.get()},
                                    std::pair{"device-dependent", ddb.get()}}) {
        Canvas c(32, 32);
        fw::HalftoneBlit(c.dc(), 0, 0, 32, 32, bmp);
        ExpectUniformMidGrey(c, 0, 0, 32, 32, what);
    }
}

TEST(HalftoneBlit, OneAxisShrinksWhileTheOtherGrows) {
    const fw::Bitmap wide = imgtest::Checkerboard(64, 8);   // halved across, stretched 5 times down
    const fw::Bitmap tall = imgtest::Checkerboard(8, 64);   // stretched 5 times across, halved down
    Canvas c(120, 60);
    fw::HalftoneBlit(c.dc(), 0, 0, 32, 40, wide.get());
    fw::HalftoneBlit(c.dc(), 50, 0, 40, 32, tall.get());
    ExpectUniformMidGrey(c, 0, 0, 32, 40, "wide");
    ExpectUniformMidGrey(c, 50, 0, 40, 32, "tall");
}

TEST(HalftoneBlit, GrowingKeepsTheColoursOfEachArea) {
    // Four 4 x 4 blocks stretched ten times: the middle of each block keeps its colour exactly.
    const fw::Bitmap quads = imgtest::MakeDib(8, 8, [](int x, int y) {
        return y < 4 ? (x < 4 ? kRed : kGreen) : (x < 4 ? kBlue : kWhite);
    });
    Canvas c(100, 100);
    fw::HalftoneBlit(c.dc(), 10, 10, 80, 80, quads.get());
    const struct { int x, y; Bgra want; } probes[] = {
        {30, 30, kRed}, {70, 30, kGreen}, {30, 70, kBlue}, {70, 70, kWhite},
        {12, 12, kRed}, {87, 12, kGreen}, {12, 87, kBlue}, {87, 87, kWhite},
    };
    for (const auto& p : probes) EXPECT_TRUE(SameColour(c.at(p.x, p.y), p.want)) << p.x << "," << p.y << Show(c.at(p.x, p.y));
    ExpectOnlyInside(c, 10, 10, 80, 80);
}

TEST(HalftoneBlit, GrowingIsSmoothWhereThePlatformWouldBeBlocky) {
    // A slide grown for a larger screen, or a small photo: a ramp stays a ramp, and the edges of a
    // checkerboard of 4-pixel squares grown 2.5 times are blended over the pixels they cross
    // instead of jumping by the full contrast from one pixel to the next.
    const fw::Bitmap ramp = imgtest::MakeDib(256, 2, [](int x, int) { return Grey(static_cast<std::uint8_t>(x)); });
    const fw::Bitmap board = imgtest::MakeDib(64, 64, [](int x, int y) { return ((x / 4) + (y / 4)) % 2 ? Grey(255) : Grey(0); });
    Canvas c(1200, 170);
    fw::HalftoneBlit(c.dc(), 0, 0, 1200, 4, ramp.get());
    fw::HalftoneBlit(c.dc(), 0, 10, 160, 160, board.get());
    for (int x = 1; x < 1200; ++x) {
        const int step = c.at(x, 1).g - c.at(x - 1, 1).g;
        ASSERT_TRUE(step >= 0 && step <= 1) << "ramp at " << x << Show(c.at(x - 1, 1)) << Show(c.at(x, 1));
    }
    int blended = 0;
    for (int y = 11; y < 170; ++y)
        for (int x = 1; x < 160; ++x) {
            const int v = c.at(x, y).g;
            ASSERT_LE(std::abs(v - c.at(x - 1, y).g), 128) << "board at " << x << "," << y;
            ASSERT_LE(std::abs(v - c.at(x, y - 1).g), 128) << "board at " << x << "," << y;
            blended += v > 20 && v < 235;
        }
    EXPECT_GT(blended, 160 * 160 / 5);
}

TEST(HalftoneBlit, OneToOneCopiesExactly) {
    const fw::Bitmap src = imgtest::MakeDib(37, 23, [](int x, int y) {
        return Bgra{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11), static_cast<std::uint8_t>(x * y), 255};
    });
    Canvas c(60, 40);
    fw::HalftoneBlit(c.dc(), 3, 4, 37, 23, src.get());
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) {
            const Bgra want{static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11), static_cast<std::uint8_t>(x * y), 255};
            ASSERT_TRUE(SameColour(c.at(x + 3, y + 4), want)) << x << "," << y;
        }
    ExpectOnlyInside(c, 3, 4, 37, 23);
}

// A 1-bit BMP file: left half bits 0, right half bits 1, with a black/white colour table.
std::vector<std::uint8_t> MonochromeBmp(int w, int h) {
    const int stride = ((w + 31) / 32) * 4;
    const std::uint32_t offBits = 14 + 40 + 8, size = offBits + std::uint32_t(stride * h);
    std::vector<std::uint8_t> b;
    auto put16 = [&](std::uint32_t v) { b.push_back(std::uint8_t(v)), b.push_back(std::uint8_t(v >> 8)); };
    auto put32 = [&](std::uint32_t v) { put16(v & 0xFFFF), put16(v >> 16); };
    b.push_back('B'), b.push_back('M'), put32(size), put32(0), put32(offBits);
    put32(40), put32(std::uint32_t(w)), put32(std::uint32_t(h)), put16(1), put16(1), put32(0), put32(0), put32(2835),
        put32(2835), put32(2), put32(0);
    put32(0x000000), put32(0xFFFFFF);
    for (int y = 0; y < h; ++y)
        for (int i = 0; i < stride; ++i) {
            std::uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (i * 8 + bit < w && i * 8 + bit >= w / 2) byte |= std::uint8_t(0x80 >> bit);
            b.push_back(byte);
        }
    return b;
}

TEST(HalftoneBlit, MonochromeBitmapsStayBlackAndWhiteWhateverTheDcColours) {
    // LoadImageW without LR_CREATEDIBSECTION gives the same monochrome DDB as a bitmap resource.
    const imgtest::TempDir dir;
    const std::wstring path = dir.Write(L"mono.bmp", MonochromeBmp(40, 20));
    const fw::Bitmap mono(static_cast<HBITMAP>(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    ASSERT_TRUE(mono);
    BITMAP bm{};
    ::GetObjectW(mono.get(), sizeof(bm), &bm);
    ASSERT_EQ(bm.bmBitsPixel, 1);

    const struct { const char* what; int w, h; } sizes[] = {{"1:1", 40, 20}, {"halved", 20, 10}, {"doubled", 80, 40}};
    for (const auto& s : sizes) {
        Canvas c(100, 50);
        ::SetTextColor(c.dc(), RGB(255, 0, 0));  // would tint a plain BitBlt of a monochrome bitmap
        ::SetBkColor(c.dc(), RGB(0, 0, 255));
        fw::HalftoneBlit(c.dc(), 0, 0, s.w, s.h, mono.get());
        for (int y = 0; y < s.h; ++y) {
            EXPECT_TRUE(SameColour(c.at(1, y), Grey(0))) << s.what << " left " << Show(c.at(1, y));
            EXPECT_TRUE(SameColour(c.at(s.w - 2, y), Grey(255))) << s.what << " right " << Show(c.at(s.w - 2, y));
        }
    }
}

TEST(HalftoneBlit, DrawsNothingWithoutAreaOrSource) {
    const fw::Bitmap board = imgtest::Checkerboard(16, 16);
    Canvas c(40, 40);
    fw::HalftoneBlit(c.dc(), 5, 5, 0, 20, board.get());
    fw::HalftoneBlit(c.dc(), 5, 5, 20, 0, board.get());
    fw::HalftoneBlit(c.dc(), 5, 5, -20, 20, board.get());
    fw::HalftoneBlit(c.dc(), 5, 5, 20, 20, nullptr);
    fw::HalftoneBlit(c.dc(), 5, 5, 20, 20, fw::Bitmap().get());
    fw::HalftoneBlit(nullptr, 5, 5, 20, 20, board.get());
    ExpectOnlyInside(c, 0, 0, 0, 0);
}

TEST(HalftoneBlit, LeavesTheDcsStretchModeAndBrushOriginAsFound) {
    const fw::Bitmap board = imgtest::Checkerboard(16, 16);
    Canvas c(64, 64);
    ::SetStretchBltMode(c.dc(), COLORONCOLOR);
    ::SetBrushOrgEx(c.dc(), 3, 5, nullptr);
    for (const int size : {8, 16, 64}) {  // shrink, 1:1, grow
        fw::HalftoneBlit(c.dc(), 0, 0, size, size, board.get());
        POINT org{};
        ::GetBrushOrgEx(c.dc(), &org);
        EXPECT_EQ(::GetStretchBltMode(c.dc()), COLORONCOLOR) << size;
        EXPECT_EQ(org.x, 3) << size;
        EXPECT_EQ(org.y, 5) << size;
    }
}

TEST(HalftoneBlit, ShrinkingIsJudgedInDevicePixelsUnderAScaledMapping) {
    // 200 logical units are 100 pixels: a 200-pixel checkerboard drawn 200 units wide is halved.
    const fw::Bitmap board = imgtest::Checkerboard(200, 200);
    Canvas c(120, 120);
    ::SetMapMode(c.dc(), MM_ANISOTROPIC);
    ::SetWindowExtEx(c.dc(), 2, 2, nullptr);
    ::SetViewportExtEx(c.dc(), 1, 1, nullptr);
    fw::HalftoneBlit(c.dc(), 20, 20, 200, 200, board.get());
    ExpectUniformMidGrey(c, 10, 10, 100, 100, "scaled mapping");
}

TEST(HalftoneBlit, WorksOnAWindowDc) {
    const HWND wnd = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 150, nullptr,
                                       nullptr, nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    const fw::Bitmap board = imgtest::Checkerboard(160, 100);
    Canvas c(80, 50);
    {
        const fw::WindowDc dc(wnd);
        fw::HalftoneBlit(dc.get(), 10, 20, 80, 50, board.get());
        ::BitBlt(c.dc(), 0, 0, 80, 50, dc.get(), 10, 20, SRCCOPY);
    }
    ::DestroyWindow(wnd);
    ExpectUniformMidGrey(c, 0, 0, 80, 50, "window");
}

TEST(HalftoneBlit, WorksOnAMetafileDcThatCannotBeReadBack) {
    // Recorded like a print job, then played back onto memory.
    const fw::Bitmap board = imgtest::Checkerboard(128, 128);
    const fw::Bitmap quads = imgtest::MakeDib(4, 4, [](int x, int y) { return y < 2 ? (x < 2 ? kRed : kGreen) : kBlue; });
    const HDC rec = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(rec, nullptr);
    fw::HalftoneBlit(rec, 0, 0, 64, 64, board.get());
    fw::HalftoneBlit(rec, 64, 0, 40, 40, quads.get());
    const HENHMETAFILE emf = ::CloseEnhMetaFile(rec);
    ASSERT_NE(emf, nullptr);
    Canvas c(120, 80);
    const RECT frame{0, 0, 104, 64};  // the recorded bounds, so playback is 1:1
    ::PlayEnhMetaFile(c.dc(), emf, &frame);
    ::DeleteEnhMetaFile(emf);
    ExpectUniformMidGrey(c, 0, 0, 64, 64, "metafile");
    EXPECT_TRUE(SameColour(c.at(69, 5), kRed)) << Show(c.at(69, 5));
    EXPECT_TRUE(SameColour(c.at(98, 5), kGreen)) << Show(c.at(98, 5));
    EXPECT_TRUE(SameColour(c.at(84, 35), kBlue)) << Show(c.at(84, 35));
}

}  // namespace
