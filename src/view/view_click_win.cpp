// Clicks on hotspots. (Arrive with the launching work.)
#include "view/view.h"

void CPemboroView::OnLButtonDown(UINT, CPoint) {}
