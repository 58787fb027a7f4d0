// The paint: the current slide stretched over the client area with its logos, notice and
// markers, or the photo of picture mode; on paper, two framed slides to a sheet.
#include "app/app.h"
#include "app/mainframe.h"
#include "deck/page_cursor.h"
#include "launch/file_tests.h"
#include "launch/target_names.h"
#include "view/branding_win.h"
#include "view/memldc.h"
#include "view/print_layout.h"
#include "view/slide_draw_win.h"
#include "view/view.h"
#include "view/view_geometry_win.h"

namespace {

// Printing moves the page cursor from slide to slide; whatever way the paint ends, the slide
// on screen is put back.
class RestorePage {
public:
    explicit RestorePage(int onScreen) : onScreen_(onScreen) {}
    ~RestorePage() { g_currentPage = onScreen_; }
    RestorePage(const RestorePage&) = delete;
    RestorePage& operator=(const RestorePage&) = delete;

private:
    int onScreen_;
};

SlideRect ClipBoxOf(CDC& dc) {
    RECT rc{};
    dc.GetClipBox(&rc);
    return ToSlideRect(rc);
}

void DrawSlideImage(HDC dc, const SlidePage& slide, const SlideRect& rc) {
    // The resolver's buffer is shared: the path is used before anyone resolves again.
    const wchar_t* path = ResolvePath(slide.pszImage);
    if (path && *path && FileExists(path)) DrawImageFile(dc, path, rc);
}

}  // namespace

void CPemboroView::OnDraw(CDC* pDC) {
    if (m_nTimerId == 0) m_nTimerId = StartHoverTimer();
    const RestorePage restore(ClampPage());
    const bool printing = pDC->m_bPrinting != FALSE;

    if (printing) {
        const int first = SlidesOnSheet(m_nPrintPage).upper;
        if (first >= SLIDE_COUNT) return;
        g_currentPage = first;
    }

    // Big mode's first screen paint only enters full-screen mode; the change of size paints again.
    if (g_bigMode && !printing) {
        g_bigMode = false;
        if (CMainFrame* frame = MainFrame()) {
            frame->OnFullScreen();
            return;
        }
    }

    CMemLDC surface(pDC);
    if (!surface.IsReady()) return;  // the window keeps what it showed
    const HDC dc = surface.m_hDC;

    for (int pass = 0;; ++pass) {
        SlideRect rc;
        int margin = 0;
        if (printing) {
            const SlideRect page = ClipBoxOf(surface);
            const SheetLayout sheet = LayOutSheet(page);
            margin = sheet.m;
            rc = pass == 0 ? sheet.upper : sheet.lower;
            if (pass == 0) DrawCopyrightLine(dc, page, margin);
        } else {
            GetClientRect(&m_rcSlide);
            rc = ToSlideRect(m_rcSlide);
        }

        if (!printing && m_pPictureSpot && !m_strPicture.empty() && DrawPicture(dc, m_strPicture.c_str(), rc))
            return;  // a photo shows nothing else

        const SlidePage& slide = g_slideDeck[g_currentPage];
        DrawSlideImage(dc, slide, rc);
        DrawLogos(dc, rc, g_currentPage, g_brandLogoId, g_secondLogoId);
        if (!printing) DrawCopyrightImage(dc, rc);
        DrawMarkers(dc, rc, slide, printing);
        if (!printing) return;

        DrawSheetFrame(dc, rc, margin);
        const int next = NextNumberedSlide(g_currentPage);
        if (pass > 0 || next >= SLIDE_COUNT) return;
        g_currentPage = next;
    }
}
