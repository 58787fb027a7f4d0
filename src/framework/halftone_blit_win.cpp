#include "framework/halftone_blit.h"

#include "framework/box_filter.h"
#include "framework/gdi.h"
#include "framework/image_header.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace fw {
namespace {

BITMAPINFO TopDown32(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// Pixel buffers reused from one draw to the next. Under Wine every fresh multi-megabyte block
// costs a page fault per 4 KB on first touch (about 8 ms for one 1920 x 1080 copy), more than
// the filtering itself. Up to kKeptBytes per buffer (a 1920 x 1080 slide and its shrunk copy)
// stay allocated while the thread lives; larger sources get a buffer for one call.
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

// The source as 32-bit top-down pixels. Always a copy made by GetDIBits, even of a 32-bit DIB
// section: GetObject reports a section's height as positive whichever way its rows are stored
// (on Windows and under Wine alike), so its own bits cannot be read the right way up.
// Monochrome bitmaps convert as 0 = black, 1 = white; other formats keep their colours.
const std::uint8_t* ReadSource(HBITMAP src, ScratchBuffer& buffer, int& w, int& h) {
    BITMAP bm{};
    if (::GetObjectW(src, sizeof(bm), &bm) < static_cast<int>(sizeof(bm))) return nullptr;
    w = bm.bmWidth;
    h = std::abs(bm.bmHeight);
    if (w <= 0 || h <= 0 || std::uint64_t(w) * std::uint64_t(h) > kMaxConvertedPixels) return nullptr;
    std::uint8_t* pixels = buffer.Get(std::size_t(w) * std::size_t(h) * 4);
    BITMAPINFO bi = TopDown32(w, h);
    const MemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc || ::GetDIBits(dc.get(), src, 0, static_cast<UINT>(h), pixels, &bi, DIB_RGB_COLORS) != h) return nullptr;
    return pixels;
}

}  // namespace

void HalftoneBlit(HDC dst, int x, int y, int w, int h, HBITMAP src) {
    if (!dst || !src || w <= 0 || h <= 0) return;
    // Shrinking is judged in device pixels: a scaled mapping mode or a preview DC may draw a
    // large logical rectangle onto few pixels.
    POINT corners[2] = {{x, y}, {x + w, y + h}};
    if (!::LPtoDP(dst, corners, 2)) return;
    const int deviceW = std::abs(corners[1].x - corners[0].x), deviceH = std::abs(corners[1].y - corners[0].y);
    if (deviceW == 0 || deviceH == 0) return;

    thread_local std::vector<std::uint8_t> keptSource, keptShrunk;
    ScratchBuffer sourceBuffer(keptSource), shrunkBuffer(keptShrunk);
    int sw = 0, sh = 0;
    const std::uint8_t* pixels = ReadSource(src, sourceBuffer, sw, sh);
    if (!pixels) return;

    int bw = std::min(deviceW, sw), bh = std::min(deviceH, sh);
    if (bw < sw || bh < sh) {
        std::uint8_t* shrunk = shrunkBuffer.Get(std::size_t(bw) * std::size_t(bh) * 4);
        const ConstPixelView from{pixels, sw, sh, std::ptrdiff_t(sw) * 4};
        if (BoxShrink(from, PixelView{shrunk, bw, bh, std::ptrdiff_t(bw) * 4})) {
            pixels = shrunk;
        } else {
            bw = sw, bh = sh;  // beyond the filter's range: the platform stretches it all
        }
    }
    std::optional<ScopedStretchMode> halftone;
    if (bw != deviceW || bh != deviceH) halftone.emplace(dst, HALFTONE);
    const BITMAPINFO bi = TopDown32(bw, bh);
    ::StretchDIBits(dst, x, y, w, h, 0, 0, bw, bh, pixels, &bi, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace fw
