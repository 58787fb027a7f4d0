// The view's part of printing. (Arrives with the printing work.)
#include "view/view.h"

BOOL CPemboroView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
void CPemboroView::OnPrint(CDC* pDC, CPrintInfo* pInfo) { CView::OnPrint(pDC, pInfo); }
