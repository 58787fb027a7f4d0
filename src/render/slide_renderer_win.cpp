#include "render/slide_renderer_win.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "deck/deck.h"
#include "framework/gdi.h"
#include "pictures/halftone_blit.h"
#include "pictures/image_loader.h"
#include "pictures/picture_compose.h"
#include "launch/file_tests.h"
#include "launch/target_names.h"
#include "res/copyright.h"
#include "res/resource.h"
#include "render/branding_layout.h"
#include "render/picture_rules.h"
#include "render/print_layout.h"
#include "pictures/screen_pictures_win.h"

namespace {

fw::Bitmap LoadResourceBitmap(int id) {
    return fw::Bitmap(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(bm), &bm) != static_cast<int>(sizeof(bm))) return {0, 0};
    return {bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight};
}

bool KeptPictures(const Canvas& canvas) { return canvas.medium == Medium::Screen && canvas.pictures; }

// A resource bitmap stretched over `at`; false when it does not load.
bool DrawResource(const Canvas& canvas, int id, const Placement& at) {
    if (KeptPictures(canvas)) return canvas.pictures->DrawResource(canvas.dc, id, at.x, at.y, at.w, at.h);
    const fw::Bitmap bitmap = LoadResourceBitmap(id);
    if (!bitmap) return false;
    fw::HalftoneBlit(canvas.dc, at.x, at.y, at.w, at.h, bitmap.get());
    return true;
}

// The pixel size of resource bitmap `id`, 0 x 0 when it does not load: where a logo goes depends
// on it. Read once per run, as the resources are part of the program.
SIZE ResourceSize(int id) {
    static std::map<int, SIZE> known;
    if (const auto it = known.find(id); it != known.end()) return it->second;
    const fw::Bitmap bitmap = LoadResourceBitmap(id);
    const SIZE size = BitmapSize(bitmap.get());
    if (bitmap) known.emplace(id, size);
    return size;
}

// The resolved path of a slide file; the resolver's buffer is shared, so it is copied at once.
std::wstring SlidePath(int row) {
    const wchar_t* resolved = ResolvePath(g_slideDeck[row].pszImage);
    return resolved ? resolved : L"";
}

void DrawSlideImage(const Canvas& canvas, int row, const SlideRect& rc, const SlidePixels* decoded) {
    const std::wstring path = SlidePath(row);
    if (path.empty()) return;
    SlidePixels file;
    if (!decoded) {
        if (!FileExists(path.c_str())) return;
        fw::DecodedFile read = fw::DecodeImageFile(path.c_str());
        if (read.pixels) file = std::make_shared<const fw::PixelBuffer>(std::move(read.pixels));
        decoded = &file;
    }
    if (*decoded) fw::HalftoneBlit(canvas.dc, rc.left, rc.top, rc.Width(), rc.Height(), (*decoded)->view());
}

// What the screen draws over a slide, in order: its logos, the copyright image, the corner button
// and one marker per hotspot, on the squares the hit tests use.
struct Piece {
    int id;
    Placement at;
};
std::vector<Piece> ScreenPieces(int row, const SlideRect& rc, const Branding& branding) {
    std::vector<Piece> pieces;
    const LogoPlan plan = PlanLogos(row, branding.brandLogoId, branding.secondLogoId);
    for (int i = 0; i < plan.count; ++i) {
        const SIZE size = ResourceSize(plan.steps[i].bitmapId);
        if (size.cx <= 0 || size.cy <= 0) continue;  // a logo that does not load is left out
        pieces.push_back({plan.steps[i].bitmapId, PlaceLogo(plan.steps[i].slot, rc, row, size.cx, size.cy)});
    }
    pieces.push_back({IDB_COPYRIGHT, PlaceCopyrightImage(rc)});
    const SIZE marker = ResourceSize(IDB_MARKER);
    if (marker.cx <= 0 || marker.cy <= 0) return pieces;  // no markers and no corner button
    const Square corner = CornerSquare(rc);
    pieces.push_back({IDB_MARKER, Placement{corner.x, corner.y, corner.side, corner.side}});
    const SlidePage& slide = g_slideDeck[row];
    for (int i = 0; i < slide.nSpots; ++i) {
        const Square sq = HotspotSquare(rc, slide.pSpots[i].x, slide.pSpots[i].y);
        pieces.push_back({IDB_MARKER, Placement{sq.x, sq.y, sq.side, sq.side}});
    }
    return pieces;
}

SheetDecoder::Paths SheetPaths(int sheet) {
    if (sheet < 1) return {};
    const SheetSlides slides = SlidesOnSheet(sheet);
    SheetDecoder::Paths paths;
    if (slides.upper < SLIDE_COUNT) paths[0] = SlidePath(slides.upper);
    if (slides.lower < SLIDE_COUNT) paths[1] = SlidePath(slides.lower);
    return paths;
}

