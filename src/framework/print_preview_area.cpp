#include "framework/print_preview_area.h"

#include <algorithm>
#include <utility>

#include "framework/dc.h"
#include "framework/print_preview.h"
#include "framework/view.h"
#include "framework/window_dpi.h"

namespace {

constexpr int kScrollLine = 40;
constexpr COLORREF kShadowColour = RGB(64, 64, 64);

SIZE SizeOf(const RECT& rc) { return {rc.right - rc.left, rc.bottom - rc.top}; }

// Draws page `page` through the view's OnPrint onto a screen bitmap of `pixels`, which stands
// for the printable area of `paper`: the DC is a printing DC (m_bPrinting) whose clip box is
// that area in printer pixels, exactly as on paper, scaled down by its mapping mode.
// Sets the record's m_nCurPage; the view may clear m_bContinuePrinting.
fw::Bitmap RenderPreviewPage(CView& view, CPrintInfo& info, UINT page, const PaperMetrics& paper, SIZE pixels) {
    if (pixels.cx <= 0 || pixels.cy <= 0) return {};
    const fw::WindowDc screen(nullptr);
    fw::MemoryDc memory(::CreateCompatibleDC(screen.get()));
    fw::Bitmap bitmap(::CreateCompatibleBitmap(screen.get(), pixels.cx, pixels.cy));
    if (!memory || !bitmap) return {};
    {
        const fw::ScopedSelect select(memory.get(), bitmap.get());
        ::PatBlt(memory.get(), 0, 0, pixels.cx, pixels.cy, WHITENESS);
        // The window extent is the printer's page and the viewport the bitmap, so the clip box
        // (the bitmap's bounds) reads back as exactly (0, 0, HORZRES, VERTRES).
        ::SetMapMode(memory.get(), MM_ANISOTROPIC);
        ::SetWindowExtEx(memory.get(), paper.printable.cx, paper.printable.cy, nullptr);
        ::SetViewportExtEx(memory.get(), pixels.cx, pixels.cy, nullptr);
        CBorrowedDC dc(memory.get());
        dc.m_bPrinting = TRUE;
        info.m_nCurPage = page;
        info.m_bContinuePrinting = TRUE;
        view.OnPrint(&dc, &info);
    }
    return bitmap;
}

}  // namespace

bool CPreviewPageArea::Create(HWND parent, UINT id) {
    const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

PreviewLayout CPreviewPageArea::CurrentLayout() const {
    RECT client{};
    GetClientRect(&client);
    // Actual size is an inch of paper to an inch of the monitor the preview is on.
    return LayOutPreview(m_preview.m_paper, SizeOf(client), m_preview.PagesShown(), m_preview.m_nZoom, m_scroll,
                         fw::WindowDpi(m_hWnd));
}

void CPreviewPageArea::Refresh(bool resetScroll) {
    if (resetScroll) m_scroll = {0, 0};
    UpdateScrollBars();
    InvalidateRect(nullptr, FALSE);
}

void CPreviewPageArea::UpdateScrollBars() {
    if (!m_hWnd) return;
    // Showing or hiding a bar changes the client area, and with it what fits: settle in two rounds.
    for (int round = 0; round < 2; ++round) {
        RECT client{};
        GetClientRect(&client);
        const SIZE area = SizeOf(client);
        const SIZE content = CurrentLayout().content;
        m_scroll.x = std::clamp(m_scroll.x, 0L, std::max(content.cx - area.cx, 0L));
        m_scroll.y = std::clamp(m_scroll.y, 0L, std::max(content.cy - area.cy, 0L));
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMax = content.cx > area.cx ? content.cx - 1 : 0;
        si.nPage = static_cast<UINT>(content.cx > area.cx ? area.cx : 0);
        si.nPos = m_scroll.x;
        ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
        si.nMax = content.cy > area.cy ? content.cy - 1 : 0;
        si.nPage = static_cast<UINT>(content.cy > area.cy ? area.cy : 0);
        si.nPos = m_scroll.y;
        ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
    }
}

void CPreviewPageArea::ScrollTo(int x, int y) {
    RECT client{};
    GetClientRect(&client);
    const SIZE content = CurrentLayout().content;
    const POINT to{std::clamp(x, 0, std::max<int>(content.cx - client.right, 0)),
                   std::clamp(y, 0, std::max<int>(content.cy - client.bottom, 0))};
    if (to.x == m_scroll.x && to.y == m_scroll.y) return;
    m_scroll = to;
    ::SetScrollPos(m_hWnd, SB_HORZ, m_scroll.x, TRUE);
    ::SetScrollPos(m_hWnd, SB_VERT, m_scroll.y, TRUE);
    InvalidateRect(nullptr, FALSE);
}

void CPreviewPageArea::OnScroll(int bar, UINT code) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ::GetScrollInfo(m_hWnd, bar, &si);
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= kScrollLine; break;
    case SB_LINEDOWN: pos += kScrollLine; break;
    case SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = si.nMax; break;
    default: return;
    }
    if (bar == SB_HORZ) ScrollTo(pos, m_scroll.y);
    else ScrollTo(m_scroll.x, pos);
}

