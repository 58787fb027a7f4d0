// The presenter console: the speaker's own window beside the show. Full-window on a monitor other
// than the show's when there is one, an ordinary window for rehearsing when there is not; it
// follows the monitors as they come and go, and S swaps it with the show. It shows the slide on
// screen (or the photo) and the next one, the slide's place in the deck, the time of the talk (and
// the time left of it, when the talk has a length) and the wall clock, in text sized for its
// monitor's DPI. Keys and the wheel given to it go to the show's view, which looks
// them up in its key table as if they had been given there; a click on its slide is a click at the
// same place of the show. Its pictures come from the show's picture cache, at the console's sizes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "console/console_layout.h"
#include "framework/gdi.h"
#include "framework/wnd.h"
#include "pictures/picture_request.h"

class CMainFrame;
struct Monitors;

// The console's ground and the colours of its texts: the time of the talk running and before it
// starts, and the time left as usual, near the end and past it.
inline constexpr COLORREF kConsoleGround = RGB(22, 24, 30);
inline constexpr COLORREF kConsoleText = RGB(240, 240, 240);
inline constexpr COLORREF kConsoleClock = RGB(170, 200, 255);
inline constexpr COLORREF kTalkRunning = RGB(255, 214, 90);
inline constexpr COLORREF kTalkWaiting = RGB(130, 134, 144);
inline constexpr COLORREF kTimeWarning = RGB(255, 235, 0);
inline constexpr COLORREF kTimeOver = RGB(255, 72, 72);

// The talk's length in minutes, 0 for none: from -Duration, changed by + and -. The console shows
// the time left of it beside the time since the start.
extern int g_talkMinutes;
// Sets the talk's length; an open console shows it at once.
void SetTalkMinutes(int minutes);

class CPresenterConsole : public CWnd {
public:
    // Restarts the talk's time; no key of the show's table has it.
    static constexpr UINT kRestartKey = 'R';

    // Opens the console beside the show of `frame`; null when the window cannot be made.
    static CPresenterConsole* Open(CMainFrame* frame);
    // The console that is open, or null.
    static CPresenterConsole* Current() { return s_pOpen; }

    // The show painted what it shows now: the console follows.
    void ShowPainted(int row, bool photo);

    // Fills `monitor`, or, given none, becomes an ordinary window again (where it was as one, if
    // that is still on a monitor, else over the show's monitor).
    void PlaceOn(HMONITOR monitor);
    // The monitor the console fills, as an index into `now`; -1 while it is a window or when that
    // monitor is gone.
    int OwnMonitorIn(const Monitors& now) const;

    ConsoleLayout m_layout{};  // of the last paint
    std::vector<std::wstring> m_demoTexts;  // the demo's lines the last paint drew, none without a demo
    TalkClock m_clock;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnClose() override;
    void OnNcDestroy() override;

private:
    explicit CPresenterConsole(CMainFrame* frame) : m_pFrame(frame) {}
    void Draw(HDC dc, const RECT& client);
    void PutText(HDC dc, const SlideRect& box, const std::wstring& text, int height, COLORREF colour) const;
    static fw::Font ConsoleFont(int height);
    // The largest height, up to `height`, at which `text` fits across the box.
    static int FittingHeight(HDC dc, const std::wstring& text, int height, const SlideRect& box);
    // The size of the show's slide, for the proportions and the mapping of clicks.
    SIZE ShowSize() const;
    // The console's own wanted pictures: what it draws for `row` (or the photo), then what one
    // Page Down brings, at the sizes of `layout`.
    std::vector<Wanted> WantedFor(int row, bool photo, const ConsoleLayout& layout) const;
    // Repaints the console, if still open, after input it handed to the show.
    static void FollowTheShow();
    // Where the console goes as an ordinary window.
    SlideRect WindowedRect() const;
    // The monitor's DPI changed under the console: it fills its monitor again, or, as a window,
    // takes the size the system suggests.
    void OnDpiChanged(const RECT& suggested);

    static CPresenterConsole* s_pOpen;
    CMainFrame* m_pFrame;
    UINT_PTR m_nClockTimer = 0;
    fw::Bitmap m_keptSurface;  // the paint surface's bitmap, kept for the next paint
    std::wstring m_strMonitorDevice;  // the monitor it fills; empty while it is a window
    SlideRect m_rcWindowed{};         // where it was as a window, for the way back
    bool m_bPlacing = false;          // its own move is under way: a DPI change waits for its end
};