void DrawLogos(const Canvas& canvas, int row, const SlideRect& rc, const Branding& branding) {
    const LogoPlan plan = PlanLogos(row, branding.brandLogoId, branding.secondLogoId);
    for (int i = 0; i < plan.count; ++i) {
        const SIZE size = ResourceSize(plan.steps[i].bitmapId);
        if (size.cx <= 0 || size.cy <= 0) continue;  // a logo that does not load is left out
        DrawResource(canvas, plan.steps[i].bitmapId, PlaceLogo(plan.steps[i].slot, rc, row, size.cx, size.cy));
    }
}

// The corner button and one marker per hotspot, on the squares the hit tests use. On paper a
// marker whose bitmap box would cross the slide's edge is left out.
void DrawMarkers(const Canvas& canvas, const SlidePage& slide, const SlideRect& rc) {
    const SIZE own = ResourceSize(IDB_MARKER);
    if (own.cx <= 0 || own.cy <= 0) return;  // no markers and no corner button
    const Square corner = CornerSquare(rc);
    const bool onPaper = canvas.medium == Medium::Paper;
    // On paper the marker is scaled once for the whole slide, when the DC draws a logical unit
    // as one pixel; every marker is then a plain copy of the same pixels.
    fw::PixelBuffer scaled;
    if (!KeptPictures(canvas)) {
        POINT box[2] = {{0, 0}, {corner.side, corner.side}};
        if (corner.side > 0 && ::LPtoDP(canvas.dc, box, 2) && box[1].x - box[0].x == corner.side &&
            box[1].y - box[0].y == corner.side) {
            const fw::Bitmap marker = LoadResourceBitmap(IDB_MARKER);
            const fw::PixelBuffer pixels = fw::ReadBitmapPixels(marker.get());
            if (pixels) scaled = fw::ScaledCopy(pixels.view(), corner.side, corner.side);
        }
    }
    const auto draw = [&](const Square& sq) {
        if (scaled) fw::BlitPixels(canvas.dc, sq.x, sq.y, scaled.view());
        else DrawResource(canvas, IDB_MARKER, Placement{sq.x, sq.y, sq.side, sq.side});
    };
    draw(corner);
    for (int i = 0; i < slide.nSpots; ++i) {
        const Square sq = HotspotSquare(rc, slide.pSpots[i].x, slide.pSpots[i].y);
        // Paper judges by the marker bitmap's own size, not by the square it is drawn in.
        if (onPaper && !MarkerFitsOnPaper(rc, sq.x, sq.y, own.cx, own.cy)) continue;
        draw(sq);
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

void DrawCopyrightLine(HDC dc, const SlideRect& page, int margin) {
    const CopyrightLine line = PlaceCopyrightLine(page, margin);
    const fw::Font font(::CreateFontW(line.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0,
                                      L"Tahoma"));
    const fw::ScopedTextState text(dc, font.get(), RGB(128, 0, 0), TA_CENTER | TA_TOP);
    ::TextOutW(dc, line.x, line.y, kCopyrightNotice, static_cast<int>(std::size(kCopyrightNotice)) - 1);
}

}  // namespace

PictureRequest SlideRequest(ScreenPictures& pictures, int row, const SlideRect& rc, const Branding& branding) {
    PictureRequest request{SlidePath(row), rc.Width(), rc.Height(), FitMode::Stretch, {}};
    for (const Piece& piece : ScreenPieces(row, rc, branding)) {
        auto pixels = pictures.Resource(piece.id, piece.at.w, piece.at.h);
        if (pixels) request.stamps.push_back(Stamp{piece.id, piece.at.x - rc.left, piece.at.y - rc.top, std::move(pixels)});
    }
    return request;
}

namespace {

std::shared_ptr<const fw::PixelBuffer> DecodedSlide(ScreenPictures& pictures, int row) {
    const PictureRequest request = DecodedSlideRequest(row);
    if (request.path.empty()) return nullptr;
    const auto decoded = pictures.Picture(request);
    return decoded && decoded->placed ? decoded->pixels : nullptr;
}

}  // namespace

PictureRequest DecodedSlideRequest(int row) { return PictureRequest{SlidePath(row), 0, 0, FitMode::AsDecoded, {}}; }

SIZE SlideFileSize(ScreenPictures& pictures, int row) {
    const auto pixels = DecodedSlide(pictures, row);
    return pixels ? SIZE{pixels->width(), pixels->height()} : SIZE{0, 0};
}

fw::PixelBuffer ZoomedSlide(ScreenPictures& pictures, int row, const SlideRect& screen, const SlideRect& whole,
                            const Branding& branding) {
    const auto decoded = DecodedSlide(pictures, row);
    if (!decoded || screen.Width() <= 0 || screen.Height() <= 0 || whole.Width() <= 0 || whole.Height() <= 0)
        return {};
    // The file's pixels under the screen, to the nearest pixel, at least one.
    const double sx = static_cast<double>(decoded->width()) / whole.Width();
    const double sy = static_cast<double>(decoded->height()) / whole.Height();
    const int left = std::clamp(static_cast<int>(std::floor((screen.left - whole.left) * sx)), 0, decoded->width() - 1);
    const int top = std::clamp(static_cast<int>(std::floor((screen.top - whole.top) * sy)), 0, decoded->height() - 1);
    const int right = std::clamp(static_cast<int>(std::ceil((screen.right - whole.left) * sx)), left + 1, decoded->width());
    const int bottom = std::clamp(static_cast<int>(std::ceil((screen.bottom - whole.top) * sy)), top + 1, decoded->height());
    const fw::ConstPixelView all = decoded->view();
    const fw::ConstPixelView part{all.data + top * all.stride + std::ptrdiff_t{left} * 4, right - left, bottom - top,
                                  all.stride};
    fw::PixelBuffer out = fw::ScaledCopy(part, screen.Width(), screen.Height(), 2);
    if (!out) return {};
    std::vector<Stamp> stamps;
    for (const Piece& piece : ScreenPieces(row, whole, branding)) {
        // Pieces wholly off the screen are not scaled at all.
        if (piece.at.x >= screen.right || piece.at.y >= screen.bottom || piece.at.x + piece.at.w <= screen.left ||
            piece.at.y + piece.at.h <= screen.top)
            continue;
        auto pixels = pictures.Resource(piece.id, piece.at.w, piece.at.h);
        if (pixels) stamps.push_back(Stamp{piece.id, piece.at.x - screen.left, piece.at.y - screen.top, std::move(pixels)});
    }
    ApplyStamps(out, stamps);
    return out;
}

PictureRequest PhotoRequest(const std::wstring& path, const SlideRect& window) {
    return {path, window.Width(), window.Height(), FitMode::Letterbox, {}};
}

void DrawSlide(const Canvas& canvas, int row, const SlideRect& rc, const Branding& branding, const SlidePixels* decoded) {
    if (KeptPictures(canvas)) {
        // One copy of the picture with everything composed into it, when the file gives one.
        const PictureRequest request = SlideRequest(*canvas.pictures, row, rc, branding);
        const auto picture = request.path.empty() ? nullptr : canvas.pictures->Picture(request);
        if (picture && picture->placed && picture->pixels) {
            fw::BlitPixels(canvas.dc, rc.left, rc.top, picture->pixels->view());
            return;
        }
        for (const Piece& piece : ScreenPieces(row, rc, branding)) DrawResource(canvas, piece.id, piece.at);
        return;
    }
    DrawSlideImage(canvas, row, rc, decoded);
    DrawLogos(canvas, row, rc, branding);
    if (canvas.medium == Medium::Screen) DrawResource(canvas, IDB_COPYRIGHT, PlaceCopyrightImage(rc));
    DrawMarkers(canvas, g_slideDeck[row], rc);
}

bool DrawPhoto(const Canvas& canvas, const std::wstring& path, const SlideRect& window) {
    if (KeptPictures(canvas)) {
        const auto picture = canvas.pictures->Picture(PhotoRequest(path, window));
        if (!picture->placed) return false;
        DrawPicture(canvas.dc, *picture, FitMode::Letterbox, window.left, window.top, window.Width(), window.Height());
        return true;
    }
    const fw::DecodedFile photo = fw::DecodeImageFile(path.c_str());
    const PictureFit fit = FitPicture(window, photo.pixels.width(), photo.pixels.height());
    if (!photo.pixels || !fit.fits) return false;
    const COLORREF old = ::SetBkColor(canvas.dc, RGB(0, 0, 0));
    const RECT all{window.left, window.top, window.right, window.bottom};
    ::ExtTextOutW(canvas.dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    ::SetBkColor(canvas.dc, old);
    fw::HalftoneBlit(canvas.dc, fit.x, fit.y, fit.w, fit.h, photo.pixels.view());
    return true;
}

bool SheetHasSlides(int sheet) { return SlidesOnSheet(sheet).upper < SLIDE_COUNT; }

void DrawSheet(HDC dc, int sheet, const SlideRect& page, const Branding& branding, SheetDecoder* decoder) {
    const SheetSlides slides = SlidesOnSheet(sheet);
    if (slides.upper >= SLIDE_COUNT) return;
    // With a decoder, the next sheet's files are decoded while the printer takes this one, and
    // the previous sheet's stay for a preview paged back.
    SheetDecoder::Files decoded;
    if (decoder) decoded = decoder->Take(SheetPaths(sheet), {SheetPaths(sheet + 1), SheetPaths(sheet - 1)});
    const SlidePixels* upper = decoder ? &decoded[0] : nullptr;
    const SlidePixels* lower = decoder ? &decoded[1] : nullptr;
    const SheetLayout layout = LayOutSheet(page);
    const Canvas paper{dc, Medium::Paper, nullptr};
    DrawCopyrightLine(dc, page, layout.m);
    DrawSlide(paper, slides.upper, layout.upper, branding, upper);
    DrawSheetFrame(dc, layout.upper, layout.m);
    if (slides.lower >= SLIDE_COUNT) return;
    DrawSlide(paper, slides.lower, layout.lower, branding, lower);
    DrawSheetFrame(dc, layout.lower, layout.m);
}
