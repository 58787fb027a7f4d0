#include "pictures/halftone_blit.h"

#include "pictures/box_filter.h"
#include "framework/gdi.h"
#include "pictures/image_header.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <cstdlib>
#include <vector>

namespace fw {
namespace {

// Pixel buffers reused from one draw to the next. Under Wine every fresh multi-megabyte block
// costs a page fault per 4 KB on first touch (about 8 ms for one 1920 x 1080 copy), more than
// the filtering itself. Up to kKeptBytes per buffer stay allocated while the thread lives;
// larger pictures get a buffer for one call.
class ScratchBuffer {
public:
    static constexpr std::size_t kKeptBytes = 16u << 20;
    explicit ScratchBuffer(std::vector<std::uint8_t>& kept) : kept_(kept) {}
    std::uint8_t* Get(std::size_t bytes) {
        if (bytes > kKeptBytes) {
            once_.resize(bytes);
            return once_.data();
        }
        if (kept_.size() < bytes) kept_.resize(bytes);
        return kept_.data();
    }

private:
    std::vector<std::uint8_t>& kept_;
    std::vector<std::uint8_t> once_;
};

// No loaded image exceeds the size guard's pixel limit; a bigger bitmap of another origin is
// refused rather than copied.
constexpr std::uint64_t kMaxConvertedPixels = kMaxImagePixels;

// The size of a bitmap that may be converted to 32-bit pixels; false when it cannot be read.
bool ConvertibleSize(HBITMAP src, int& w, int& h) {
    BITMAP bm{};
    if (!src || ::GetObjectW(src, sizeof(bm), &bm) < static_cast<int>(sizeof(bm))) return false;
    w = bm.bmWidth, h = std::abs(bm.bmHeight);
    return w > 0 && h > 0 && std::uint64_t(w) * std::uint64_t(h) <= kMaxConvertedPixels;
}

// The bitmap as 32-bit top-down pixels. Always a copy made by GetDIBits, even of a 32-bit DIB
// section: GetObject reports a section's height as positive whichever way its rows are stored
// (on Windows and under Wine alike), so its own bits cannot be read the right way up.
// Monochrome bitmaps convert as 0 = black, 1 = white; other formats keep their colours.
bool CopyPixels(HBITMAP src, int w, int h, std::uint8_t* out) {
    BITMAPINFO bi = TopDown32Info(w, h);
    const MemoryDc dc(::CreateCompatibleDC(nullptr));
    return dc && ::GetDIBits(dc.get(), src, 0, static_cast<UINT>(h), out, &bi, DIB_RGB_COLORS) == h;
}

}  // namespace

void BlitPixels(HDC dst, int x, int y, const ConstPixelView& src) {
    if (!dst || !src.data || src.width <= 0 || src.height <= 0) return;
    const BITMAPINFO bi = TopDown32Info(src.width, src.height);
    ::StretchDIBits(dst, x, y, src.width, src.height, 0, 0, src.width, src.height, src.data, &bi, DIB_RGB_COLORS,
                    SRCCOPY);
}

void HalftoneBlit(HDC dst, int x, int y, int w, int h, const ConstPixelView& src) {
    if (!dst || !src.data || w <= 0 || h <= 0) return;
    // The scale is judged in device pixels: a scaled mapping mode or a preview DC may draw a
    // large logical rectangle onto few pixels.
    POINT corners[2] = {{x, y}, {x + w, y + h}};
    if (!::LPtoDP(dst, corners, 2)) return;
    const int deviceW = std::abs(corners[1].x - corners[0].x), deviceH = std::abs(corners[1].y - corners[0].y);
    if (deviceW == 0 || deviceH == 0) return;

    // A printer scales pictures itself, at its own resolution: an axis that grows goes to it at
    // the picture's size, since more pixels than the picture has only make the job larger (the
    // handouts' 62 slides grown to 300 dpi took the spooler 40 s instead of 17 s).
    int toW = deviceW, toH = deviceH;
    const bool printer = ::GetDeviceCaps(dst, TECHNOLOGY) == DT_RASPRINTER;
    if (printer) toW = std::min(toW, src.width), toH = std::min(toH, src.height);

    ConstPixelView pixels = src;
    thread_local std::vector<std::uint8_t> keptScaled;
    ScratchBuffer scaledBuffer(keptScaled);
    if (toW != src.width || toH != src.height) {
        std::uint8_t* scaled = scaledBuffer.Get(std::size_t(toW) * std::size_t(toH) * 4);
        const PixelView to{scaled, toW, toH, std::ptrdiff_t(toW) * 4};
        if (!Resample(src, to)) return;  // beyond the filter's range (no picture comes near it)
        pixels = ConstPixelView{scaled, toW, toH, to.stride};
    }
    // Elsewhere the copy is 1:1 in device pixels; the mapping turns (w, h) into exactly those.
    std::optional<ScopedStretchMode> halftone;
    if (pixels.width != deviceW || pixels.height != deviceH) halftone.emplace(dst, HALFTONE);
    const BITMAPINFO bi = TopDown32Info(pixels.width, pixels.height);
    ::StretchDIBits(dst, x, y, w, h, 0, 0, pixels.width, pixels.height, pixels.data, &bi, DIB_RGB_COLORS, SRCCOPY);
}

void HalftoneBlit(HDC dst, int x, int y, int w, int h, HBITMAP src) {
    int sw = 0, sh = 0;
    if (!dst || w <= 0 || h <= 0 || !ConvertibleSize(src, sw, sh)) return;
    thread_local std::vector<std::uint8_t> keptSource;
    ScratchBuffer sourceBuffer(keptSource);
    std::uint8_t* pixels = sourceBuffer.Get(std::size_t(sw) * std::size_t(sh) * 4);
    if (CopyPixels(src, sw, sh, pixels)) HalftoneBlit(dst, x, y, w, h, ConstPixelView{pixels, sw, sh, std::ptrdiff_t(sw) * 4});
}

PixelBuffer ReadBitmapPixels(HBITMAP src) {
    int w = 0, h = 0;
    if (!ConvertibleSize(src, w, h)) return {};
    PixelBuffer out = PixelBuffer::Allocate(w, h);
    if (!out || !CopyPixels(src, w, h, out.data())) return {};
    return out;
}

}  // namespace fw
