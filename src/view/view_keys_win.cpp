// Keys and wheel. (Arrive with the interaction work.)
#include "view/view.h"

void CPemboroView::OnKeyDown(UINT, UINT, UINT) {}
void CPemboroView::OnChar(UINT, UINT, UINT) {}
BOOL CPemboroView::OnMouseWheel(UINT, short, CPoint) { return TRUE; }
