// What the view draws. The paint: the slide on screen stretched over the client area with its
// logos, notice and markers, or the photo of picture mode; on paper, one handout sheet. Having
// drawn, the paint tells the picture cache what the next input may show, so it is ready when
// asked for. And the hover highlight: the highlighted marker and the file name of the hotspot
// under the pointer, drawn straight onto the window between paints.
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "pictures/picture_request.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/dpi.h"
#include "framework/gdi.h"
#include "pictures/halftone_blit.h"
#include "launch/demo_check_win.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "render/branding_layout.h"
#include "render/geometry.h"
#include "view/hover_rules.h"
#include "render/memldc.h"
#include "render/pointer_dot.h"
#include "render/picture_rules.h"
#include "pictures/screen_pictures_win.h"
#include "render/slide_renderer_win.h"
#include "view/view.h"

namespace {

SlideRect ClipBoxOf(CDC& dc) {
    RECT rc{};
    dc.GetClipBox(&rc);
    return ToSlideRect(rc);
}

constexpr COLORREF kLabelColour = RGB(0, 0, 255);

// The label of the highlighted hotspot, decided as the highlight starts: each move within the
// same hotspot draws it again, and looks at the disk only the first time (an open for reading is
// scanned by the virus guard on Windows). One view per process.
struct KeptHoverLabel {
    const Hotspot* spot = nullptr;
    std::wstring text;
};
KeptHoverLabel g_hoverLabel;

// Draws the highlighted marker over a square of the window; false when the bitmap is missing.
// The bitmap and the DC live for this one drawing only.
bool DrawHotMarker(HWND hwnd, int x, int y, int side) {
    const fw::Bitmap marker(::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_MARKER_HOT)));
    if (!marker) return false;
    const fw::WindowDc dc(hwnd);
    if (dc) fw::HalftoneBlit(dc.get(), x, y, side, side, marker.get());
    return true;
}

}  // namespace

void CPemboroView::OnDraw(CDC* pDC) {
    if (m_nTimerId == 0) m_nTimerId = StartHoverTimer();
    const int onScreen = ClampPage();
    const bool printing = pDC->m_bPrinting != FALSE;
    if (printing && !SheetHasSlides(m_nPrintPage)) return;

    // Big mode's first screen paint only enters full-screen mode; the change of size paints again.
    if (g_bigMode && !printing) {
        g_bigMode = false;
        if (ShowFrame* frame = Frame()) {
            if (!frame->FullScreen()) frame->ToggleFullScreen();
            return;
        }
    }

    const Branding branding{g_brandLogoId, g_secondLogoId};
    if (printing) {
        CMemLDC surface(pDC);
        // The sheet's slides are found by their print numbers; the slide on screen stays.
        if (!m_pictures) m_pictures = std::make_unique<ScreenPictures>();
        if (!m_sheets) m_sheets = std::make_unique<SheetDecoder>(m_pictures->cache());
        if (surface.IsReady()) DrawSheet(surface.m_hDC, m_nPrintPage, ClipBoxOf(surface), branding, m_sheets.get());
        return;
    }

    if (!m_pictures) m_pictures = std::make_unique<ScreenPictures>();
    GetClientRect(&m_rcSlide);
    const SlideRect rc = ToSlideRect(m_rcSlide);
    // The talk hears of a slide the paint found (restored, clamped, or set by the way back from a
    // demo) and of the show's size; then the paint shows what the audience is to see.
    Talk& talk = TheTalk();
    TellTalk();
    m_bTelling = true;  // this paint draws the new size already
    talk.ShowSize(rc.Width(), rc.Height());
    m_bTelling = false;
    const Screenful shown = talk.Audience();
    const bool frozen = talk.Frozen();
    // The speaker's overlays are on the show while it follows the speaker, never on a frozen one.
    const Overlay overlay = frozen ? (shown.blank != Blank::None ? Overlay::Blank : Overlay::None) : m_overlay.shown;
    // Said before anything is drawn, so that what the show no longer needs is freed first and
    // the picture drawn now is the plan's first.
    const bool slideShown = overlay != Overlay::Blank && overlay != Overlay::Overview;
    m_pictures->cache().Want(PictureClient::Show, ShowWanted(shown, rc, branding), slideShown ? 1 : 0);
    // The overview's thumbnails follow the window's size; the workers make them while idle.
    PrepareThumbnails(rc);

    if (!shown.zoom) m_zoomPixels = {};  // a zoom's picture lives while it is shown
    m_rcDot = {};
    // The slide or the photo alone goes to the window in one copy of its kept picture; a paint
    // of the pointer's few pixels copies those alone.
    if (overlay == Overlay::None) {
        const ScreenPixels pixels = PixelsShown(shown, rc, branding);
        if (pixels.placed) {
            const SlideRect clip = ClipBoxOf(*pDC);
            if (clip.Width() * clip.Height() < rc.Width() * rc.Height() / 4) {
                DrawPatch(pDC->m_hDC, pixels, clip, shown);
                m_rcDot = DotBoxOn(shown, rc);
                return;
            }
            DrawPixels(pDC->m_hDC, pixels, rc);
            m_keptSurface.reset();  // no second full-window buffer while slides are shown
            m_rcDot = DotBoxOn(shown, rc);
            DrawPatch(pDC->m_hDC, pixels, m_rcDot, shown);
            return;
        }
    }
    CMemLDC surface(pDC, &m_keptSurface);
    if (!surface.IsReady()) return;  // the window keeps what it showed
    const Canvas canvas{surface.m_hDC, Medium::Screen, m_pictures.get()};
    if (frozen) {
        if (overlay == Overlay::Blank) FillBlank(surface.m_hDC, rc, shown.blank == Blank::White);
        else if (shown.photo.empty() || !DrawPhoto(canvas, shown.photo, rc)) DrawSlide(canvas, shown.row, rc, branding);
        return;
    }
    // The overlays (view_overlays_win): a blank screen or the overview instead of the slide,
    // the number box or the key help over it.
    if (!DrawOverlayInstead(surface.m_hDC, rc)) {
        const ScreenPixels pixels = PixelsShown(shown, rc, branding);
        if (pixels.placed) DrawPixels(surface.m_hDC, pixels, rc);
        else if (shown.photo.empty() || !DrawPhoto(canvas, shown.photo, rc)) DrawSlide(canvas, onScreen, rc, branding);
        DrawOverlayOver(surface.m_hDC, rc);
    }
}

