// Loading slides and photos: every file of the generated image corpus, JPEG variants, and files
// that must come back empty (broken, truncated, garbage, absurd sizes) without a crash or a leak.
#include "pictures/halftone_blit.h"
#include "pictures/image_loader.h"
#include "image_test_support.h"
#include "images/image_corpus.h"
#include "support/win_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

namespace {

using imgtest::Bgra;

using imagecorpus::Decoder;

const std::filesystem::path kCorpus = testing_win::ImageCorpusDir();

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

// Premultiplied, as the loader promises, from the straight pixels the generator drew.
Bgra Premultiplied(const std::uint8_t* rgba) {
    auto times = [&](std::uint8_t c) { return static_cast<std::uint8_t>((c * rgba[3] + 127) / 255); };
    return {times(rgba[2]), times(rgba[1]), times(rgba[0]), rgba[3]};
}

// Every pixel of a lossless file to within rounding (16-bit samples, premultiplication); the
// centre of every flat 16 x 16 block of a lossy one to within what the coding loses.
void ExpectPixelsOf(const Decoded& d, const imagecorpus::Pixels& want, const std::string& name) {
    const bool lossy = imagecorpus::IsLossy(name);
    const std::uint32_t first = lossy ? 8 : 0, step = lossy ? 16 : 1;
    int wrong = 0;
    for (std::uint32_t y = first; y < want.height; y += step)
        for (std::uint32_t x = first; x < want.width; x += step) {
            const Bgra got = d.at(int(x), int(y)), w = Premultiplied(want.At(x, y));
            const int tolerance = lossy ? 12 : 2;
            if (std::abs(got.b - w.b) > tolerance || std::abs(got.g - w.g) > tolerance ||
                std::abs(got.r - w.r) > tolerance || std::abs(got.a - w.a) > tolerance) {
                if (++wrong <= 3) ExpectNear(got, w, tolerance, name + " at " + std::to_string(x) + "," + std::to_string(y));
            }
        }
    EXPECT_EQ(wrong, 0) << name << ": pixels off";
}

TEST_F(ImageLoader, EveryValidCorpusImageDecodesToItsSize) {
    int files = 0;
    for (const imagecorpus::File& f : imagecorpus::kFiles) {
        if (f.decoder != Decoder::Decodes) continue;
        ++files;
        const Decoded d = Load(kCorpus / f.name);
        ExpectTopDownDib(d, int(f.width), int(f.height), f.name);
        if (!d.bitmap) continue;
        for (std::uint32_t y = 0; y < f.height; ++y)  // premultiplied: no colour exceeds its alpha
            for (std::uint32_t x = 0; x < f.width; ++x) {
                const Bgra p = d.at(int(x), int(y));
                ASSERT_TRUE(p.b <= p.a && p.g <= p.a && p.r <= p.a) << f.name << " at " << x << "," << y;
            }
    }
    EXPECT_EQ(files, 50);
}

TEST_F(ImageLoader, CorpusColoursComeOutRightInEveryColourTypeAndDepth) {
    // The pixels the generator drew, read back by an independent decoder when it wrote them.
    for (const imagecorpus::File& f : imagecorpus::kFiles) {
        if (f.decoder != Decoder::Decodes) continue;
        const auto want = imagecorpus::ReadExpectedPixels(kCorpus / f.name);
        ASSERT_TRUE(want) << f.name << " has no pixels to compare with";
        const Decoded d = Load(kCorpus / f.name);
        ASSERT_TRUE(d.bitmap) << f.name;
        ExpectPixelsOf(d, *want, f.name);
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

TEST_F(ImageLoader, BrokenCorpusFilesLoadEmptyOrNotAtAll) {
    for (const imagecorpus::File& f : imagecorpus::kFiles) {
        if (f.decoder == Decoder::Decodes) continue;
        const Decoded d = Load(kCorpus / f.name);
        if (f.decoder != Decoder::PlatformDecides) {
            EXPECT_FALSE(d.bitmap) << f.name;
            continue;
        }
        // Damaged data behind a sound header is the platform decoder's to judge: refused, or
        // decoded at the header's size and, where the data is whole, to the right pixels.
        if (!d.bitmap) continue;
        ExpectTopDownDib(d, int(f.width), int(f.height), f.name);
        if (const auto want = imagecorpus::ReadExpectedPixels(kCorpus / f.name)) ExpectPixelsOf(d, *want, f.name);
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
    const std::wstring mono = (kCorpus / "valid-grey-1.png").wstring();
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
