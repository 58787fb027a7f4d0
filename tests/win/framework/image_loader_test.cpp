// Loading slides and photos: every PngSuite image, JPEG variants, and files that must come back
// empty (broken, truncated, garbage, absurd sizes) without a crash or a leak.
#include "framework/halftone_blit.h"
#include "framework/image_loader.h"
#include "image_test_support.h"
#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

namespace {

using imgtest::Bgra;

const std::filesystem::path kPngSuite = std::filesystem::path(testing_win::TestDataDir()) / "pngsuite";

// A 1920 x 1080 slide of four flat quadrants, red and blue over black and white, made once
// with the platform's encoders as PNG, JPEG and grey JPEG.
Bgra Quadrants(int x, int y) {
    const Bgra red{0, 0, 255, 255}, blue{255, 0, 0, 255};
    return y < 540 ? (x < 960 ? red : blue) : (x < 960 ? imgtest::Grey(0) : imgtest::Grey(255));
}
Bgra GreyQuadrants(int x, int y) {
    return imgtest::Grey(y < 540 ? (x < 960 ? 200 : 100) : (x < 960 ? 0 : 255));
}

class ImageLoader : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new imgtest::TempDir;
        ASSERT_TRUE(imgtest::EncodeImage(Png(), GUID_ContainerFormatPng, 1920, 1080, Quadrants));
        ASSERT_TRUE(imgtest::EncodeImage(Jpeg(), GUID_ContainerFormatJpeg, 1920, 1080, Quadrants));
        ASSERT_TRUE(imgtest::EncodeImage(GreyJpeg(), GUID_ContainerFormatJpeg, 1920, 1080, GreyQuadrants, true));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::wstring Png() { return dir_->Path(L"slide.png"); }
    static std::wstring Jpeg() { return dir_->Path(L"slide.jpg"); }
    static std::wstring GreyJpeg() { return dir_->Path(L"grey.jpg"); }
    static inline imgtest::TempDir* dir_ = nullptr;
};

struct Decoded {
    fw::Bitmap bitmap;
    DIBSECTION ds{};
    Bgra at(int x, int y) const {
        const auto* row = static_cast<const std::uint8_t*>(ds.dsBm.bmBits) + std::ptrdiff_t(y) * ds.dsBm.bmWidthBytes;
        const std::uint8_t* p = row + x * 4;
        return {p[0], p[1], p[2], p[3]};
    }
};

Decoded Load(const std::filesystem::path& path) {
    Decoded d{fw::LoadImageFile(path.wstring().c_str())};
    if (d.bitmap) ::GetObjectW(d.bitmap.get(), sizeof(d.ds), &d.ds);
    return d;
}

void ExpectNear(Bgra got, Bgra want, int tolerance, const std::string& what) {
    EXPECT_LE(std::abs(got.b - want.b), tolerance) << what << " blue " << int(got.b) << " vs " << int(want.b);
    EXPECT_LE(std::abs(got.g - want.g), tolerance) << what << " green " << int(got.g) << " vs " << int(want.g);
    EXPECT_LE(std::abs(got.r - want.r), tolerance) << what << " red " << int(got.r) << " vs " << int(want.r);
    EXPECT_LE(std::abs(got.a - want.a), tolerance) << what << " alpha " << int(got.a) << " vs " << int(want.a);
}

// A 32-bit DIB section of the given size. (GetObject reports every section's height as
// positive; that its rows run top-down shows in the pixel tests, which read them that way.)
void ExpectTopDownDib(const Decoded& d, int w, int h, const std::string& what) {
    ASSERT_TRUE(d.bitmap) << what;
    EXPECT_EQ(d.ds.dsBm.bmWidth, w) << what;
    EXPECT_EQ(d.ds.dsBm.bmHeight, h) << what;
    EXPECT_EQ(d.ds.dsBm.bmBitsPixel, 32) << what;
    EXPECT_NE(d.ds.dsBm.bmBits, nullptr) << what;
}

TEST_F(ImageLoader, EveryValidPngSuiteImageDecodesToItsSize) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kPngSuite)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png" || name[0] == 'x') continue;
        ++files;
        const Decoded d = Load(entry.path());
        int w = 32, h = 32;  // the suite's own naming: sNN is NN x NN, three odd shapes
        if (name[0] == 's') w = h = std::atoi(name.substr(1, 2).c_str());
        if (name.rfind("cdfn", 0) == 0) w = 8;
        if (name.rfind("cdhn", 0) == 0) h = 8;
        if (name.rfind("cdsn", 0) == 0) w = h = 8;
        ExpectTopDownDib(d, w, h, name);
        if (!d.bitmap) continue;
        for (int y = 0; y < h; ++y)  // premultiplied: no colour exceeds its alpha
            for (int x = 0; x < w; ++x) {
                const Bgra p = d.at(x, y);
                ASSERT_TRUE(p.b <= p.a && p.g <= p.a && p.r <= p.a) << name << " at " << x << "," << y;
            }
    }
    EXPECT_EQ(files, 161);
}

