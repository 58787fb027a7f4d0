// The speaker's tools on the show: the pointer (a red dot that follows the mouse, given from the
// show or from the presenter console), the zoom (a part of the slide over the whole window, from
// a drag or Ctrl and the wheel) and the freeze. Their state is the talk's; here the show follows
// it: what a change concerns is repainted, and no more.
#include <windows.h>

#include <algorithm>
#include <cmath>

#include "deck/page_cursor.h"
#include "framework/gdi.h"
#include "pictures/screen_pictures_win.h"
#include "render/pointer_dot.h"
#include "render/slide_renderer_win.h"
#include "view/view.h"
#include "view/zoom_view.h"

namespace {

// A zoom drag shorter than this (in pixels, at 96 dpi) is a click: the part around it, half as wide.
constexpr int kLeastDragPx = 6;
constexpr double kClickZoom = 0.5;

RECT ToRect(const SlideRect& r) { return {r.left, r.top, r.right, r.bottom}; }

bool Empty(const SlideRect& r) { return r.Width() <= 0 || r.Height() <= 0; }

}  // namespace

void CPemboroView::TalkChanged(TalkChange change) {
    if (!m_hWnd) return;
    if (change & kToolChanged) {
        ShowCursorForPointer();
        // Z pressed again, or a page key, during the drag: the drag ends with nothing.
        if (m_dragFrom && !TheTalk().ZoomArmed()) {
            DrawDragFrame();
            m_dragFrom.reset();
            if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        }
    }
    if (change & kAudienceChanged) {
        if (!m_bTelling) InvalidateRect(nullptr, FALSE);
        return;
    }
    if (!(change & kPointerChanged)) return;
    // The dot moved: where it was and where it is are painted now, each on its own, and nothing
    // else of the window.
    const SlideRect rc = ToSlideRect(m_rcSlide);
    const SlideRect now = DotBoxOn(TheTalk().Audience(), rc);
    if (!Empty(m_rcDot)) {
        const RECT was = ToRect(m_rcDot);
        ::InvalidateRect(m_hWnd, &was, FALSE);
        ::UpdateWindow(m_hWnd);
    }
    m_rcDot = now;
    if (!Empty(now)) {
        const RECT is = ToRect(now);
        ::InvalidateRect(m_hWnd, &is, FALSE);
        ::UpdateWindow(m_hWnd);
    }
}

LRESULT CPemboroView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SETCURSOR:
        // The dot stands for the mouse on the show: the arrow is hidden over the window.
        if (LOWORD(lParam) == HTCLIENT && TheTalk().PointerOn()) {
            ::SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_MOUSELEAVE:
        if (m_bPointing) PointFromShow(std::nullopt);
        return 0;
    default: break;
    }
    return CView::WindowProc(msg, wParam, lParam);
}

Overlay CPemboroView::ShownOverlay() {
    if (m_overlay.shown != Overlay::None) return m_overlay.shown;
    const Talk& talk = TheTalk();
    if (talk.ZoomArmed()) return Overlay::ZoomDrag;
    return talk.Speaker().zoom ? Overlay::Zoomed : Overlay::None;
}

// ---- The pointer ----

std::optional<POINT> CPemboroView::DotOn(const Screenful& shown, const SlideRect& rc) const {
    const Talk& talk = TheTalk();
    const std::optional<SlidePoint> dot = talk.Dot();
    if (!dot || shown.blank != Blank::None) return std::nullopt;
    // The overview and the key help take the slide's place: no dot over them.
    if (!talk.Frozen() && (m_overlay.shown == Overlay::Overview || m_overlay.shown == Overlay::Help)) return std::nullopt;
    const SlidePoint at = shown.photo.empty() ? ScreenAt(shown.zoom, *dot) : *dot;
    if (at.x < 0.0 || at.x > 1.0 || at.y < 0.0 || at.y > 1.0) return std::nullopt;
    return POINT{rc.left + static_cast<int>(at.x * rc.Width()), rc.top + static_cast<int>(at.y * rc.Height())};
}

SlideRect CPemboroView::DotBoxOn(const Screenful& shown, const SlideRect& rc) const {
    const std::optional<POINT> dot = DotOn(shown, rc);
    if (!dot) return {};
    return DotBox(dot->x, dot->y, DotDiameter(TextDpi(), m_rcSlide.Height()));
}

