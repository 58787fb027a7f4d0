#include "view/slide_renderer_win.h"

#include <condition_variable>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "deck/deck.h"
#include "framework/gdi.h"
#include "framework/halftone_blit.h"
#include "framework/image_loader.h"
#include "framework/thread_state.h"
#include "launch/file_tests.h"
#include "launch/target_names.h"
#include "res/copyright.h"
#include "res/resource.h"
#include "view/branding_layout.h"
#include "view/picture_rules.h"
#include "view/print_layout.h"
#include "view/screen_pictures_win.h"

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

void DrawSlideImage(const Canvas& canvas, int row, const SlideRect& rc, const fw::DecodedFile* decoded) {
    const std::wstring path = SlidePath(row);
    if (path.empty()) return;
    if (KeptPictures(canvas)) {
        canvas.pictures->DrawSlideImage(canvas.dc, path, rc);
        return;
    }
    fw::DecodedFile file;
    if (!decoded) {
        if (!FileExists(path.c_str())) return;
        file = fw::DecodeImageFile(path.c_str());
        decoded = &file;
    }
    if (decoded->pixels) fw::HalftoneBlit(canvas.dc, rc.left, rc.top, rc.Width(), rc.Height(), decoded->pixels.view());
}

std::array<std::wstring, 2> SheetPaths(int sheet) {
    const SheetSlides slides = SlidesOnSheet(sheet);
    std::array<std::wstring, 2> paths;
    if (slides.upper < SLIDE_COUNT) paths[0] = SlidePath(slides.upper);
    if (slides.lower < SLIDE_COUNT) paths[1] = SlidePath(slides.lower);
    return paths;
}

SheetDecoder::Files DecodeBoth(const std::array<std::wstring, 2>& paths, const SheetDecoder::Decode& decode) {
    SheetDecoder::Files files;
    for (std::size_t i = 0; i < paths.size(); ++i)
        if (!paths[i].empty()) files[i] = decode(paths[i]);
    return files;
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

void DrawSlide(const Canvas& canvas, int row, const SlideRect& rc, const Branding& branding,
               const fw::DecodedFile* decoded) {
    DrawSlideImage(canvas, row, rc, decoded);
    DrawLogos(canvas, row, rc, branding);
    if (canvas.medium == Medium::Screen) DrawResource(canvas, IDB_COPYRIGHT, PlaceCopyrightImage(rc));
    DrawMarkers(canvas, g_slideDeck[row], rc);
}

bool DrawPhoto(const Canvas& canvas, const std::wstring& path, const SlideRect& window) {
    if (KeptPictures(canvas)) return canvas.pictures->DrawPhoto(canvas.dc, path, window);
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

// The files decoded ahead, handed from the decoding thread to the printing one. The thread holds
// it too, so the decoder may go while a decode is under way.
struct SheetDecoder::Ahead {
    std::mutex mutex;
    std::condition_variable done;
    std::optional<Files> files;

    void Finish(Files made) {
        {
            const std::lock_guard lock(mutex);
            files = std::move(made);
        }
        done.notify_all();
    }
    Files Wait() {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return files.has_value(); });
        return std::move(*files);
    }
};

SheetDecoder::SheetDecoder(Decode decode) : decode_(std::move(decode)) {
    if (!decode_) decode_ = [](const std::wstring& path) { return fw::DecodeImageFile(path.c_str()); };
}

SheetDecoder::~SheetDecoder() = default;

SheetDecoder::Files SheetDecoder::Take(int sheet) {
    const std::array<std::wstring, 2> paths = SheetPaths(sheet);
    const std::shared_ptr<Ahead> ahead = std::exchange(ahead_, nullptr);
    Files files;
    if (ahead && sheet_ == sheet) files = ahead->Wait();
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (paths[i].empty()) {
            files[i] = {};
            continue;
        }
        // The file on disk now, by its size and times, must be the one that was decoded.
        const bool current = ahead && sheet_ == sheet && paths_[i] == paths[i] && files[i].found &&
                             QueryFileIdentity(paths[i].c_str()) == std::optional<fw::FileIdentity>(files[i].identity);
        if (!current) files[i] = decode_(paths[i]);
    }
    return files;
}

void SheetDecoder::Prefetch(int sheet) {
    ahead_.reset();
    if (!SheetHasSlides(sheet)) return;
    sheet_ = sheet;
    paths_ = SheetPaths(sheet);
    auto ahead = std::make_shared<Ahead>();
    try {
        std::thread([ahead, paths = paths_, decode = decode_] {
            // A thread that handles no messages: in the multi-threaded apartment.
            const fw::ComApartment apartment(fw::ComModel::MultiThreaded);
            Files files;
            try {
                files = DecodeBoth(paths, decode);
            } catch (...) {
                // Nothing decoded ahead: the sheet decodes its files when it is drawn.
            }
            ahead->Finish(std::move(files));
        }).detach();
        ahead_ = std::move(ahead);
    } catch (const std::system_error&) {
        // No thread to be had: the sheet is decoded when it is drawn.
    }
}

bool SheetHasSlides(int sheet) { return SlidesOnSheet(sheet).upper < SLIDE_COUNT; }

void DrawSheet(HDC dc, int sheet, const SlideRect& page, const Branding& branding, SheetDecoder* decoder) {
    const SheetSlides slides = SlidesOnSheet(sheet);
    if (slides.upper >= SLIDE_COUNT) return;
    SheetDecoder local;
    SheetDecoder& files = decoder ? *decoder : local;
    const SheetDecoder::Files decoded = files.Take(sheet);
    if (decoder) decoder->Prefetch(sheet + 1);  // while the printer takes this one
    const SheetLayout layout = LayOutSheet(page);
    const Canvas paper{dc, Medium::Paper, nullptr};
    DrawCopyrightLine(dc, page, layout.m);
    DrawSlide(paper, slides.upper, layout.upper, branding, &decoded[0]);
    DrawSheetFrame(dc, layout.upper, layout.m);
    if (slides.lower >= SLIDE_COUNT) return;
    DrawSlide(paper, slides.lower, layout.lower, branding, &decoded[1]);
    DrawSheetFrame(dc, layout.lower, layout.m);
}
