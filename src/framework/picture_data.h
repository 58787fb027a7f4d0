// Pictures as plain memory, and the identity of the file they came from. Plain memory rather than
// bitmap objects, so that a worker thread can make them and a cache can keep them without holding
// any GDI object. Pure: no platform headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

#include "framework/box_filter.h"

namespace fw {

// 32-bit pixels (BGRA, premultiplied alpha), rows top-down without padding.
class PixelBuffer {
public:
    PixelBuffer() = default;

    // width x height pixels, uninitialised; empty when a side is not positive or memory runs out.
    static PixelBuffer Allocate(int width, int height) {
        PixelBuffer p;
        if (width <= 0 || height <= 0) return p;
        p.data_.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4]);
        if (p.data_) p.width_ = width, p.height_ = height;
        return p;
    }

    explicit operator bool() const { return data_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::ptrdiff_t stride() const { return std::ptrdiff_t{width_} * 4; }
    std::size_t bytes() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 4; }
    std::uint8_t* data() { return data_.get(); }
    const std::uint8_t* data() const { return data_.get(); }

    ConstPixelView view() const { return {data_.get(), width_, height_, stride()}; }
    PixelView writable() { return {data_.get(), width_, height_, stride()}; }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    int width_ = 0;
    int height_ = 0;
};

// src scaled to width x height with halftone quality (Resample, on `threads` threads); empty when
// it cannot be.
inline PixelBuffer ScaledCopy(const ConstPixelView& src, int width, int height, int threads = 1) {
    PixelBuffer out = PixelBuffer::Allocate(width, height);
    if (out && !Resample(src, out.writable(), threads)) return {};
    return out;
}

// What tells one version of a file from another without reading it: its size, and its creation
// and last-write times in 100 ns units. A file replaced or rewritten changes at least one.
struct FileIdentity {
    std::uint64_t size = 0;
    std::uint64_t created = 0;
    std::uint64_t written = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// A 64-bit quantity that the platform hands over as two 32-bit halves (sizes, file times).
inline std::uint64_t Join32(std::uint32_t high, std::uint32_t low) { return (std::uint64_t{high} << 32) | low; }

// A picture file decoded: the identity of the bytes that were read, and their pixels (empty when
// the file could not be read or decoded; `found` tells the two apart).
struct DecodedFile {
    bool found = false;
    FileIdentity identity;
    PixelBuffer pixels;
};

}  // namespace fw
