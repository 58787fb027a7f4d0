// The size guard reads every slide and photo before any decoder does. Whatever the bytes, it
// reads none outside them (libFuzzer's copy of the input is exactly its size, so ASan sees an
// overread), names the format by the signature alone, admits nothing beyond its limits, and
// answers from the header only: bytes after a header it has read cannot change its answer.
#include "pictures/image_header.h"

#include "fuzz_check.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

using fuzz::Check;
using fw::ImageFormat;
using fw::ImageHeader;

bool Same(const ImageHeader& a, const ImageHeader& b) {
    return a.format == b.format && a.sizeKnown == b.sizeKnown && a.width == b.width && a.height == b.height;
}

ImageFormat FormatBySignature(std::span<const std::uint8_t> b) {
    constexpr std::array<std::uint8_t, 8> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (b.size() >= png.size() && std::equal(png.begin(), png.end(), b.begin())) return ImageFormat::Png;
    if (b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF) return ImageFormat::Jpeg;
    return ImageFormat::Unknown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const ImageHeader h = fw::ReadImageHeader(bytes);
    const fw::ImageVerdict verdict = fw::JudgeImageHeader(h);

    Check(h.format == FormatBySignature(bytes), "the format comes from the signature");
    Check(h.sizeKnown || (h.width == 0 && h.height == 0), "no size without a complete header");
    Check(h.format != ImageFormat::Unknown || verdict == fw::ImageVerdict::UnknownFormat, "unknown stays unknown");
    if (verdict == fw::ImageVerdict::Accept) {
        Check(h.width >= 1 && h.width <= fw::kMaxImageSide && h.height >= 1 && h.height <= fw::kMaxImageSide,
              "an accepted side lies within the limit");
        Check(std::uint64_t{h.width} * h.height <= fw::kMaxImagePixels, "an accepted area lies within the limit");
    }

    // A shorter read of the same file either has not reached the header yet or agrees.
    for (const std::size_t cut : {size / 2, size > 0 ? size - 1 : 0}) {
        const ImageHeader part = fw::ReadImageHeader(bytes.first(cut));
        Check(!part.sizeKnown || Same(part, h), "a prefix that knows the size knows the same size");
    }
    // And more bytes after a header already read change nothing.
    if (h.sizeKnown) {
        std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
        longer.insert(longer.end(), {0xFF, 0xC0, 0x00, 0x11, 0x08, 0x7F, 0xFF, 0x7F, 0xFF, 0x03});
        Check(Same(fw::ReadImageHeader(longer), h), "bytes after the header change nothing");
    }
    return 0;
}
