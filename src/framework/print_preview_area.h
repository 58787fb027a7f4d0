// The print preview's page area: the sheets on a grey ground, scroll bars when a zoomed sheet
// is larger than the window, and the mouse and keys that page, zoom and scroll.
#pragma once
#include <vector>

#include "framework/gdi.h"
#include "framework/print_preview_layout.h"
#include "framework/wnd.h"

class CPrintPreviewWnd;

class CPreviewPageArea : public CWnd {
public:
    explicit CPreviewPageArea(CPrintPreviewWnd& preview) : m_preview(preview) {}

    bool Create(HWND parent, UINT id);
    // The sheets or their size changed: draws them anew (they are kept between repaints).
    void Refresh(bool resetScroll);
    // Where the sheets are now, in this window's client coordinates.
    PreviewLayout CurrentLayout() const;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;

private:
    struct CachedPage {
        UINT page;
        SIZE size;
        fw::Bitmap bitmap;
    };
    HBITMAP PageBitmap(UINT page, SIZE size);
    void UpdateScrollBars();
    void ScrollTo(int x, int y);
    void OnScroll(int bar, UINT code);

    CPrintPreviewWnd& m_preview;
    POINT m_scroll{0, 0};
    std::vector<CachedPage> m_pages;
};
