// Reads an image's pixel size from the first bytes of its file, so that files whose size
// no decoder should be asked to allocate can be refused before any decoder sees them.
// Pure: no platform headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

namespace fw {

enum class ImageFormat : std::uint8_t { Unknown, Png, Jpeg };

struct ImageHeader {
    ImageFormat format = ImageFormat::Unknown;  // from the file signature alone
    bool sizeKnown = false;  // the PNG IHDR or JPEG SOFn was found complete and well formed
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Parses the PNG signature and IHDR chunk (length, type, field ranges and CRC checked), or the
// JPEG marker stream up to the first SOFn (APPn and other segments skipped by their length,
// fill bytes allowed). Never reads outside `bytes`; a prefix that ends before the size is
// known gives sizeKnown = false. A JPEG's frame header may follow several 64 KB application
// segments (Exif with a thumbnail, ICC profile, XMP), so a prefix of 64 KB is not always enough.
ImageHeader ReadImageHeader(std::span<const std::uint8_t> bytes);

// Limits for images that are decoded into a 32-bit bitmap for drawing. 16384 per side admits
// 8K screens and every camera photo of up to about 100 MP; 64 Mpixel bounds the decoded bitmap
// at 256 MB (the decoder may hold a second copy while converting). A header that claims more is
// either corrupt or a decompression bomb: 60000 x 60000 would need 14 GB.
inline constexpr std::uint32_t kMaxImageSide = 16384;
inline constexpr std::uint64_t kMaxImagePixels = 64ull * 1024 * 1024;

enum class ImageVerdict : std::uint8_t {
    Accept,
    UnknownFormat,  // neither a PNG nor a JPEG signature
    NoSize,         // right signature, but the header is truncated or malformed
    EmptySize,      // a side of 0 (a JPEG whose height comes later in a DNL marker counts here)
    TooLarge,       // a side above kMaxImageSide or more than kMaxImagePixels in total
};

ImageVerdict JudgeImageHeader(const ImageHeader& header);

}  // namespace fw