CPemboroView::ScreenPixels CPemboroView::PixelsShown(const Screenful& shown, const SlideRect& rc,
                                                     const Branding& branding) {
    ScreenPixels out;
    if (!shown.photo.empty()) {
        out.picture = m_pictures->Picture(PhotoRequest(shown.photo, rc));
        out.letterbox = true;
        if (out.picture->placed) {
            out.placed = true;
            if (out.picture->pixels) out.pixels = out.picture->pixels->view();
            out.x = rc.left + out.picture->x;
            out.y = rc.top + out.picture->y;
            return out;
        }
        // A photo that does not load shows its slide.
    }
    if (shown.zoom) {
        const fw::PixelBuffer* zoomed = ZoomPixels(shown.row, *shown.zoom, rc, branding);
        if (!zoomed) return out;
        out.placed = true;
        out.pixels = zoomed->view();
        out.x = rc.left;
        out.y = rc.top;
        return out;
    }
    out.picture = m_pictures->Picture(SlideRequest(*m_pictures, shown.row, rc, branding));
    if (!out.picture->placed || !out.picture->pixels) return out;  // drawn on the surface, as a missing slide is
    out.placed = true;
    out.pixels = out.picture->pixels->view();
    out.x = rc.left;
    out.y = rc.top;
    return out;
}

void CPemboroView::DrawPixels(HDC dc, const ScreenPixels& pixels, const SlideRect& rc) {
    if (pixels.letterbox && pixels.picture) {
        DrawPicture(dc, *pixels.picture, FitMode::Letterbox, rc.left, rc.top, rc.Width(), rc.Height());
        return;
    }
    fw::BlitPixels(dc, pixels.x, pixels.y, pixels.pixels);
}

void CPemboroView::DrawPatch(HDC dc, const ScreenPixels& pixels, const SlideRect& box, const Screenful& shown) {
    if (box.Width() <= 0 || box.Height() <= 0) return;
    // The pixels under the box (black beside a photo), then the dot where it is, in one copy.
    fw::PixelBuffer patch = fw::PixelBuffer::Allocate(box.Width(), box.Height());
    if (!patch) return;
    std::fill_n(patch.data(), patch.bytes(), std::uint8_t{0});
    const fw::ConstPixelView& src = pixels.pixels;
    const int left = std::max(box.left, pixels.x), right = std::min(box.right, pixels.x + src.width);
    const int top = std::max(box.top, pixels.y), bottom = std::min(box.bottom, pixels.y + src.height);
    for (int y = top; y < bottom && src.data; ++y) {
        std::memcpy(patch.data() + (y - box.top) * patch.stride() + std::ptrdiff_t{left - box.left} * 4,
                    src.data + (y - pixels.y) * src.stride + std::ptrdiff_t{left - pixels.x} * 4,
                    static_cast<size_t>(std::max(0, right - left)) * 4);
    }
    if (const std::optional<POINT> dot = DotOn(shown, ToSlideRect(m_rcSlide)))
        BlendDot(patch.writable(), box.left, box.top, dot->x, dot->y, DotDiameter(TextDpi(), m_rcSlide.Height()));
    fw::BlitPixels(dc, box.left, box.top, patch.view());
}

