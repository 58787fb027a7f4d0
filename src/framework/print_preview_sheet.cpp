#include "framework/print_preview_sheet.h"

#include "framework/dc.h"
#include "framework/view.h"

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