HBITMAP CPreviewPageArea::PageBitmap(UINT page, SIZE size) {
    for (const CachedPage& cached : m_pages) {
        if (cached.page == page && cached.size.cx == size.cx && cached.size.cy == size.cy) return cached.bitmap.get();
    }
    // Drawing a page decodes its slides: worth a wait cursor, and worth keeping for the next repaint.
    const HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    fw::Bitmap bitmap =
        RenderPreviewPage(*m_preview.m_pView, *m_preview.m_pInfo, page, m_preview.m_paper, size);
    ::SetCursor(old);
    m_pages.push_back({page, size, std::move(bitmap)});
    return m_pages.back().bitmap.get();
}

BOOL CPreviewPageArea::OnEraseBkgnd(CDC*) { return TRUE; }  // the paint covers everything

void CPreviewPageArea::OnPaint() {
    CPaintDC paint(m_hWnd);
    RECT client{};
    GetClientRect(&client);
    if (client.right <= 0 || client.bottom <= 0) return;
    // Composed off screen and copied in one go, so paging does not flicker.
    const fw::MemoryDc memory(::CreateCompatibleDC(paint.m_hDC));
    const fw::Bitmap surface(::CreateCompatibleBitmap(paint.m_hDC, client.right, client.bottom));
    if (!memory || !surface) return;
    const fw::ScopedSelect select(memory.get(), surface.get());
    const HDC dc = memory.get();
    CBorrowedDC canvas(dc);
    canvas.FillSolidRect(client, ::GetSysColor(COLOR_APPWORKSPACE));

    const PreviewLayout layout = CurrentLayout();
    std::vector<std::pair<UINT, SIZE>> shown;
    for (int i = 0; i < layout.pages; ++i) {
        const UINT page = m_preview.m_nCurrentPage + static_cast<UINT>(i);
        if (page > m_preview.LastPage()) break;
        const RECT& paper = layout.paper[i];
        const RECT shadow{paper.left + kPreviewShadow, paper.top + kPreviewShadow, paper.right + kPreviewShadow,
                          paper.bottom + kPreviewShadow};
        canvas.FillSolidRect(shadow, kShadowColour);
        canvas.FillSolidRect(paper, RGB(255, 255, 255));
        const RECT& printable = layout.printable[i];
        const SIZE size = SizeOf(printable);
        if (HBITMAP bitmap = PageBitmap(page, size)) {
            const fw::MemoryDc source(::CreateCompatibleDC(dc));
            const fw::ScopedSelect pageSelect(source.get(), bitmap);
            ::BitBlt(dc, printable.left, printable.top, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
        }
        ::FrameRect(dc, &paper, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        shown.emplace_back(page, size);
    }
    ::BitBlt(paint.m_hDC, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);

    // Only the pages on show are kept.
    std::erase_if(m_pages, [&](const CachedPage& cached) {
        return std::none_of(shown.begin(), shown.end(), [&](const std::pair<UINT, SIZE>& s) {
            return s.first == cached.page && s.second.cx == cached.size.cx && s.second.cy == cached.size.cy;
        });
    });
}

void CPreviewPageArea::OnSize(UINT, int, int) { Refresh(false); }

void CPreviewPageArea::OnKeyDown(UINT nChar, UINT, UINT) {
    if (m_preview.HandleKey(nChar)) return;
    switch (nChar) {
    case VK_UP: ScrollTo(m_scroll.x, m_scroll.y - kScrollLine); break;
    case VK_DOWN: ScrollTo(m_scroll.x, m_scroll.y + kScrollLine); break;
    case VK_LEFT: ScrollTo(m_scroll.x - kScrollLine, m_scroll.y); break;
    case VK_RIGHT: ScrollTo(m_scroll.x + kScrollLine, m_scroll.y); break;
    default: Default();
    }
}

void CPreviewPageArea::OnLButtonDown(UINT, CPoint) {
    ::SetFocus(m_hWnd);
    // A click enlarges one step at a time and, at the largest size, shows whole pages again.
    if (m_preview.m_nZoom < kPreviewZoomSteps - 1) m_preview.ZoomIn();
    else m_preview.SetZoom(0);
}

BOOL CPreviewPageArea::OnMouseWheel(UINT, short zDelta, CPoint) {
    RECT client{};
    GetClientRect(&client);
    if (CurrentLayout().content.cy > client.bottom) {
        ScrollTo(m_scroll.x, m_scroll.y - zDelta * kScrollLine / WHEEL_DELTA);
    } else if (zDelta < 0) {
        m_preview.NextPage();
    } else if (zDelta > 0) {
        m_preview.PrevPage();
    }
    return TRUE;
}

LRESULT CPreviewPageArea::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;  // letters stay mnemonics of the bar
    default: return CWnd::WindowProc(msg, wParam, lParam);
    }
}
