// The size guard that runs before any image decoder: the generated image corpus, hand-built
// JPEG marker streams, truncations and garbage.
#include "pictures/image_header.h"

#include "images/image_corpus.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifndef PEMBORO_IMAGE_CORPUS_DIR
#error "PEMBORO_IMAGE_CORPUS_DIR must name the generated image corpus"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;
using fw::ImageFormat;
using fw::ImageVerdict;

const std::filesystem::path kCorpus = PEMBORO_IMAGE_CORPUS_DIR;

Bytes ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fw::ImageHeader Read(const Bytes& b) { return fw::ReadImageHeader(b); }
ImageVerdict Judge(const Bytes& b) { return fw::JudgeImageHeader(fw::ReadImageHeader(b)); }

void AppendBe32(Bytes& b, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}

std::uint32_t PngCrc(const std::uint8_t* p, std::size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return ~c;
}

// Signature and a well-formed IHDR chunk (8-bit RGB) claiming the given size.
Bytes PngHeader(std::uint32_t w, std::uint32_t h) {
    Bytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    AppendBe32(b, 13);
    const std::size_t typeAt = b.size();
    b.insert(b.end(), {'I', 'H', 'D', 'R'});
    AppendBe32(b, w);
    AppendBe32(b, h);
    b.insert(b.end(), {8, 2, 0, 0, 0});
    AppendBe32(b, PngCrc(&b[typeAt], 17));
    return b;
}

// A JPEG marker stream built segment by segment.
struct Jpeg {
    Bytes b = {0xFF, 0xD8};
    Jpeg& Segment(std::uint8_t marker, const Bytes& payload) {
        b.push_back(0xFF);
        b.push_back(marker);
        const std::size_t len = payload.size() + 2;
        b.push_back(static_cast<std::uint8_t>(len >> 8));
        b.push_back(static_cast<std::uint8_t>(len));
        b.insert(b.end(), payload.begin(), payload.end());
        return *this;
    }
    Jpeg& Raw(const Bytes& bytes) {
        b.insert(b.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Jpeg& Frame(std::uint8_t marker, std::uint16_t w, std::uint16_t h, std::uint8_t components = 3) {
        Bytes p = {8, static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h),
                   static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w), components};
        for (std::uint8_t c = 0; c < components; ++c) p.insert(p.end(), {static_cast<std::uint8_t>(c + 1), 0x11, 0});
        return Segment(marker, p);
    }
    Jpeg& App(std::uint8_t n, std::size_t size) { return Segment(static_cast<std::uint8_t>(0xE0 + n), Bytes(size, 0x20)); }
    Jpeg& ScanAndEnd() { return Segment(0xDA, {1, 1, 0, 0, 63, 0}).Raw({0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD9}); }
};

TEST(ImageHeader, TheCorpusHoldsExactlyTheFilesOfTheTable) {
    std::set<std::string> onDisk, inTable;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".png" || entry.path().extension() == ".jpg") onDisk.insert(name);
    }
    for (const imagecorpus::File& f : imagecorpus::kFiles) EXPECT_TRUE(inTable.insert(f.name).second) << f.name;
    EXPECT_EQ(onDisk, inTable);
}

TEST(ImageHeader, EveryValidCorpusFileIsAcceptedWithItsSize) {
    int files = 0;
    for (const imagecorpus::File& f : imagecorpus::kFiles) {
        if (f.decoder != imagecorpus::Decoder::Decodes) continue;
        ++files;
        const fw::ImageHeader h = Read(ReadFile(kCorpus / f.name));
        // The size the generator drew, not only the one the table claims.
        const auto pixels = imagecorpus::ReadExpectedPixels(kCorpus / f.name);
        ASSERT_TRUE(pixels) << f.name;
        EXPECT_EQ(h.format, std::string(f.name).ends_with(".png") ? ImageFormat::Png : ImageFormat::Jpeg) << f.name;
        EXPECT_EQ(h.width, pixels->width) << f.name;
        EXPECT_EQ(h.height, pixels->height) << f.name;
        EXPECT_EQ(fw::JudgeImageHeader(h), ImageVerdict::Accept) << f.name;
    }
    EXPECT_EQ(files, 50);
}

TEST(ImageHeader, BrokenCorpusFilesAreRefusedUnlessOnlyTheirDataIsBroken) {
    for (const imagecorpus::File& f : imagecorpus::kFiles) {
        const Bytes bytes = ReadFile(kCorpus / f.name);
        ASSERT_FALSE(bytes.empty()) << f.name;
        const fw::ImageHeader h = Read(bytes);
        EXPECT_EQ(fw::JudgeImageHeader(h), f.verdict) << f.name;
        EXPECT_EQ(h.sizeKnown, f.width != 0 || f.height != 0 || f.verdict == ImageVerdict::EmptySize) << f.name;
        EXPECT_EQ(h.width, f.width) << f.name;
        EXPECT_EQ(h.height, f.height) << f.name;
    }
}