TEST_F(ImageLoader, PngSuiteColoursComeOutRightInEveryColourType) {
    // Reference values from an independent decoder, premultiplied.
    const struct { const char* file; int x, y; Bgra want; } cases[] = {
        {"basn2c16.png", 24, 8, {8, 189, 57, 255}},     // 16-bit RGB
        {"basi2c16.png", 8, 24, {8, 57, 189, 255}},     // the same, interlaced
        {"basn3p04.png", 24, 8, {255, 255, 0, 255}},    // 4-bit palette
        {"basn3p01.png", 8, 24, {34, 255, 238, 255}},   // 1-bit palette
        {"basn4a08.png", 24, 8, {146, 146, 146, 197}},  // grey + alpha
        {"basn6a08.png", 24, 8, {5, 197, 197, 197}},    // RGBA
        {"basi6a08.png", 8, 24, {65, 65, 1, 65}},       // RGBA, interlaced
        {"bgan6a16.png", 24, 8, {7, 108, 0, 115}},      // 16-bit RGBA
        {"s37n3p04.png", 27, 9, {255, 0, 119, 255}},    // odd size
        {"oi9n2c16.png", 8, 24, {8, 57, 189, 255}},     // IDAT split into 1-byte chunks
        {"z09n2c08.png", 24, 8, {8, 189, 58, 255}},     // maximum compression
        {"cdfn2c08.png", 6, 8, {0, 187, 255, 255}},     // 8 x 32
        {"basi0g08.png", 24, 8, {230, 230, 230, 255}},  // 8-bit grey, interlaced
    };
    for (const auto& c : cases) {
        const Decoded d = Load(kPngSuite / c.file);
        ASSERT_TRUE(d.bitmap) << c.file;
        ExpectNear(d.at(c.x, c.y), c.want, 2, c.file);
    }
}

TEST_F(ImageLoader, PngAndJpegSlidesDecodeWithTheirColours) {
    const struct { const char* what; std::wstring path; int tolerance; bool grey; } cases[] = {
        {"PNG", Png(), 0, false}, {"JPEG", Jpeg(), 12, false}, {"grey JPEG", GreyJpeg(), 12, true}};
    for (const auto& c : cases) {
        const Decoded d = Load(c.path);
        ExpectTopDownDib(d, 1920, 1080, c.what);
        if (!d.bitmap) continue;
        const auto want = c.grey ? GreyQuadrants : Quadrants;
        for (const auto& [x, y] : {std::pair{480, 270}, std::pair{1440, 270}, std::pair{480, 810}, std::pair{1440, 810}})
            ExpectNear(d.at(x, y), want(x, y), c.tolerance, std::string(c.what) + " at " + std::to_string(x) + "," + std::to_string(y));
    }
}

TEST_F(ImageLoader, BrokenPngSuiteFilesLoadEmptyOrNotAtAll) {
    for (const auto& entry : std::filesystem::directory_iterator(kPngSuite)) {
        const std::string name = entry.path().filename().string();
        if (name[0] != 'x') continue;
        const Decoded d = Load(entry.path());
        // xcsn (bad IDAT CRC) and xdtn (no IDAT) have sound headers: the decoder decides, without crashing.
        if (name.rfind("xcsn", 0) == 0 || name.rfind("xdtn", 0) == 0) {
            if (d.bitmap) ExpectTopDownDib(d, 32, 32, name);
        } else {
            EXPECT_FALSE(d.bitmap) << name;
        }
    }
}

std::vector<std::uint8_t> PngHeaderClaiming(std::uint32_t w, std::uint32_t h) {
    std::vector<std::uint8_t> b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {w, h})
        for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
    b.insert(b.end(), {8, 2, 0, 0, 0});
    std::uint32_t c = 0xFFFFFFFFu;  // IHDR CRC over type and data
    for (std::size_t i = 12; i < b.size(); ++i) {
        c ^= b[i];
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    c = ~c;
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(c >> s));
    return b;
}

