// The paint. (The full slide rendering arrives with the rendering work.)
#include "deck/page_cursor.h"
#include "framework/dc.h"
#include "view/view.h"

void CPemboroView::OnDraw(CDC* pDC) {
    if (m_nTimerId == 0) m_nTimerId = StartHoverTimer();
    ClampPage();
    RECT rc;
    GetClientRect(&rc);
    m_rcSlide = rc;
    pDC->FillSolidRect(rc, RGB(255, 255, 255));
}
