#include "pictures/image_header.h"

#include <algorithm>
#include <array>

namespace fw {
namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t ReadBe32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::uint32_t ReadBe16(const std::uint8_t* p) { return (std::uint32_t{p[0]} << 8) | p[1]; }

// The PNG chunk CRC (ISO 3309). Only the 17 bytes of IHDR are checked, so no table.
std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c ^ 0xFFFFFFFFu;
}

bool IsValidPngDepth(std::uint8_t colourType, std::uint8_t depth) {
    switch (colourType) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;  // grey
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;                 // palette
    case 2: case 4: case 6: return depth == 8 || depth == 16;  // RGB, grey+alpha, RGBA
    default: return false;
    }
}

// Signature (8) + IHDR chunk: length (4), type (4), data (13), CRC (4).
void ReadPngHeader(std::span<const std::uint8_t> b, ImageHeader& h) {
    constexpr std::size_t kIhdrEnd = 8 + 4 + 4 + 13 + 4;
    if (b.size() < kIhdrEnd) return;
    const std::uint8_t* chunk = b.data() + 8;
    if (ReadBe32(chunk) != 13) return;
    if (chunk[4] != 'I' || chunk[5] != 'H' || chunk[6] != 'D' || chunk[7] != 'R') return;
    const std::uint8_t* data = chunk + 8;
    const std::uint8_t depth = data[8], colourType = data[9];
    const std::uint8_t compression = data[10], filter = data[11], interlace = data[12];
    if (!IsValidPngDepth(colourType, depth) || compression != 0 || filter != 0 || interlace > 1) return;
    if (Crc32(chunk + 4, 4 + 13) != ReadBe32(data + 13)) return;
    h.width = ReadBe32(data);
    h.height = ReadBe32(data + 4);
    h.sizeKnown = true;
}

// Frame headers: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
bool IsStartOfFrame(std::uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

// Walks the marker stream the way a baseline decoder does until the first frame header.
void ReadJpegHeader(std::span<const std::uint8_t> b, ImageHeader& h) {
    const std::size_t n = b.size();
    std::size_t pos = 2;  // after SOI
    for (;;) {
        // Decoders skip stray bytes before a marker (with a warning); so do we.
        while (pos < n && b[pos] != 0xFF) ++pos;
        while (pos < n && b[pos] == 0xFF) ++pos;  // the marker's 0xFF and any fill bytes
        if (pos >= n) return;
        const std::uint8_t marker = b[pos++];
        if (marker == 0x00) continue;                        // a stuffed 0xFF 0x00, not a marker
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA) return;  // SOI again, EOI, scan before any frame
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // TEM, RSTn: no length
        if (n - pos < 2) return;
        const std::size_t length = ReadBe16(&b[pos]);  // counts itself, not the marker
        if (length < 2 || n - pos < length) return;
        if (IsStartOfFrame(marker)) {
            // length (2), precision (1), height (2), width (2), component count (1), 3 bytes per component
            if (length < 8) return;
            const std::uint8_t components = b[pos + 7];
            if (components == 0 || length != 8 + 3u * components) return;
            h.height = ReadBe16(&b[pos + 3]);
            h.width = ReadBe16(&b[pos + 5]);
            h.sizeKnown = true;
            return;
        }
        pos += length;
    }
}

}  // namespace

ImageHeader ReadImageHeader(std::span<const std::uint8_t> bytes) {
    ImageHeader h;
    if (bytes.size() >= kPngSignature.size() &&
        std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin())) {
        h.format = ImageFormat::Png;
        ReadPngHeader(bytes, h);
    } else if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) {
        h.format = ImageFormat::Jpeg;
        ReadJpegHeader(bytes, h);
    }
    return h;
}

ImageVerdict JudgeImageHeader(const ImageHeader& header) {
    if (header.format == ImageFormat::Unknown) return ImageVerdict::UnknownFormat;
    if (!header.sizeKnown) return ImageVerdict::NoSize;
    if (header.width == 0 || header.height == 0) return ImageVerdict::EmptySize;
    if (header.width > kMaxImageSide || header.height > kMaxImageSide) return ImageVerdict::TooLarge;
    if (std::uint64_t{header.width} * header.height > kMaxImagePixels) return ImageVerdict::TooLarge;
    return ImageVerdict::Accept;
}

}  // namespace fw
