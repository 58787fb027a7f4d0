// Pictures as plain memory, and the identity of the file they came from. Plain memory rather than
// bitmap objects, so that a worker thread can make them and a cache can keep them without holding
// any GDI object. Pure: no platform headers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>

#include "pictures/box_filter.h"
#include "pictures/pixel_ledger.h"

namespace fw {

// Frees a pixel buffer, and gives its bytes back to the ledger it was charged to.
struct PixelFreer {
    std::shared_ptr<PixelLedger> ledger;
    std::size_t bytes;
    Charge kind = Charge::Picture;
    void operator()(std::uint8_t* p) const {
        delete[] p;
        if (ledger) ledger->Discharge(bytes, kind);
    }
};

// 32-bit pixels (BGRA, premultiplied alpha), rows top-down without padding. A buffer may be
// charged to a ledger: its bytes then count there until the buffer is freed, by whoever frees it.
class PixelBuffer {
public:
    PixelBuffer() = default;

    // width x height pixels, uninitialised, charged to `ledger` if one is given (`fromReserved`
    // of the bytes out of room reserved there); empty when a side is not positive or memory runs
    // out.
    static PixelBuffer Allocate(int width, int height, const std::shared_ptr<PixelLedger>& ledger = nullptr,
                                std::size_t fromReserved = 0) {
        PixelBuffer p;
        if (width > 0 && height > 0)
            p.data_.reset(new (std::nothrow) std::uint8_t[static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4]);
        if (p.data_) p.width_ = width, p.height_ = height;
        if (p.data_ && ledger) p.ChargeTo(ledger, fromReserved);
        else if (ledger) ledger->Unreserve(fromReserved);  // the room set aside for it goes with it
        return p;
    }

    // From now on the bytes count in `ledger`, until the buffer is freed; `fromReserved` of them
    // come out of room reserved there. A buffer charged already stays where it is.
    void ChargeTo(const std::shared_ptr<PixelLedger>& ledger, std::size_t fromReserved = 0, Charge kind = Charge::Picture) {
        if (!data_ || !ledger || data_.get_deleter().ledger) return;
        ledger->Charge(bytes(), fromReserved, kind);
        data_.get_deleter() = PixelFreer{ledger, bytes(), kind};
    }
    bool Charged() const { return data_.get_deleter().ledger != nullptr; }

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
    std::unique_ptr<std::uint8_t[], PixelFreer> data_;
    int width_ = 0;
    int height_ = 0;
};

// src scaled to width x height with halftone quality (Resample, on `threads` threads), charged
// to `ledger` as Allocate does; empty when it cannot be.
inline PixelBuffer ScaledCopy(const ConstPixelView& src, int width, int height, int threads = 1,
                              const std::shared_ptr<PixelLedger>& ledger = nullptr, std::size_t fromReserved = 0) {
    PixelBuffer out = PixelBuffer::Allocate(width, height, ledger, fromReserved);
    if (out && !Resample(src, out.writable(), threads)) return {};
    return out;
}

// What tells one version of a file from another without reading it: its size, its creation and
// last-write times in 100 ns units, and which file on which volume it is (a copy of the same size
// with its times kept is another file). A file replaced or rewritten changes at least one.
struct FileIdentity {
    std::uint64_t size = 0;
    std::uint64_t created = 0;
    std::uint64_t written = 0;
    std::uint64_t index = 0;   // the file's number on its volume
    std::uint32_t volume = 0;  // the volume's serial number
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// A 64-bit quantity that the platform hands over as two 32-bit halves (sizes, file times).
inline std::uint64_t Join32(std::uint32_t high, std::uint32_t low) { return (std::uint64_t{high} << 32) | low; }

// A picture file decoded: the identity of the bytes that were read, and their pixels (empty when
// the file could not be read or decoded; `found` tells the two apart). `deferred`: the decode was
// not made for want of room (see DecodeRoom), which says nothing of the file. `transient`: it
// failed for want of something other than the file (a read that failed, memory, the codec), and
// may work when tried again; without it, empty pixels say the file does not decode.
struct DecodedFile {
    bool found = false;
    FileIdentity identity;
    PixelBuffer pixels;
    bool deferred = false;
    bool transient = false;
};

// Asked by a decoder once it knows the picture's size from the file's header and before it
// allocates its pixels: true to go on (the caller has made room for width x height x 4 bytes),
// false to stop there with a deferred result.
using DecodeRoom = std::function<bool(int width, int height)>;

}  // namespace fw
