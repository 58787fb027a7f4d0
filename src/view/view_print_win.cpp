// The view's part of printing and print preview: how many sheets the deck fills, and one
// sheet at a time through the paint.
#include "deck/deck.h"
#include "view/view.h"

BOOL CPemboroView::OnPreparePrinting(CPrintInfo* pInfo) {
    // Two slides to a sheet; the first page stays the framework's 1.
    pInfo->SetMaxPage(static_cast<UINT>((g_enabledPageCount + 1) / 2));
    return DoPreparePrinting(pInfo);
}

void CPemboroView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    m_nPrintPage = static_cast<int>(pInfo->m_nCurPage);
    CView::OnPrint(pDC, pInfo);  // the paint, with the printing DC
    // A sheet whose first slide does not exist has nothing on it, and nothing follows it.
    pInfo->m_bContinuePrinting = FindSlideByNumber(2 * m_nPrintPage - 1) < SLIDE_COUNT ? TRUE : FALSE;
}
