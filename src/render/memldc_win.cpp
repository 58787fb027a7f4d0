#include "render/memldc.h"

#include <cstdlib>

namespace {

bool HasSize(const fw::Bitmap& bitmap, int width, int height) {
    BITMAP bm{};
    return bitmap && ::GetObjectW(bitmap.get(), sizeof(bm), &bm) == static_cast<int>(sizeof(bm)) &&
           bm.bmWidth == width && std::abs(bm.bmHeight) == height;
}

}  // namespace

CMemLDC::CMemLDC(CDC* pTargetDC, fw::Bitmap* kept) : m_pTargetDC(pTargetDC), m_bOffscreen(pTargetDC->m_bPrinting ? FALSE : TRUE) {
    CDC& target = *m_pTargetDC;
    target.GetClipBox(&m_rcSurface);
    if (!m_bOffscreen) {
        m_bPrinting = target.m_bPrinting;
        m_hDC = target.m_hDC;
        m_hAttribDC = target.m_hAttribDC;
        FillSolidRect(m_rcSurface, target.GetBkColor());
        return;
    }

    fw::MemoryDc memory(::CreateCompatibleDC(target.m_hDC));
    if (!memory) return;
    // The bitmap is sized in device pixels: a scaled mapping covers the clip box with more
    // or fewer pixels than logical units.
    POINT corners[2] = {{m_rcSurface.left, m_rcSurface.top}, {m_rcSurface.right, m_rcSurface.bottom}};
    ::LPtoDP(target.m_hAttribDC, corners, 2);
    const int width = std::abs(corners[1].x - corners[0].x), height = std::abs(corners[1].y - corners[0].y);
    if (width <= 0 || height <= 0) return;  // nothing to repaint
    // Only a window's surface is kept: its format stays the window's from paint to paint.
    m_pKept = kept && ::WindowFromDC(target.m_hDC) ? kept : nullptr;
    if (m_pKept && HasSize(*m_pKept, width, height)) {
        m_bmpSurface = std::move(*m_pKept);
    } else {
        if (m_pKept) m_pKept->reset();  // a kept bitmap of another size goes before the new one comes
        m_bmpSurface.reset(::CreateCompatibleBitmap(target.m_hDC, width, height));
    }
    if (!m_bmpSurface) return;
    m_pOldBitmap = ::SelectObject(memory.get(), m_bmpSurface.get());
    if (!m_pOldBitmap) {
        m_bmpSurface.reset();
        return;
    }
    Attach(memory.release());

    // The target's mapping, so that logical coordinates mean the same on both.
    ::SetMapMode(m_hDC, ::GetMapMode(target.m_hAttribDC));
    SIZE extent{};
    ::GetWindowExtEx(target.m_hAttribDC, &extent);
    ::SetWindowExtEx(m_hDC, extent.cx, extent.cy, nullptr);
    ::GetViewportExtEx(target.m_hAttribDC, &extent);
    ::SetViewportExtEx(m_hDC, extent.cx, extent.cy, nullptr);
    ::DPtoLP(target.m_hAttribDC, corners, 2);
    m_rcSurface = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    // The bitmap's first pixel stands for the clip box's top-left corner.
    ::SetWindowOrgEx(m_hDC, m_rcSurface.left, m_rcSurface.top, nullptr);

    FillSolidRect(m_rcSurface, target.GetBkColor());
}

CMemLDC::~CMemLDC() {
    if (!m_bOffscreen) {
        // The page's handles are borrowed: nothing of them is deleted.
        m_hDC = m_hAttribDC = nullptr;
        return;
    }
    if (!m_hDC) return;  // the paint was dropped
    ::BitBlt(m_pTargetDC->m_hDC, m_rcSurface.left, m_rcSurface.top, m_rcSurface.right - m_rcSurface.left,
             m_rcSurface.bottom - m_rcSurface.top, m_hDC, m_rcSurface.left, m_rcSurface.top, SRCCOPY);
    ::SelectObject(m_hDC, m_pOldBitmap);
    // Before the base deletes the memory DC: the bitmap is deleted, or kept for the next paint.
    if (m_pKept) *m_pKept = std::move(m_bmpSurface);
    else m_bmpSurface.reset();
}
