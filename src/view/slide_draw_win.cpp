#include "view/slide_draw_win.h"

#include <new>
#include <stdexcept>

#include "deck/deck.h"
#include "framework/halftone_blit.h"
#include "framework/image_loader.h"
#include "res/resource.h"
#include "view/picture_layout.h"
#include "view/print_layout.h"

fw::Bitmap LoadResourceBitmap(int id) {
    return fw::Bitmap(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(bm), &bm) != static_cast<int>(sizeof(bm))) return {0, 0};
    return {bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight};
}

void BlitBitmap(HDC dc, int x, int y, int w, int h, HBITMAP bitmap) {
    // The paint runs inside a window procedure: an allocation failure for a huge photo must
    // cost that picture, not the program.
    try {
        fw::HalftoneBlit(dc, x, y, w, h, bitmap);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
}

void DrawImageFile(HDC dc, const wchar_t* path, const SlideRect& rc) {
    const fw::Bitmap image = fw::LoadImageFile(path);
    if (image) BlitBitmap(dc, rc.left, rc.top, rc.Width(), rc.Height(), image.get());
}

bool DrawPicture(HDC dc, const wchar_t* path, const SlideRect& window) {
    const fw::Bitmap photo = fw::LoadImageFile(path);
    const SIZE size = BitmapSize(photo.get());
    const PictureFit fit = FitPicture(window, size.cx, size.cy);
    if (!fit.fits) return false;
    // Black bars where the photo's shape leaves the window uncovered.
    const COLORREF old = ::SetBkColor(dc, RGB(0, 0, 0));
    const RECT all{window.left, window.top, window.right, window.bottom};
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
    BlitBitmap(dc, fit.x, fit.y, fit.w, fit.h, photo.get());
    return true;
}

namespace {

// The marker scaled once to side x side pixels, when the DC draws a logical unit as one pixel:
// every marker of the slide is then a plain copy of the same pixels, as if each were scaled
// anew. Empty when the mapping scales (a preview or printer page), or on any failure.
fw::Bitmap ScaledForPixels(HDC dc, HBITMAP marker, int side) {
    POINT box[2] = {{0, 0}, {side, side}};
    if (side <= 0 || !::LPtoDP(dc, box, 2) || box[1].x - box[0].x != side || box[1].y - box[0].y != side) return {};
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    fw::Bitmap scaled(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const fw::MemoryDc memory(::CreateCompatibleDC(nullptr));
    if (!scaled || !memory) return {};
    {
        const fw::ScopedSelect select(memory.get(), scaled.get());
        BlitBitmap(memory.get(), 0, 0, side, side, marker);
    }
    return scaled;
}

}  // namespace

void DrawMarkers(HDC dc, const SlideRect& rc, const SlidePage& slide, bool onPaper) {
    const fw::Bitmap marker = LoadResourceBitmap(IDB_MARKER);
    if (!marker) return;  // no markers and no corner button
    const SIZE own = BitmapSize(marker.get());
    const Square corner = CornerSquare(rc);
    const fw::Bitmap scaled = ScaledForPixels(dc, marker.get(), corner.side);
    const HBITMAP pixels = scaled ? scaled.get() : marker.get();
    BlitBitmap(dc, corner.x, corner.y, corner.side, corner.side, pixels);
    for (int i = 0; i < slide.nSpots; ++i) {
        const Square sq = HotspotSquare(rc, slide.pSpots[i].x, slide.pSpots[i].y);
        // Paper judges by the marker bitmap's own size, not by the square it is drawn in.
        if (onPaper && !MarkerFitsOnPaper(rc, sq.x, sq.y, own.cx, own.cy)) continue;
        BlitBitmap(dc, sq.x, sq.y, sq.side, sq.side, pixels);
    }
}

void DrawSheetFrame(HDC dc, const SlideRect& slide, int margin) {
    const SheetFrame frame = FrameAround(slide, margin);
    const fw::Pen pen(::CreatePen(PS_SOLID, frame.penWidth, RGB(0, 0, 0)));
    if (!pen) return;
    const fw::ScopedSelect select(dc, pen.get());
    const SlideRect& o = frame.outline;
    ::MoveToEx(dc, o.left, o.top, nullptr);
    ::LineTo(dc, o.right, o.top);
    ::LineTo(dc, o.right, o.bottom);
    ::LineTo(dc, o.left, o.bottom);
    ::LineTo(dc, o.left, o.top);
}
