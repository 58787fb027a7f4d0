// What the view draws. The paint: the slide on screen stretched over the client area with its
// logos, notice and markers, or the photo of picture mode; on paper, one handout sheet. Having
// drawn, the paint tells the picture cache what the next input may show, so it is ready when
// asked for. And the hover highlight: the highlighted marker and the file name of the hotspot
// under the pointer, drawn straight onto the window between paints.
#include <cwchar>

#include "app/app.h"
#include "app/mainframe.h"
#include "console/console_win.h"
#include "pictures/picture_request.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/dpi.h"
#include "framework/gdi.h"
#include "pictures/halftone_blit.h"
#include "launch/demo_check_win.h"
#include "launch/target_names.h"
#include "res/resource.h"
#include "render/geometry.h"
#include "view/hover_rules.h"
#include "render/memldc.h"
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
        if (CMainFrame* frame = MainFrame()) {
            frame->OnFullScreen();
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

    const bool picture = m_pPictureSpot && !m_strPicture.empty();
    if (!m_pictures) m_pictures = std::make_unique<ScreenPictures>();
    GetClientRect(&m_rcSlide);
    const SlideRect rc = ToSlideRect(m_rcSlide);
    // Said before anything is drawn, so that what the show no longer needs is freed first and
    // the picture drawn now is the plan's first.
    const bool slideShown = m_overlay.shown != Overlay::Blank && m_overlay.shown != Overlay::Overview;
    m_pictures->cache().Want(PictureClient::Show, ShowWanted(onScreen, rc, picture, branding), slideShown ? 1 : 0);
    // The overview's thumbnails follow the window's size; the workers make them while idle.
    PrepareThumbnails(rc);
    if (CPresenterConsole* console = CPresenterConsole::Current()) console->ShowPainted(onScreen, picture);

    // The slide or the photo alone goes to the window in one copy of its kept picture.
    if (m_overlay.shown == Overlay::None && DrawStraight(pDC->m_hDC, onScreen, rc, picture, branding)) {
        m_keptSurface.reset();  // no second full-window buffer while slides are shown
        return;
    }
    CMemLDC surface(pDC, &m_keptSurface);
    if (!surface.IsReady()) return;  // the window keeps what it showed
    const Canvas canvas{surface.m_hDC, Medium::Screen, m_pictures.get()};
    // The overlays (view_overlays_win): a blank screen or the overview instead of the slide,
    // the number box or the key help over it.
    if (!DrawOverlayInstead(surface.m_hDC, rc)) {
        if (!picture || !DrawPhoto(canvas, m_strPicture, rc)) DrawSlide(canvas, onScreen, rc, branding);
        DrawOverlayOver(surface.m_hDC, rc);
    }
}

bool CPemboroView::DrawStraight(HDC dc, int row, const SlideRect& rc, bool picture, const Branding& branding) {
    if (picture) {
        const auto photo = m_pictures->Picture(PhotoRequest(m_strPicture, rc));
        if (photo->placed) {
            DrawPicture(dc, *photo, FitMode::Letterbox, rc.left, rc.top, rc.Width(), rc.Height());
            return true;
        }
    }
    const auto slide = m_pictures->Picture(SlideRequest(*m_pictures, row, rc, branding));
    if (!slide->placed || !slide->pixels) return false;  // drawn on the surface, as a missing slide is
    fw::BlitPixels(dc, rc.left, rc.top, slide->pixels->view());
    return true;
}

std::vector<Wanted> CPemboroView::ShowWanted(int row, const SlideRect& rc, bool picture, const Branding& branding) {
    std::vector<Wanted> wanted;
    // Most likely first: what is shown, then what one key or wheel notch brings; on a photo the
    // neighbouring photos before the slide under it.
    const auto photo = [&](const Hotspot* spot) {
        if (!spot) return;
        const wchar_t* path = ResolvePath(spot->pszTarget);  // copied before the next resolve
        if (path && *path) wanted.push_back({PhotoRequest(path, rc), false});
    };
    if (picture) {
        wanted.push_back({PhotoRequest(m_strPicture, rc), false});
        photo(NextPhoto(g_slideDeck[row], m_pPictureSpot));
        photo(PreviousPhoto(g_slideDeck[row], m_pPictureSpot));
    }
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
    const SlideRect rc = ToSlideRect(m_rcSlide);
    const int s = SquareSizeFor(rc).s;
    const SquareOffsets offsets = HotspotOffsets(rc, h->x, h->y);
    const HoverLabelPlacement label = PlaceHoverLabel(s, offsets.L, offsets.T);
    {
        const fw::WindowDc dc(m_hWnd);
        if (dc) {
            // The label's size on a 96-dpi screen follows the square; the monitor's DPI scales it.
            const int height = AtDpi(label.fontHeight, TextDpi());
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
    const int s = SquareSizeFor(ToSlideRect(m_rcSlide)).s;
    if (DrawHotMarker(m_hWnd, m_rcSlide.left + RoundHalfUp(L), m_rcSlide.top + RoundHalfUp(T), s)) m_bHover = true;
}

void CPemboroView::DrawCornerHover() {
    const Square corner = CornerSquare(ToSlideRect(m_rcSlide));
    if (DrawHotMarker(m_hWnd, corner.x, corner.y, corner.side)) m_bHover = true;
}
