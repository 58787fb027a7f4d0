// The generated image corpus (tools/imagecorpus, written into the build tree): every file, what
// the size guard answers for it, the size its header claims, and what the decoder behind the
// guard must make of it. Pure: included by the native tests and by the Wine tests alike.
#pragma once
#include "pictures/image_header.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <vector>

namespace imagecorpus {

enum class Decoder : std::uint8_t {
    Decodes,          // a sound file: decoded at its size, to the pixels in <file>.rgba
    NeverSeesIt,      // the guard refuses it, so nothing is decoded
    Fails,            // a sound header but no image after it: nothing is decoded
    PlatformDecides,  // damaged data behind a sound header: decoded at the header's size (to the
                      // pixels of <file>.rgba where the data is whole) or refused; never a crash
};

struct File {
    const char* name;
    fw::ImageVerdict verdict;
    std::uint32_t width, height;  // as the header claims; 0 x 0 where the guard found no size
    Decoder decoder;
};

// Sides of the generated files.
inline constexpr std::uint32_t kPngW = 37, kPngH = 19, kJpegW = 64, kJpegH = 48;

using enum fw::ImageVerdict;
using enum Decoder;

inline constexpr File kFiles[] = {
    // Every legal colour type and bit depth, plain and interlaced.
    {"valid-grey-1.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-1-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-2.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-2-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-4.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-4-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-8.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-8-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-16.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-16-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgb-8.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgb-8-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgb-16.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgb-16-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-palette-1.png", Accept, kPngW, kPngH, Decodes},
    {"valid-palette-1-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-palette-2.png", Accept, kPngW, kPngH, Decodes},
    {"valid-palette-2-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-palette-4.png", Accept, kPngW, kPngH, Decodes},
    {"valid-palette-4-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-palette-8.png", Accept, kPngW, kPngH, Decodes},
    {"valid-palette-8-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-alpha-8.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-alpha-8-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-alpha-16.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-alpha-16-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgba-8.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgba-8-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgba-16.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgba-16-interlaced.png", Accept, kPngW, kPngH, Decodes},
    // Transparency, shapes, and the ways a sound file may be laid out.
    {"valid-palette-8-transparency.png", Accept, kPngW, kPngH, Decodes},
    {"valid-palette-2-transparency-interlaced.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgb-8-1x1.png", Accept, 1, 1, Decodes},
    {"valid-grey-1-1x1-interlaced.png", Accept, 1, 1, Decodes},
    {"valid-rgba-8-3x2-interlaced.png", Accept, 3, 2, Decodes},
    {"valid-rgb-8-300x1.png", Accept, 300, 1, Decodes},
    {"valid-rgb-8-1x300.png", Accept, 1, 300, Decodes},
    {"valid-grey-1-16384x1.png", Accept, 16384, 1, Decodes},
    {"valid-rgb-8-idat-in-1-byte-chunks.png", Accept, kPngW, kPngH, Decodes},
    {"valid-rgb-8-stored-deflate.png", Accept, kPngW, kPngH, Decodes},
    {"valid-grey-8-ancillary-chunks.png", Accept, kPngW, kPngH, Decodes},
    {"png-chunks-after-iend.png", Accept, kPngW, kPngH, Decodes},

    // The signature: each byte wrong, and line ends changed by a text-mode transfer.
    {"png-signature-byte-0.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-signature-byte-1.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-signature-byte-2.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-signature-byte-3.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-signature-byte-4.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-signature-byte-5.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-signature-byte-6.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-signature-byte-7.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-crlf-to-lf.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-lf-to-crlf.png", UnknownFormat, 0, 0, NeverSeesIt},
    // The header chunk: damaged, misplaced, or with fields no PNG may hold.
    {"png-ihdr-bad-crc.png", NoSize, 0, 0, NeverSeesIt},
    {"png-ihdr-length-huge.png", NoSize, 0, 0, NeverSeesIt},
    {"png-ihdr-not-first.png", NoSize, 0, 0, NeverSeesIt},
    {"png-colour-type-1.png", NoSize, 0, 0, NeverSeesIt},
    {"png-colour-type-9.png", NoSize, 0, 0, NeverSeesIt},
    {"png-depth-0.png", NoSize, 0, 0, NeverSeesIt},
    {"png-depth-3.png", NoSize, 0, 0, NeverSeesIt},
    {"png-depth-99.png", NoSize, 0, 0, NeverSeesIt},
    {"png-rgb-depth-1.png", NoSize, 0, 0, NeverSeesIt},
    {"png-rgb-depth-2.png", NoSize, 0, 0, NeverSeesIt},
    {"png-rgb-depth-4.png", NoSize, 0, 0, NeverSeesIt},
    {"png-palette-depth-16.png", NoSize, 0, 0, NeverSeesIt},
    {"png-grey-alpha-depth-1.png", NoSize, 0, 0, NeverSeesIt},
    {"png-grey-alpha-depth-2.png", NoSize, 0, 0, NeverSeesIt},
    {"png-grey-alpha-depth-4.png", NoSize, 0, 0, NeverSeesIt},
    {"png-rgba-depth-1.png", NoSize, 0, 0, NeverSeesIt},
    {"png-rgba-depth-2.png", NoSize, 0, 0, NeverSeesIt},
    {"png-rgba-depth-4.png", NoSize, 0, 0, NeverSeesIt},
    {"png-compression-method-1.png", NoSize, 0, 0, NeverSeesIt},
    {"png-filter-method-1.png", NoSize, 0, 0, NeverSeesIt},
    {"png-interlace-method-2.png", NoSize, 0, 0, NeverSeesIt},
    // Sizes: none, beyond the limits, and a bomb whose scanlines are all there.
    {"png-width-0.png", EmptySize, 0, kPngH, NeverSeesIt},
    {"png-height-0.png", EmptySize, kPngW, 0, NeverSeesIt},
    {"png-width-2pow31.png", TooLarge, 0x80000000u, kPngH, NeverSeesIt},
    {"png-height-2pow31.png", TooLarge, kPngW, 0x80000000u, NeverSeesIt},
    {"png-width-4294967295.png", TooLarge, 0xFFFFFFFFu, kPngH, NeverSeesIt},
    {"png-width-16385.png", TooLarge, 16385, 1, NeverSeesIt},
    {"png-over-64-megapixels.png", TooLarge, 16384, 4097, NeverSeesIt},
    {"png-60000x60000-bomb.png", TooLarge, 60000, 60000, NeverSeesIt},
    // The image data: missing, damaged or cut short behind a sound header.
    {"png-no-idat.png", Accept, kPngW, kPngH, Fails},
    {"png-idat-bad-crc.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-idat-length-huge.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-zlib-bad-header.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-deflate-bad-block-type.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-zlib-bad-adler.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-zlib-stream-short.png", Accept, kPngW, kPngH, PlatformDecides},
    // A palette file with tRNS, a text chunk and three IDAT chunks, cut after and inside each chunk.
    {"png-cut-inside-signature.png", UnknownFormat, 0, 0, NeverSeesIt},
    {"png-cut-after-signature.png", NoSize, 0, 0, NeverSeesIt},
    {"png-cut-inside-ihdr.png", NoSize, 0, 0, NeverSeesIt},
    {"png-cut-after-ihdr.png", Accept, kPngW, kPngH, Fails},
    {"png-cut-inside-plte.png", Accept, kPngW, kPngH, Fails},
    {"png-cut-after-plte.png", Accept, kPngW, kPngH, Fails},
    {"png-cut-inside-trns.png", Accept, kPngW, kPngH, Fails},
    {"png-cut-after-trns.png", Accept, kPngW, kPngH, Fails},
    {"png-cut-inside-text.png", Accept, kPngW, kPngH, Fails},
    {"png-cut-after-text.png", Accept, kPngW, kPngH, Fails},
    {"png-cut-inside-idat-1.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-cut-after-idat-1.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-cut-inside-idat-2.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-cut-after-idat-2.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-cut-inside-idat-3.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-cut-after-idat-3.png", Accept, kPngW, kPngH, PlatformDecides},
    {"png-cut-inside-iend.png", Accept, kPngW, kPngH, PlatformDecides},

    // JPEG files a camera or an editor may write.
    {"valid-baseline.jpg", Accept, kJpegW, kJpegH, Decodes},
    {"valid-progressive.jpg", Accept, kJpegW, kJpegH, Decodes},
    {"valid-grey.jpg", Accept, kJpegW, kJpegH, Decodes},
    {"valid-cmyk.jpg", Accept, kJpegW, kJpegH, Decodes},
    {"valid-restart-markers.jpg", Accept, kJpegW, kJpegH, Decodes},
    {"valid-exif-orientation.jpg", Accept, kJpegW, kJpegH, Decodes},  // the stored pixels, not turned
    {"valid-odd-size.jpg", Accept, 61, 45, Decodes},
    {"jpeg-trailing-garbage.jpg", Accept, kJpegW, kJpegH, Decodes},
    // Broken JPEG files.
    {"jpeg-no-soi.jpg", UnknownFormat, 0, 0, NeverSeesIt},
    {"jpeg-cut-after-soi.jpg", UnknownFormat, 0, 0, NeverSeesIt},  // two bytes: too short to tell
    {"jpeg-cut-inside-sof.jpg", NoSize, 0, 0, NeverSeesIt},
    {"jpeg-no-sof.jpg", NoSize, 0, 0, NeverSeesIt},
    {"jpeg-width-0.jpg", EmptySize, 0, kJpegH, NeverSeesIt},
    {"jpeg-height-0.jpg", EmptySize, kJpegW, 0, NeverSeesIt},
    {"jpeg-width-65500.jpg", TooLarge, 65500, kJpegH, NeverSeesIt},
    {"jpeg-height-65500.jpg", TooLarge, kJpegW, 65500, NeverSeesIt},
    {"jpeg-cut-after-headers.jpg", Accept, kJpegW, kJpegH, PlatformDecides},
    {"jpeg-cut-inside-scan.jpg", Accept, kJpegW, kJpegH, PlatformDecides},
    {"jpeg-no-eoi.jpg", Accept, kJpegW, kJpegH, PlatformDecides},
    {"jpeg-bad-huffman-table.jpg", Accept, kJpegW, kJpegH, PlatformDecides},
};

// What the guard refuses no decoder sees; what must decode, the guard admits.
constexpr bool GuardAndDecoderAgree() {
    for (const File& f : kFiles) {
        if ((f.decoder == NeverSeesIt) != (f.verdict != Accept)) return false;
        if (f.verdict == Accept && (f.width == 0 || f.height == 0)) return false;
    }
    return true;
}
static_assert(GuardAndDecoderAgree());

// Lossy files are compared at the centres of their flat 16 x 16 blocks only.
inline bool IsLossy(std::string_view name) { return name.ends_with(".jpg"); }

// What a file must decode to, from <file>.rgba: straight RGBA, rows from the top.
struct Pixels {
    std::uint32_t width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    const std::uint8_t* At(std::uint32_t x, std::uint32_t y) const { return &rgba[4 * (std::size_t(y) * width + x)]; }
};

// Nothing when the file has no whole image data to compare with.
inline std::optional<Pixels> ReadExpectedPixels(const std::filesystem::path& image) {
    std::ifstream in(std::filesystem::path(image) += ".rgba", std::ios::binary);
    if (!in) return std::nullopt;
    const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 8) return std::nullopt;
    auto le32 = [&](std::size_t i) { return std::uint32_t(b[i]) | std::uint32_t(b[i + 1]) << 8 | std::uint32_t(b[i + 2]) << 16 | std::uint32_t(b[i + 3]) << 24; };
    Pixels p{le32(0), le32(4), std::vector<std::uint8_t>(b.begin() + 8, b.end())};
    if (p.rgba.size() != 4 * std::size_t(p.width) * p.height) return std::nullopt;
    return p;
}

}  // namespace imagecorpus
