// Print preview: the pages as they will print, shown in place of the view inside the main
// frame, with a bar of buttons at the top ("&Print...", "&Next Page", "Pre&v Page",
// "&Two Page"/"&One Page", "Zoom &In", "Zoom &Out", "&Close") and the keys Page Down,
// Page Up and Escape. Closing it shows the view again as it was.
#pragma once
#include <memory>

#include "framework/gdi.h"
#include "framework/print_preview_area.h"
#include "framework/print_preview_layout.h"
#include "framework/view.h"
#include "framework/wnd.h"

class CFrameWnd;

// Button ids of the preview bar.
inline constexpr UINT AFX_ID_PREVIEW_CLOSE = 0xE300;
inline constexpr UINT AFX_ID_PREVIEW_NUMPAGE = 0xE301;
inline constexpr UINT AFX_ID_PREVIEW_NEXT = 0xE302;
inline constexpr UINT AFX_ID_PREVIEW_PREV = 0xE303;
inline constexpr UINT AFX_ID_PREVIEW_PRINT = 0xE304;
inline constexpr UINT AFX_ID_PREVIEW_ZOOMIN = 0xE305;
inline constexpr UINT AFX_ID_PREVIEW_ZOOMOUT = 0xE306;

class CPrintPreviewWnd : public CWnd {
public:
    // Hides the view and shows the preview over the frame's client area. `info` comes from the
    // view's OnPreparePrinting; its printer DC lends the page size and is released, whatever
    // the outcome. Returns the preview, owned by its window, or null when it could not be made.
    static CPrintPreviewWnd* Open(CFrameWnd* frame, CView* view, std::unique_ptr<CPrintInfo> info);

    // Back to the view. The window and object go a moment later, from the message loop,
    // since a button or key of the preview itself may be what closes it.
    void Close();
    // Closes the preview and runs the print command (with its dialog) on the view.
    void Print();
    void NextPage();
    void PrevPage();
    void TogglePageCount();
    void ZoomIn();
    void ZoomOut();

    UINT CurrentPage() const { return m_nCurrentPage; }
    int PagesShown() const;  // what the window shows now: 2 only when not zoomed
    int Zoom() const { return m_nZoom; }
    const PaperMetrics& Paper() const { return m_paper; }
    const CPrintInfo& Info() const { return *m_pInfo; }
    HWND PageArea() const { return m_area.m_hWnd; }
    HWND Button(UINT id) const { return ::GetDlgItem(m_hWnd, static_cast<int>(id)); }

    // Page Down, Page Up, Home, End and Escape; false for other keys.
    bool HandleKey(UINT key);
    // Page keys and the bar's mnemonics, whichever of the preview's windows has the focus.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Commands that reach the frame while the preview is shown.
    bool OnCmdMsg(UINT id) override;

protected:
    int OnCreate(CREATESTRUCTW* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(HWND oldFocus) override;
    void OnCommand(UINT id) override;
    void OnNcDestroy() override;

private:
    CPrintPreviewWnd(CFrameWnd* frame, CView* view, std::unique_ptr<CPrintInfo> info, const PaperMetrics& paper);
    friend class CPreviewPageArea;

    UINT LastPage() const;
    void SetPage(UINT page);
    void SetZoom(int zoom);
    void UpdateBar();
    void LayOutBar(int width);
    // The bar's texts in the font for the preview's monitor (made again when its DPI changed).
    void FollowDpi();

    CFrameWnd* m_pFrame;
    CView* m_pView;
    std::unique_ptr<CPrintInfo> m_pInfo;
    PaperMetrics m_paper;
    UINT m_nCurrentPage = 1;
    int m_nPages = 1;  // chosen with the one-page/two-page switch
    int m_nZoom = 0;
    bool m_bCreated = false;  // the window lived: from then on it owns the object
    bool m_bClosing = false;
    int m_nBarHeight = 0;
    fw::Font m_barFont;  // the buttons' and the status line's, for the DPI below
    int m_nBarDpi = 0;
    CPreviewPageArea m_area;
};