TEST_F(ImageLoader, UnusableFilesGiveAnEmptyBitmap) {
    const imgtest::TempDir dir(L"unusable");
    const auto png = imgtest::ReadBytes(Png());
    const auto jpeg = imgtest::ReadBytes(Jpeg());
    ASSERT_GT(png.size(), 1000u);
    ASSERT_GT(jpeg.size(), 1000u);
    auto prefix = [](const std::vector<std::uint8_t>& b, std::size_t n) {
        return std::vector<std::uint8_t>(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n));
    };
    std::mt19937 rng(5);
    std::vector<std::uint8_t> garbage(50000);
    for (auto& v : garbage) v = static_cast<std::uint8_t>(rng());
    std::vector<std::uint8_t> pngGarbage = prefix(png, 33);  // sound header, noise for data
    pngGarbage.insert(pngGarbage.end(), garbage.begin(), garbage.end());

    // The image data ends 200 bytes early.
    const auto idat = std::search(png.begin(), png.end(), std::begin("IDAT"), std::end("IDAT") - 1);
    ASSERT_NE(idat, png.end());
    const std::size_t idatLength = std::size_t(idat[-4]) << 24 | std::size_t(idat[-3]) << 16 | std::size_t(idat[-2]) << 8 | idat[-1];
    const std::size_t idatEnd = std::size_t(idat - png.begin()) + 4 + idatLength + 4;

    auto bomb = PngHeaderClaiming(60000, 60000);
    bomb.insert(bomb.end(), png.begin() + 33, png.end());  // real chunks after an absurd header
    const struct { const wchar_t* name; std::vector<std::uint8_t> bytes; } cases[] = {
        {L"empty.png", {}},
        {L"garbage.png", garbage},
        {L"garbage-after-header.png", pngGarbage},
        {L"signature-only.png", prefix(png, 8)},
        {L"header-only.png", prefix(png, 33)},
        {L"half.png", prefix(png, png.size() / 2)},
        {L"image-data-cut.png", prefix(png, idatEnd - 200)},
        {L"60000x60000.png", bomb},
        {L"60000x60000-header.png", PngHeaderClaiming(60000, 60000)},
        {L"zero-width.png", PngHeaderClaiming(0, 1080)},
        {L"before-frame.jpg", prefix(jpeg, 20)},
        {L"text.jpg", {'h', 'e', 'l', 'l', 'o'}},
    };
    for (const auto& c : cases) {
        const std::wstring path = dir.Write(c.name, c.bytes);
        EXPECT_FALSE(fw::LoadImageFile(path.c_str())) << std::string(c.name, c.name + wcslen(c.name));
    }
    EXPECT_FALSE(fw::LoadImageFile(dir.Path(L"missing.png").c_str()));
    EXPECT_FALSE(fw::LoadImageFile(dir.Path(L"").c_str()));  // the folder itself
    EXPECT_FALSE(fw::LoadImageFile(L""));
    EXPECT_FALSE(fw::LoadImageFile(nullptr));
}

TEST_F(ImageLoader, TruncatedJpegDecodesPartlyOrNotAtAll) {
    // JPEG decoders fill a missing tail with grey; either that or an empty bitmap is fine.
    const imgtest::TempDir dir(L"truncated");
    const auto jpeg = imgtest::ReadBytes(Jpeg());
    for (std::size_t n : {jpeg.size() / 8, jpeg.size() / 2, jpeg.size() - 2}) {
        const std::wstring path = dir.Write(L"cut.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(n)));
        const Decoded d = Load(path);
        if (d.bitmap) ExpectTopDownDib(d, 1920, 1080, "cut at " + std::to_string(n));
    }
}

TEST_F(ImageLoader, RepeatedLoadsAndDrawsLeakNoGdiObjects) {
    const imgtest::TempDir dir(L"leak");
    const std::wstring broken = dir.Write(L"broken.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 1, 2, 3});
    const std::wstring slide = Png();
    const std::wstring photo = Jpeg();
    const std::wstring mono = (kPngSuite / "basn0g01.png").wstring();
    imgtest::Canvas canvas(300, 200);
    auto once = [&](int i) {
        const std::wstring& path = i % 4 == 0 ? slide : i % 4 == 1 ? photo : i % 4 == 2 ? mono : broken;
        const fw::Bitmap bmp = fw::LoadImageFile(path.c_str());
        fw::HalftoneBlit(canvas.dc(), 0, 0, i % 2 ? 300 : 20, i % 2 ? 200 : 20, bmp.get());
    };
    for (int i = 0; i < 4; ++i) once(i);  // warm-up: codec and font caches
    const int before = testing_win::CountGdiObjects();
    for (int i = 0; i < 200; ++i) once(i);
    EXPECT_EQ(testing_win::CountGdiObjects(), before);
}

}  // namespace
