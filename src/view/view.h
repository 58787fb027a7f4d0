// The one view: presentation state between messages, the paint, hover
// feedback, keys and wheel, picture mode, clicks and printing.
#pragma once
#include <memory>
#include <vector>

#include "deck/deck.h"
#include "framework/gdi.h"
#include "framework/view.h"
#include "render/geometry.h"
#include "view/overlays.h"

class CMainFrame;
class ScreenPictures;
enum class Command;
class SheetDecoder;
class Thumbnails;
struct Branding;
struct Wanted;

class CPemboroView : public CView {
public:
    CPemboroView();
    ~CPemboroView() override;

    // Presentation state.
    bool m_bSentBack = false;                // the period key sent the frame to the back
    bool m_bHover = false;                   // a highlight is drawn on the window, not yet painted over
    double m_dClickTime = 0.0;               // wall clock of the last activating click, seconds
    const Hotspot* m_pHoverSpot = nullptr;   // the highlighted hotspot; null for none or the corner button
    UINT_PTR m_nTimerId = 0;                 // the 250 ms hover timer, 0 while none runs
    CRect m_rcSlide;                         // where the last screen paint put the slide
    int m_nPrintPage = 1;                    // the sheet being printed or previewed
    CString m_strPicture;                    // the photo shown; empty in slide mode
    const Hotspot* m_pPictureSpot = nullptr; // the hotspot of the photo shown, or shown last

    // Pictures kept between paints: what is shown and what the next input may show, made ready
    // by a worker thread; made at the first screen paint. Tests may put their own in place.
    std::unique_ptr<ScreenPictures> m_pictures;
    fw::Bitmap m_keptSurface;                // the paint surface's bitmap, kept while overlays are painted
    std::unique_ptr<SheetDecoder> m_sheets;  // decodes the next handout sheet's slides while one prints

    // ---- The speaker's overlays: a typed slide number, a blank screen, the overview, the key help ----
    OverlayState m_overlay;
    // The overview's thumbnails, made by the picture cache's workers while the presenter is idle.
    std::shared_ptr<Thumbnails> m_thumbnails;
    // ---- end of the overlays ----

    // Painting and printing.
    void OnDraw(CDC* pDC) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    // Lets go of the sheets' slides decoded ahead.
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

    // Hit tests on the geometry the paint used.
    const Hotspot* HotspotAt(CPoint point) const;
    bool HitCornerButton(CPoint point) const;
    // Removes a highlight by repainting at once; nothing when none is shown.
    void ClearHover();
    UINT_PTR StartHoverTimer();

    // Hover drawing, straight onto the window.
    void DrawHotspotHover(const Hotspot* h);
    void DrawHighlightedMarker(double L, double T);
    void DrawCornerHover();

    // Picture mode.
    void EnterPictureMode(const Hotspot* h);
    void LeavePictureMode();
    const Hotspot* FindPreviousPhoto() const;
    const Hotspot* FindNextPhoto() const;

    // Message handlers (public so that tests can drive them as messages do).
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnKillFocus(HWND newFocus) override;
    void OnTimer(UINT_PTR nIDEvent) override;

    // The main frame when the application's main window is one, else null.
    static CMainFrame* MainFrame();
    // Whether a key-down for the view goes to its key table before the frame's accelerators: any
    // key while the key help is shown, and a held key's repeat that the table ignores.
    bool TakesKeyBeforeAccelerators(UINT vk, LPARAM lParam) const;
    // The DPI of the view's monitor, which its texts are sized by.
    int TextDpi() const;

private:
    // The commands of the key table.
    void RunInput(Input input, unsigned code, bool ctrl, CPoint point, bool repeat);
    void RunCommand(Command command, unsigned code, CPoint point);
    void ToggleFullScreen();
    void SwapScreens();
    void LeaveFullScreenOrQuit();
    void StepPage(bool (*step)());
    void ToggleSentBack();
    void BackToSlide();
    void Activate(CPoint point);
    // ---- The overlays' commands (view_overlays_win.cpp) ----
    void ShowOverlay(Overlay overlay);
    void TypeDigit(unsigned vk);
    void DropDigit();
    void ShowSlide(int row);
    void MoveOverviewFrame(Command move);
    void ShowClicked(CPoint point);
    // The overlays that take the slide's place (true) or go over it, drawn on the paint's surface.
    bool DrawOverlayInstead(HDC dc, const SlideRect& rc);
    void DrawOverlayOver(HDC dc, const SlideRect& rc);
    // The thumbnails' size follows the window; the worker makes them while nothing else waits.
    void PrepareThumbnails(const SlideRect& rc);
    void OnOverlayTimer(UINT_PTR id);
    // ---- end of the overlays ----
    // What the show wants of the pictures: what the paint shows, then what one input may show next.
    std::vector<Wanted> ShowWanted(int row, const SlideRect& rc, bool picture, const Branding& branding);
    // The slide or the photo shown, from its kept picture straight onto the window; false when it
    // has none (a missing or undecodable slide), to be drawn on the surface instead.
    bool DrawStraight(HDC dc, int row, const SlideRect& rc, bool picture, const Branding& branding);
    // The row on screen, safe to index even before the first paint clamps a restored value.
    const SlidePage& CurrentSlide() const;
};

// The one view, for the main frame; null once that view is gone.
extern CPemboroView* g_pView;
