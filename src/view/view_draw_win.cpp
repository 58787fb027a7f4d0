// The paint: the slide on screen stretched over the client area with its logos, notice and
// markers, or the photo of picture mode; on paper, one handout sheet. Having drawn, the paint tells
// the picture cache what the next input may show, so it is ready when asked for.
#include "app/app.h"
#include "app/mainframe.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "launch/target_names.h"
#include "view/memldc.h"
#include "view/photo_steps.h"
#include "view/screen_pictures_win.h"
#include "view/slide_renderer_win.h"
#include "view/view.h"
#include "view/view_geometry_win.h"

namespace {

SlideRect ClipBoxOf(CDC& dc) {
    RECT rc{};
    dc.GetClipBox(&rc);
    return ToSlideRect(rc);
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
        if (!m_sheets) m_sheets = std::make_unique<SheetDecoder>();
        if (surface.IsReady()) DrawSheet(surface.m_hDC, m_nPrintPage, ClipBoxOf(surface), branding, m_sheets.get());
        return;
    }

    const bool picture = m_pPictureSpot && !m_strPicture.empty();
    if (!m_pictures) m_pictures = std::make_unique<ScreenPictures>();
    {
        CMemLDC surface(pDC, &m_keptSurface);
        if (!surface.IsReady()) return;  // the window keeps what it showed
        GetClientRect(&m_rcSlide);
        const Canvas canvas{surface.m_hDC, Medium::Screen, m_pictures.get()};
        const SlideRect rc = ToSlideRect(m_rcSlide);
        if (!picture || !DrawPhoto(canvas, m_strPicture, rc)) DrawSlide(canvas, onScreen, rc, branding);
    }  // on the window now
    // Asked only now, so the worker never competes for the picture shown.
    LookAhead(onScreen, ToSlideRect(m_rcSlide), picture);
}

void CPemboroView::LookAhead(int row, const SlideRect& rc, bool picture) {
    std::vector<PictureRequest> wanted;
    const auto slide = [&](int r) {
        const wchar_t* path = ResolvePath(g_slideDeck[r].pszImage);  // copied before the next resolve
        if (path && *path) wanted.push_back({path, rc.Width(), rc.Height(), FitMode::Stretch});
    };
    const auto photo = [&](const Hotspot* spot) {
        if (!spot) return;
        const wchar_t* path = ResolvePath(spot->pszTarget);
        if (path && *path) wanted.push_back({path, rc.Width(), rc.Height(), FitMode::Letterbox});
    };
    // Most likely first: what is shown, then what one key or wheel notch brings.
    const std::vector<int> rows = RowsOneKeyAway(row);
    if (picture) wanted.push_back({m_strPicture, rc.Width(), rc.Height(), FitMode::Letterbox});
    slide(rows.front());
    if (picture) {
        photo(NextPhoto(g_slideDeck[row], m_pPictureSpot));
        photo(PreviousPhoto(g_slideDeck[row], m_pPictureSpot));
    }
    for (std::size_t i = 1; i < rows.size(); ++i) slide(rows[i]);
    m_pictures->LookAhead(std::move(wanted));
}