void CPemboroView::PointFromShow(std::optional<CPoint> point) {
    Talk& talk = TheTalk();
    if (!point) {
        m_bPointing = false;
        talk.PointAt(std::nullopt);
        return;
    }
    if (!talk.PointerOn()) return;
    const SlideRect rc = ToSlideRect(m_rcSlide);
    const Screenful& shown = talk.Audience();
    const std::optional<SlidePoint> at = ScreenFraction(rc, point->x, point->y);
    if (!at) return talk.PointAt(std::nullopt);
    if (!m_bPointing) {
        // Told when the mouse leaves the window, to take the dot away.
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        m_bPointing = true;
    }
    talk.PointAt(shown.photo.empty() ? SlideAt(shown.zoom, *at) : *at);
}

void CPemboroView::ShowCursorForPointer() {
    POINT pt;
    if (!::GetCursorPos(&pt) || ::WindowFromPoint(pt) != m_hWnd) return;
    ::SetCursor(TheTalk().PointerOn() ? nullptr : ::LoadCursorW(nullptr, IDC_ARROW));
}

// ---- The zoom ----

SlideRect CPemboroView::SlideUnderZoom() const {
    return WholeSlideUnder(ToSlideRect(m_rcSlide), TheTalk().Speaker().zoom);
}

const fw::PixelBuffer* CPemboroView::ZoomPixels(int row, const SlideArea& area, const SlideRect& rc,
                                                 const Branding& branding) {
    const ZoomKey key{row, area, rc.Width(), rc.Height()};
    if (!(key == m_zoomKey) || !m_zoomPixels) {
        m_zoomPixels = ZoomedSlide(*m_pictures, row, rc, WholeSlideUnder(rc, area), branding);
        m_zoomKey = key;
    }
    return m_zoomPixels ? &m_zoomPixels : nullptr;
}

double CPemboroView::NarrowestZoom() {
    if (!m_pictures) return kNarrowestZoom;
    const SIZE file = SlideFileSize(*m_pictures, CurrentSlideIndex());
    if (file.cx <= 0 || file.cy <= 0) return kNarrowestZoom;
    // At most four screen pixels to a pixel of the slide's file, on either axis.
    return std::clamp(std::max(m_rcSlide.Width() / (4.0 * file.cx), m_rcSlide.Height() / (4.0 * file.cy)),
                      kNarrowestZoom, 1.0);
}

void CPemboroView::ZoomAt(CPoint point, int notches) {
    const std::optional<SlidePoint> at = ScreenFraction(ToSlideRect(m_rcSlide), point.x, point.y);
    TheTalk().ZoomBy(notches, at.value_or(SlidePoint{0.5, 0.5}), NarrowestZoom());
}

void CPemboroView::BeginZoomDrag(CPoint point) {
    m_dragFrom = point;
    m_dragTo = point;
    ::SetCapture(m_hWnd);
    DrawDragFrame();
}

void CPemboroView::EndZoomDrag(CPoint point) {
    if (!m_dragFrom) return;
    DrawDragFrame();
    const CPoint from = *m_dragFrom;
    m_dragFrom.reset();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    const SlideRect rc = ToSlideRect(m_rcSlide);
    Talk& talk = TheTalk();
    const std::optional<SlideArea> zoom = talk.Speaker().zoom;
    const int least = std::max(2, MulDiv(kLeastDragPx, TextDpi(), 96));
    if (std::abs(point.x - from.x) < least && std::abs(point.y - from.y) < least) {
        // A click: the part around it, half as wide as what is shown.
        const double side = zoom.value_or(SlideArea{}).Width() * kClickZoom;
        const SlideArea at = DraggedArea(rc, zoom, point.x, point.y, point.x, point.y);
        talk.ZoomTo({at.left - side / 2, at.top - side / 2, at.left + side / 2, at.top + side / 2}, NarrowestZoom());
        return;
    }
    talk.ZoomTo(DraggedArea(rc, zoom, from.x, from.y, point.x, point.y), NarrowestZoom());
}

void CPemboroView::DrawDragFrame() {
    if (!m_dragFrom || !m_hWnd) return;
    // Drawn and taken away by inverting, so the slide under it needs no repaint.
    const fw::WindowDc dc(m_hWnd);
    if (!dc) return;
    const RECT frame{std::min(m_dragFrom->x, m_dragTo.x), std::min(m_dragFrom->y, m_dragTo.y),
                     std::max(m_dragFrom->x, m_dragTo.x) + 1, std::max(m_dragFrom->y, m_dragTo.y) + 1};
    ::DrawFocusRect(dc.get(), &frame);
}
