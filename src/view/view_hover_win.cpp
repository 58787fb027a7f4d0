// Hover feedback: the highlighted marker and the file name of the hotspot under the
// pointer, drawn straight onto the window between paints; and its removal.
#include <cwchar>

#include "framework/gdi.h"
#include "framework/halftone_blit.h"
#include "res/resource.h"
#include "view/geometry.h"
#include "view/hover_rules.h"
#include "view/view.h"
#include "view/view_geometry_win.h"
#include "view/wall_clock.h"

namespace {

constexpr COLORREF kLabelColour = RGB(0, 0, 255);

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

void CPemboroView::OnMouseMove(UINT nFlags, CPoint point) {
    const bool picture = !m_strPicture.empty();
    HoverInput in{};
    in.flags = nFlags;
    in.pictureMode = picture;
    in.clickTime = m_dClickTime;
    in.shownSpot = m_pHoverSpot;
    // The clock and the hit tests only matter for a plain move over the slide.
    if (nFlags == 0 && !picture) {
        in.now = WallClockNow();
        in.hit = HotspotAt(point);
        in.onCorner = !in.hit && HitCornerButton(point);
    }
    const HoverStep step = DecideHover(in);
    if (step.clearFirst) ClearHover();
    if (step.draw == HoverDraw::Hotspot) DrawHotspotHover(in.hit);
    else if (step.draw == HoverDraw::Corner) DrawCornerHover();
    Default();
}

void CPemboroView::DrawHotspotHover(const Hotspot* h) {
    m_pHoverSpot = h;
    if (!h) return;
    const SlideRect rc = ToSlideRect(m_rcSlide);
    const int s = SquareSizeFor(rc).s;
    const SquareOffsets offsets = HotspotOffsets(rc, h->x, h->y);
    const HoverLabelPlacement label = PlaceHoverLabel(s, offsets.L, offsets.T);
    {
        const fw::WindowDc dc(m_hWnd);
        if (dc) {
            const fw::Font font(::CreateFontW(label.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                              DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
            const fw::ScopedTextState state(dc.get(), font.get(), kLabelColour, TA_CENTER | TA_BOTTOM, TRANSPARENT);
            const wchar_t* text = HoverLabelText(h->pszTarget);
            ::TextOutW(dc.get(), rc.left + label.x, rc.top + label.y, text, static_cast<int>(std::wcslen(text)));
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

void CPemboroView::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != m_nTimerId) return;
    POINT pt;
    if (!::GetCursorPos(&pt)) return;
    ScreenToClient(&pt);
    // The pointer may leave the window without a move message reaching the view.
    if (!InsideSlideInclusive(ToSlideRect(m_rcSlide), pt.x, pt.y)) ClearHover();
}

void CPemboroView::OnLButtonUp(UINT, CPoint) { ClearHover(); }

void CPemboroView::OnKillFocus(HWND) {
    ClearHover();
    Default();
}
