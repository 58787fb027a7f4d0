// The presenter console: the speaker's own window beside the show. Full-window on a monitor other
// than the show's when there is one, an ordinary window for rehearsing when there is not; the
// frame places it as the monitors come and go, and S swaps it with the show. It is a view of the
// talk: the speaker's slide (or photo) and the next one, the slide's place in the deck, the talk's
// time (and the time left of it, when the talk has a length) and the wall clock, in text sized
// for its monitor's DPI; the pointer's dot and the zoomed part on its slide; while the show is
// frozen, small, what the audience sees. Keys and the wheel given to it go to the show's view as
// the same messages; a click on its slide is a click at the same place of the slide on the show;
// the mouse over its slide moves the pointer, and a drag there picks the zoom. Its pictures come
// from the show's picture cache, at the console's sizes.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "console/console_layout.h"
#include "framework/gdi.h"
#include "framework/wnd.h"
#include "pictures/picture_request.h"
#include "talk/talk.h"

class ScreenPictures;

// The console's ground and the colours of its texts: the time of the talk running and before it
// starts, and the time left as usual, near the end and past it. The warning is a clear orange and
// the time running a pale gold, so that a glance at a dim laptop tells them apart.
inline constexpr COLORREF kConsoleGround = RGB(22, 24, 30);
inline constexpr COLORREF kConsoleText = RGB(240, 240, 240);
inline constexpr COLORREF kConsoleClock = RGB(170, 200, 255);
inline constexpr COLORREF kTalkRunning = RGB(240, 224, 160);
inline constexpr COLORREF kTalkWaiting = RGB(130, 134, 144);
inline constexpr COLORREF kTimeWarning = RGB(255, 140, 0);
inline constexpr COLORREF kTimeOver = RGB(255, 60, 60);
// The freeze's mark and the frame of the zoomed part.
inline constexpr COLORREF kFrozenMark = RGB(64, 170, 255);
inline constexpr COLORREF kZoomFrame = RGB(255, 200, 0);
// The demo check's summary: every demo ready, or something missing.
inline constexpr COLORREF kCheckReady = RGB(110, 220, 130);
inline constexpr COLORREF kCheckProblem = RGB(255, 110, 90);

// What the console is tied to: the show it sits beside, the talk they both show, and the show's
// pictures.
struct ConsoleTies {
    HWND showFrame = nullptr;  // its monitor places the console
    HWND showView = nullptr;   // the speaker's input given to the console goes here
    Talk* talk = nullptr;
    std::function<ScreenPictures*()> pictures;  // the show's picture cache, once it has one
};

class CPresenterConsole : public CWnd, public TalkWatcher {
public:
    // Opens the console filling `monitor`, or, given none, as a window over the show's monitor;
    // null when the window cannot be made.
    static CPresenterConsole* Open(const ConsoleTies& ties, HMONITOR monitor);
    // The console that is open, or null.
    static CPresenterConsole* Current() { return s_pOpen; }

    // Fills `monitor`, or, given none, becomes an ordinary window again (where it was as one, if
    // that is still on a monitor, else over the show's monitor).
    void PlaceOn(HMONITOR monitor);
    // The name of the monitor the console fills; empty while it is a window.
    const std::wstring& OwnMonitorDevice() const { return m_strMonitorDevice; }

    void TalkChanged(TalkChange change) override;

    ConsoleLayout m_layout{};  // of the last paint
    // The texts the last paint wrote, for what the speaker reads (and tests).
    std::vector<std::wstring> m_written;
    std::vector<std::wstring> m_checkDrawn;  // the demo check's lines of the last paint
    std::vector<std::wstring> m_demoTexts;  // the demo's lines the last paint drew, none without a demo

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnClose() override;
    void OnNcDestroy() override;

private:
    explicit CPresenterConsole(const ConsoleTies& ties) : m_ties(ties) {}
    Talk& TheTalk() const { return *m_ties.talk; }
    void Draw(HDC dc, const RECT& client);
    void DrawTimes(HDC dc, const RECT& client);
    // The speaker's tools on the console's slide: the zoomed part framed, the pointer's dot.
    void DrawTools(HDC dc) const;
    void PutText(HDC dc, const SlideRect& box, const std::wstring& text, int height, COLORREF colour);
    // The demo check's lines on the first screen, under the clock, while the talk has them.
    void DrawDemoCheck(HDC dc, const RECT& client);
    static fw::Font ConsoleFont(int height);
    // The largest height, up to `height`, at which `text` fits across the box.
    static int FittingHeight(HDC dc, const std::wstring& text, int height, const SlideRect& box);
    // The size of the show's slide, for the proportions and the mapping of clicks.
    SIZE ShowSize() const;
    // The console's own wanted pictures: what it draws, then what one Page Down brings, at the
    // sizes of `layout`.
    std::vector<Wanted> WantedFor(const Screenful& speaker, const ConsoleLayout& layout) const;
    // A point of the console as a point of its slide (fractions); nothing off the slide.
    std::optional<SlidePoint> OnSlide(CPoint point) const;
    // Where the console goes as an ordinary window.
    SlideRect WindowedRect() const;
    // The monitor's DPI changed under the console: it fills its monitor again, or, as a window,
    // takes the size the system suggests.
    void OnDpiChanged(const RECT& suggested);
    // The speaker's key or wheel, given to the console, goes to the show's view as it came.
    void PassOn(UINT msg, WPARAM wParam, LPARAM lParam);
    void DrawDragFrame();

    static CPresenterConsole* s_pOpen;
    ConsoleTies m_ties;
    UINT_PTR m_nClockTimer = 0;
    fw::Bitmap m_keptSurface;  // the paint surface's bitmap, kept for the next paint
    std::wstring m_strMonitorDevice;  // the monitor it fills; empty while it is a window
    SlideRect m_rcWindowed{};         // where it was as a window, for the way back
    bool m_bPlacing = false;          // its own move is under way: a DPI change waits for its end
    bool m_bPointing = false;         // the mouse over the console's slide places the dot
    std::optional<CPoint> m_dragFrom; // the zoom's drag over the console's slide
    CPoint m_dragTo;
};