void CPemboroView::FillBlank(HDC dc, const SlideRect& rc, bool white) {
    const fw::Brush brush(::CreateSolidBrush(white ? RGB(255, 255, 255) : RGB(0, 0, 0)));
    const RECT all{rc.left, rc.top, rc.right, rc.bottom};
    ::FillRect(dc, &all, brush.get());
}

std::vector<Wanted> CPemboroView::ShowWanted(const Screenful& shown, const SlideRect& rc, const Branding& branding) {
    std::vector<Wanted> wanted;
    const int row = shown.row;
    // Most likely first: what is shown, then what one key or wheel notch brings; on a photo the
    // neighbouring photos before the slide under it.
    const auto photo = [&](const Hotspot* spot) {
        if (!spot) return;
        const wchar_t* path = ResolvePath(spot->pszTarget);  // copied before the next resolve
        if (path && *path) wanted.push_back({PhotoRequest(path, rc), false});
    };
    if (!shown.photo.empty()) {
        wanted.push_back({PhotoRequest(shown.photo, rc), false});
        if (shown.photo == m_strPicture) {
            photo(NextPhoto(g_slideDeck[row], m_pPictureSpot));
            photo(PreviousPhoto(g_slideDeck[row], m_pPictureSpot));
        }
    }
    // A zoomed slide is drawn from its file's decoded pixels.
    if (shown.zoom) wanted.push_back({DecodedSlideRequest(row), false});
    // The first and the last slide are a jump away: their decoded pixels will do until asked for.
    for (const int r : RowsOneKeyAway(row))
        wanted.push_back({SlideRequest(*m_pictures, r, rc, branding), r < row - 1 || r > row + 1});
    return wanted;
}

// ---- The hover highlight ----

void CPemboroView::DrawHotspotHover(const Hotspot* h) {
    const bool again = m_bHover && m_pHoverSpot == h && g_hoverLabel.spot == h;
    m_pHoverSpot = h;
    if (!h) return;
    // A file that is not there says so before the click that would fail.
    if (!again) g_hoverLabel = {h, HoverLabelFor(h->pszTarget, DemoFileNote(CheckDemoFile(h->pszTarget)))};
    // Through the zoom: the marker lights up where it is seen, its label as large as unzoomed.
    const SlideRect rc = SlideUnderZoom();
    const int s = SquareSizeFor(rc).s;
    const SquareOffsets offsets = HotspotOffsets(rc, h->x, h->y);
    const HoverLabelPlacement label = PlaceHoverLabel(s, offsets.L, offsets.T);
    const HoverLabelPlacement unzoomed = PlaceHoverLabel(SquareSizeFor(ToSlideRect(m_rcSlide)).s, offsets.L, offsets.T);
    {
        const fw::WindowDc dc(m_hWnd);
        if (dc) {
            // The label's size on a 96-dpi screen follows the square; the monitor's DPI scales it.
            const int height = AtDpi(unzoomed.fontHeight, TextDpi());
            const fw::Font font(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                              DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
            const fw::ScopedTextState state(dc.get(), font.get(), kLabelColour, TA_CENTER | TA_BOTTOM, TRANSPARENT);
            const std::wstring& text = g_hoverLabel.text;
            ::TextOutW(dc.get(), rc.left + label.x, rc.top + label.y, text.c_str(), static_cast<int>(text.size()));
        }
    }
    m_bHover = true;
    DrawHighlightedMarker(offsets.L, offsets.T);
}

void CPemboroView::DrawHighlightedMarker(double L, double T) {
    const SlideRect rc = SlideUnderZoom();
    const int s = SquareSizeFor(rc).s;
    if (DrawHotMarker(m_hWnd, rc.left + RoundHalfUp(L), rc.top + RoundHalfUp(T), s)) m_bHover = true;
}

void CPemboroView::DrawCornerHover() {
    const Square corner = CornerSquare(SlideUnderZoom());
    if (DrawHotMarker(m_hWnd, corner.x, corner.y, corner.side)) m_bHover = true;
}
