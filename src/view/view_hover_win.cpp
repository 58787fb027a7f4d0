// Hover feedback. (Arrives with the interaction work.)
#include "view/view.h"

void CPemboroView::DrawHotspotHover(const Hotspot*) {}
void CPemboroView::DrawHighlightedMarker(double, double) {}
void CPemboroView::DrawCornerHover() {}
void CPemboroView::OnLButtonUp(UINT, CPoint) {}
void CPemboroView::OnMouseMove(UINT, CPoint) { Default(); }
void CPemboroView::OnKillFocus(HWND) { Default(); }
void CPemboroView::OnTimer(UINT_PTR) {}
