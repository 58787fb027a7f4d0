#include "view/view.h"

#include "app/mainframe.h"
#include "deck/page_cursor.h"
#include "framework/app.h"
#include "view/geometry.h"
#include "view/screen_pictures_win.h"
#include "view/slide_renderer_win.h"
#include "view/view_geometry_win.h"

CPemboroView* g_pView = nullptr;

CPemboroView::CPemboroView() { g_pView = this; }

// The frame reaches the view through g_pView: a view that goes takes the pointer with it. The
// picture cache's worker and a sheet decoding ahead stop as the members go.
CPemboroView::~CPemboroView() {
    if (g_pView == this) g_pView = nullptr;
}

CMainFrame* CPemboroView::MainFrame() {
    CWinApp* app = AfxGetApp();
    return app ? dynamic_cast<CMainFrame*>(app->m_pMainWnd) : nullptr;
}

const SlidePage& CPemboroView::CurrentSlide() const { return g_slideDeck[CurrentSlideIndex()]; }

const Hotspot* CPemboroView::HotspotAt(CPoint point) const {
    if (!m_strPicture.empty()) return nullptr;
    return HotspotAtPoint(ToSlideRect(m_rcSlide), CurrentSlide(), point.x, point.y);
}

bool CPemboroView::HitCornerButton(CPoint point) const {
    if (!m_strPicture.empty()) return false;
    return CornerSquare(ToSlideRect(m_rcSlide)).Contains(point.x, point.y);
}

void CPemboroView::ClearHover() {
    if (!m_bHover) return;
    m_bHover = false;
    m_pHoverSpot = nullptr;
    InvalidateRect(nullptr, TRUE);
    UpdateWindow();
}

UINT_PTR CPemboroView::StartHoverTimer() {
    if (!m_hWnd) return 0;
    for (UINT_PTR id = 1; id <= 9999; ++id) {
        if (const UINT_PTR timer = ::SetTimer(m_hWnd, id, 250, nullptr)) return timer;
    }
    return 0;
}

BOOL CPemboroView::OnEraseBkgnd(CDC*) { return TRUE; }