TEST(ImageHeader, SizeLimitsAdmitSlidesAndPhotosButNotBombs) {
    const struct { std::uint32_t w, h; ImageVerdict verdict; } cases[] = {
        {1920, 1080, ImageVerdict::Accept},     // a slide
        {8688, 5792, ImageVerdict::Accept},     // a 50 MP photo
        {16384, 4096, ImageVerdict::Accept},    // longest side and exactly 64 Mpixel
        {1, 16384, ImageVerdict::Accept},
        {16385, 1, ImageVerdict::TooLarge},
        {1, 16385, ImageVerdict::TooLarge},
        {16384, 4097, ImageVerdict::TooLarge},  // one row over 64 Mpixel
        {60000, 60000, ImageVerdict::TooLarge},
        {0xFFFFFFFFu, 0xFFFFFFFFu, ImageVerdict::TooLarge},
        {0, 1080, ImageVerdict::EmptySize},
        {1920, 0, ImageVerdict::EmptySize},
    };
    for (const auto& c : cases) {
        const fw::ImageHeader h = Read(PngHeader(c.w, c.h));
        EXPECT_EQ(h.width, c.w);
        EXPECT_EQ(h.height, c.h);
        EXPECT_EQ(fw::JudgeImageHeader(h), c.verdict) << c.w << " x " << c.h;
    }
}

