// The one view: presentation state between messages, the paint, hover
// feedback, keys and wheel, picture mode, clicks and printing.
#pragma once
#include <memory>
#include <optional>
#include <vector>

#include "deck/deck.h"
#include "framework/gdi.h"
#include "framework/view.h"
#include "pictures/picture_data.h"
#include "render/geometry.h"
#include "talk/talk.h"
#include "view/overlays.h"
#include "view/show_frame.h"

class ScreenPictures;
struct ScaledPicture;
enum class Command;
class SheetDecoder;
class Thumbnails;
struct Branding;
struct Wanted;

class CPemboroView : public CView, public TalkWatcher {
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
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The frame around the view, when it is the show's frame; else null.
    ShowFrame* Frame() const;
    // The talk the view shows: its frame's, or, alone, its own.
    Talk& TheTalk() const;
    // Another window, or the view itself, changed the talk: the view repaints what it concerns.
    void TalkChanged(TalkChange change) override;
    // Whether a key-down for the view goes to its key table before the frame's accelerators: any
    // key while the key help is shown, and a held key's repeat that the table ignores.
    bool TakesKeyBeforeAccelerators(UINT vk, LPARAM lParam);
    // The DPI of the view's monitor, which its texts are sized by.
    int TextDpi() const;

protected:
    int OnCreate(CREATESTRUCTW* cs) override;
    void OnDestroy() override;

private:
    // Tells the talk where the speaker is now: the slide, a photo, a blank screen.
    void TellTalk();
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
    std::vector<Wanted> ShowWanted(const Screenful& shown, const SlideRect& rc, const Branding& branding);
    // What the screen shows of a slide or photo, as pixels at their place: the kept picture, or
    // the zoom's. Not placed for a slide or photo that does not load.
    struct ScreenPixels {
        bool placed = false;
        bool letterbox = false;                       // a photo: black around the pixels
        std::shared_ptr<const ScaledPicture> picture; // keeps the pixels alive
        fw::ConstPixelView pixels;
        int x = 0, y = 0;
    };
    ScreenPixels PixelsShown(const Screenful& shown, const SlideRect& rc, const Branding& branding);
    void DrawPixels(HDC dc, const ScreenPixels& pixels, const SlideRect& rc);
    // The pixels shown under `box`, with the pointer's dot where it is, in one copy.
    void DrawPatch(HDC dc, const ScreenPixels& pixels, const SlideRect& box, const Screenful& shown);
    static void FillBlank(HDC dc, const SlideRect& rc, bool white);

    // ---- The speaker's tools (view_tools_win.cpp): pointer, zoom, freeze ----
    // The overlay the key table goes by: the one shown, else the zoom's state.
    Overlay ShownOverlay();
    // The slide as it lies under the speaker's zoom: the whole of it, larger than the window,
    // placed so that the zoomed part fills the window. The window itself without a zoom.
    SlideRect SlideUnderZoom() const;
    // The zoom's picture of `row` for the window, made once for each part and size.
    const fw::PixelBuffer* ZoomPixels(int row, const SlideArea& area, const SlideRect& rc, const Branding& branding);
    // The narrowest part a zoom may show: the slide file's own pixels at four times their size.
    double NarrowestZoom();
    void ZoomAt(CPoint point, int notches);
    void BeginZoomDrag(CPoint point);
    void EndZoomDrag(CPoint point);
    void DrawDragFrame();
    // Where the pointer's dot is drawn on the window, if it is.
    std::optional<POINT> DotOn(const Screenful& shown, const SlideRect& rc) const;
    SlideRect DotBoxOn(const Screenful& shown, const SlideRect& rc) const;
    // The mouse at `point` of the window, for the pointer (off the window: nothing).
    void PointFromShow(std::optional<CPoint> point);
    void ShowCursorForPointer();
    // A hand-off that reached the simulator starts a demo.
    void DemoOf(const HandOff& handOff, const wchar_t* path);
    // ---- end of the tools ----
    // The row on screen, safe to index even before the first paint clamps a restored value.
    const SlidePage& CurrentSlide() const;

    mutable Talk m_ownTalk;     // the talk of a view without the show's frame
    Talk* m_pWatched = nullptr; // the talk the view watches while it has a window
    bool m_bTelling = false;    // the view tells the talk of its own change

    // The zoom's picture, and what it was made for.
    fw::PixelBuffer m_zoomPixels;
    struct ZoomKey {
        int row = -1;
        SlideArea area;
        int w = 0, h = 0;
        friend bool operator==(const ZoomKey&, const ZoomKey&) = default;
    } m_zoomKey;
    SlideRect m_rcDot{};               // where the dot was last drawn; empty for none
    bool m_bPointing = false;          // the mouse over the show places the dot
    std::optional<CPoint> m_dragFrom;  // the zoom's drag, from here to the mouse
    CPoint m_dragTo;
};

// The one view, for the main frame; null once that view is gone.
extern CPemboroView* g_pView;

// Pro mode (Escape neither leaves full-screen nor quits) and big mode (full-screen from the first
// paint), as start-up set them.
extern bool g_proMode;
extern bool g_bigMode;
