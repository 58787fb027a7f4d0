// The view's overlays: the typed slide number with its box and time-out, the blank screen, the
// overview with its frame and thumbnails, and the key help. The key table says which input runs
// which of these; here they change the view's state and draw on the paint's surface.
#include <algorithm>

#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/gdi.h"
#include "launch/target_names.h"
#include "view/overlay_drawing_win.h"
#include "view/overview_layout.h"
#include "pictures/picture_cache.h"
#include "pictures/screen_pictures_win.h"
#include "pictures/thumbnails.h"
#include "view/view.h"

namespace {

// Above the ids the hover timer takes (1 to 9999).
constexpr UINT_PTR kNumberTimerId = 0x5E01;
// While the overview is open, how often it looks for thumbnails made since its last paint.
constexpr UINT_PTR kThumbnailTimerId = 0x5E02;
constexpr UINT kThumbnailPollMs = 100;

FrameMove MoveOf(Command command) {
    switch (command) {
    case Command::FrameLeft: return FrameMove::Left;
    case Command::FrameRight: return FrameMove::Right;
    case Command::FrameUp: return FrameMove::Up;
    case Command::FrameDown: return FrameMove::Down;
    case Command::FrameFirst: return FrameMove::First;
    default: return FrameMove::Last;
    }
}

}  // namespace

void CPemboroView::ShowOverlay(Overlay overlay) {
    const Overlay old = m_overlay.shown;
    if (old == Overlay::Number && overlay != Overlay::Number) {
        m_overlay.typed.Clear();
        if (m_hWnd) ::KillTimer(m_hWnd, kNumberTimerId);
    }
    if (old == Overlay::Overview && overlay != Overlay::Overview && m_hWnd) ::KillTimer(m_hWnd, kThumbnailTimerId);
    m_overlay.shown = overlay;
    if (overlay == Overlay::Overview && old != Overlay::Overview && m_hWnd)
        ::SetTimer(m_hWnd, kThumbnailTimerId, kThumbnailPollMs, nullptr);
    // The paint covers a highlight with the overlay: nothing is left to take away.
    if (HidesSlide(overlay)) {
        m_bHover = false;
        m_pHoverSpot = nullptr;
    }
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

void CPemboroView::TypeDigit(unsigned vk) {
    if (m_overlay.shown != Overlay::Number) {
        ShowOverlay(Overlay::Number);
        m_overlay.typed.Clear();
    }
    m_overlay.typed.Append(DigitOfKey(vk));
    // Every key starts the time-out anew.
    if (m_hWnd) ::SetTimer(m_hWnd, kNumberTimerId, kNumberBoxTimeoutMs, nullptr);
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

void CPemboroView::DropDigit() {
    m_overlay.typed.DropLast();
    if (m_overlay.typed.empty()) return ShowOverlay(Overlay::None);
    if (m_hWnd) ::SetTimer(m_hWnd, kNumberTimerId, kNumberBoxTimeoutMs, nullptr);
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

void CPemboroView::ShowSlide(int row) {
    ShowOverlay(Overlay::None);
    // As every page step does, a jump leaves a photo first and shows the whole slide.
    if (!m_strPicture.empty()) LeavePictureMode();
    TheTalk().Unzoom();
    g_currentPage = std::clamp(row, 0, kLastSlide);
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

void CPemboroView::MoveOverviewFrame(Command move) {
    const OverviewLayout layout = LayOutOverview(m_rcSlide.Width(), m_rcSlide.Height(), SLIDE_COUNT, TextDpi());
    const int framed = MoveFrame(layout, m_overlay.framed, MoveOf(move));
    if (framed == m_overlay.framed) return;
    m_overlay.framed = framed;
    if (m_hWnd) InvalidateRect(nullptr, TRUE);
}

void CPemboroView::ShowClicked(CPoint point) {
    const OverviewLayout layout = LayOutOverview(m_rcSlide.Width(), m_rcSlide.Height(), SLIDE_COUNT, TextDpi());
    const int row = layout.TileAt(point.x - m_rcSlide.left, point.y - m_rcSlide.top);
    if (row >= 0) ShowSlide(row);
}

void CPemboroView::OnOverlayTimer(UINT_PTR id) {
    if (id == kNumberTimerId) {
        ::KillTimer(m_hWnd, kNumberTimerId);
        if (m_overlay.shown == Overlay::Number) ShowOverlay(Overlay::None);
    } else if (id == kThumbnailTimerId) {
        // Thumbnails fill in as the workers make them; the poll ends when nothing more will come
        // (all made, or the rest without room), and a paint that finds more to come starts it again.
        if (m_overlay.shown != Overlay::Overview || !m_thumbnails || !m_pictures) return;
        const PictureCache& cache = m_pictures->cache();
        if (cache.Generation(PictureClient::Overview) != m_overlay.thumbnailsPainted) InvalidateRect(nullptr, FALSE);
        else if (cache.Settled(PictureClient::Overview)) ::KillTimer(m_hWnd, kThumbnailTimerId);
    }
}

bool CPemboroView::DrawOverlayInstead(HDC dc, const SlideRect& rc) {
    if (m_overlay.shown == Overlay::Blank) {
        FillBlank(dc, rc, m_overlay.white);
        return true;
    }
    if (m_overlay.shown == Overlay::Overview) {
        const PictureCache* cache = m_pictures ? &m_pictures->cache() : nullptr;
        if (cache) m_overlay.thumbnailsPainted = cache->Generation(PictureClient::Overview);
        if (cache && m_thumbnails && !cache->Settled(PictureClient::Overview) && m_hWnd)
            ::SetTimer(m_hWnd, kThumbnailTimerId, kThumbnailPollMs, nullptr);
        DrawOverview(dc, rc, SLIDE_COUNT, m_overlay.framed, [&](int row) -> std::shared_ptr<const fw::PixelBuffer> {
            return m_thumbnails && cache ? m_thumbnails->Get(*cache, row) : nullptr;
        }, TextDpi());
        return true;
    }
    return false;
}

void CPemboroView::DrawOverlayOver(HDC dc, const SlideRect& rc) {
    if (m_overlay.shown == Overlay::Number) DrawNumberBox(dc, rc, m_overlay.typed.text(), TextDpi());
    else if (m_overlay.shown == Overlay::Help) DrawKeyHelp(dc, rc, TextDpi());
}

void CPemboroView::PrepareThumbnails(const SlideRect& rc) {
    if (!m_pictures) return;
    if (!m_thumbnails) {
        std::vector<std::wstring> paths;
        for (const SlidePage& slide : g_slideDeck) {
            const wchar_t* path = ResolvePath(slide.pszImage);  // copied before the next resolve
            paths.emplace_back(path ? path : L"");
        }
        m_thumbnails = std::make_shared<Thumbnails>(std::move(paths));
    }
    const OverviewLayout layout = LayOutOverview(rc.Width(), rc.Height(), SLIDE_COUNT, TextDpi());
    const bool resized = m_thumbnails->SetTileSize(layout.tileW, layout.tileH);
    // Said at each of the overview's paints; hidden, only when the size changes: the workers make
    // them in the room and the time the other pictures leave, and a slide's paint says nothing.
    if (resized || m_overlay.shown == Overlay::Overview)
        m_pictures->cache().Want(PictureClient::Overview, m_thumbnails->WantedList());
}