TEST(ImageHeader, CraftedPngClaiming60000SquareIsRefused) {
    Bytes b = PngHeader(60000, 60000);
    b.insert(b.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
    const fw::ImageHeader h = Read(b);
    EXPECT_EQ(h.format, ImageFormat::Png);
    EXPECT_TRUE(h.sizeKnown);
    EXPECT_EQ(fw::JudgeImageHeader(h), ImageVerdict::TooLarge);
}

TEST(ImageHeader, JpegSizeComesFromTheFirstFrameHeaderAfterOtherSegments) {
    // An Exif thumbnail carries its own frame header inside APP1; it must be skipped, not read.
    Bytes thumbnail = Jpeg().Frame(0xC0, 160, 120).b;
    thumbnail.insert(thumbnail.begin(), {'E', 'x', 'i', 'f', 0, 0});
    const struct { const char* what; Bytes bytes; std::uint32_t w, h; } cases[] = {
        {"baseline", Jpeg().App(0, 14).Frame(0xC0, 1920, 1080).ScanAndEnd().b, 1920, 1080},
        {"progressive", Jpeg().App(0, 14).Frame(0xC2, 640, 480).ScanAndEnd().b, 640, 480},
        {"extended 12-bit", Jpeg().Frame(0xC1, 33, 17).b, 33, 17},
        {"grey, one component", Jpeg().Frame(0xC0, 7, 5, 1).b, 7, 5},
        {"CMYK, four components", Jpeg().Frame(0xC2, 300, 200, 4).b, 300, 200},
        {"Exif with a thumbnail, ICC, XMP", Jpeg().Segment(0xE1, thumbnail).App(2, 3000).App(1, 65533).Frame(0xC0, 4000, 3000).b, 4000, 3000},
        {"tables, comment, restart interval first", Jpeg().Segment(0xDB, Bytes(65, 1)).Segment(0xC4, Bytes(30, 1)).Segment(0xFE, {'h', 'i'}).Segment(0xDD, {0, 4}).Frame(0xC0, 100, 50).b, 100, 50},
        {"DHT, JPG and DAC are no frame headers", Jpeg().Segment(0xC4, Bytes(6, 9)).Segment(0xC8, Bytes(6, 9)).Segment(0xCC, Bytes(6, 9)).Frame(0xC9, 21, 12).b, 21, 12},
        {"fill bytes before markers", Jpeg().Raw({0xFF, 0xFF, 0xFF}).App(0, 14).Raw({0xFF, 0xFF}).Frame(0xC0, 64, 48).b, 64, 48},
        {"stray bytes before a marker", Jpeg().App(0, 14).Raw({0x00, 0x12, 0x34}).Frame(0xC0, 64, 48).b, 64, 48},
        {"standalone markers", Jpeg().Raw({0xFF, 0x01, 0xFF, 0xD3}).Frame(0xC0, 64, 48).b, 64, 48},
    };
    for (const auto& c : cases) {
        const fw::ImageHeader h = Read(c.bytes);
        EXPECT_EQ(h.format, ImageFormat::Jpeg) << c.what;
        EXPECT_TRUE(h.sizeKnown) << c.what;
        EXPECT_EQ(h.width, c.w) << c.what;
        EXPECT_EQ(h.height, c.h) << c.what;
        EXPECT_EQ(fw::JudgeImageHeader(h), ImageVerdict::Accept) << c.what;
    }
}

TEST(ImageHeader, JpegWithoutAUsableFrameHeaderIsRefused) {
    const struct { const char* what; Bytes bytes; ImageVerdict verdict; } cases[] = {
        {"only SOI", {0xFF, 0xD8, 0xFF}, ImageVerdict::NoSize},
        {"scan before any frame", Jpeg().App(0, 14).ScanAndEnd().Frame(0xC0, 10, 10).b, ImageVerdict::NoSize},
        {"end of image first", Jpeg().Raw({0xFF, 0xD9}).Frame(0xC0, 10, 10).b, ImageVerdict::NoSize},
        {"second SOI", Jpeg().Raw({0xFF, 0xD8}).Frame(0xC0, 10, 10).b, ImageVerdict::NoSize},
        {"segment length 0", Jpeg().Raw({0xFF, 0xE0, 0x00, 0x00}).Frame(0xC0, 10, 10).b, ImageVerdict::NoSize},
        {"segment runs past the end", Jpeg().Raw({0xFF, 0xE1, 0xFF, 0xFF, 1, 2, 3}).b, ImageVerdict::NoSize},
        {"frame length disagrees with components", Jpeg().Segment(0xC0, {8, 0, 10, 0, 10, 3, 1, 0x11, 0}).b, ImageVerdict::NoSize},
        {"frame without components", Jpeg().Segment(0xC0, {8, 0, 10, 0, 10, 0}).b, ImageVerdict::NoSize},
        {"height deferred to a DNL marker", Jpeg().Frame(0xC0, 640, 0).b, ImageVerdict::EmptySize},
        {"fill bytes up to the end", Jpeg().Raw(Bytes(100, 0xFF)).b, ImageVerdict::NoSize},
    };
    for (const auto& c : cases) EXPECT_EQ(Judge(c.bytes), c.verdict) << c.what;
}

TEST(ImageHeader, EveryTruncationOfAHeaderIsSafeAndRefused) {
    const Bytes png = PngHeader(1920, 1080);
    const Bytes jpeg = Jpeg().App(0, 14).Segment(0xE1, Bytes(300, 0xFF)).Raw({0xFF, 0xFF}).Frame(0xC2, 1920, 1080).b;
    for (const Bytes* full : {&png, &jpeg}) {
        ASSERT_EQ(Judge(*full), ImageVerdict::Accept);
        for (std::size_t n = 0; n < full->size(); ++n) {
            // A copy of exactly n bytes, so that ASan sees any read past the prefix.
            const Bytes prefix(full->begin(), full->begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_NE(Judge(prefix), ImageVerdict::Accept) << "prefix of " << n << " bytes";
        }
    }
}

TEST(ImageHeader, TruncatedPngFilesKeepTheirSizeOnceTheHeaderIsIn) {
    const Bytes file = ReadFile(kCorpus / "valid-rgb-8.png");
    ASSERT_GT(file.size(), 100u);
    for (std::size_t n : {0u, 7u, 8u, 16u, 32u, 33u, 100u}) {
        const Bytes prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_EQ(Judge(prefix), n >= 33 ? ImageVerdict::Accept : (n >= 8 ? ImageVerdict::NoSize : ImageVerdict::UnknownFormat))
            << n;
    }
}

TEST(ImageHeader, GarbageIsUnknownOrRefusedWithoutOverreading) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 2000; ++round) {
        Bytes b(rng() % 200);
        for (auto& v : b) v = static_cast<std::uint8_t>(rng());
        if (round % 2 == 1 && b.size() >= 3) {  // marker soup after a JPEG start
            b[0] = 0xFF, b[1] = 0xD8, b[2] = 0xFF;
        }
        const fw::ImageHeader h = Read(b);  // under ASan, any read outside b fails here
        if (round % 2 == 0) {
            EXPECT_EQ(h.format, ImageFormat::Unknown);
        }
    }
    EXPECT_EQ(Judge(Bytes{}), ImageVerdict::UnknownFormat);
    EXPECT_EQ(Judge(Bytes(64, 0)), ImageVerdict::UnknownFormat);
    EXPECT_EQ(Judge(Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}), ImageVerdict::UnknownFormat);
    EXPECT_EQ(Judge(Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0}), ImageVerdict::UnknownFormat);
}

}  // namespace
