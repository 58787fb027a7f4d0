// The presenter console: the speaker's own window beside the show. Full-window on a monitor other
// than the show's when there is one, an ordinary window for rehearsing when there is not. It shows
// the slide on screen (or the photo) and the next one, the slide's place in the deck, the time of
// the talk and the wall clock. Keys and the wheel given to it go to the show's view, which looks
// them up in its key table as if they had been given there; a click on its slide is a click at the
// same place of the show. Its pictures come from the show's picture cache, at the console's sizes.
#pragma once
#include <windows.h>

#include <vector>

#include "console/console_layout.h"
#include "framework/gdi.h"
#include "framework/wnd.h"
#include "view/picture_cache.h"

class CMainFrame;

class CPresenterConsole : public CWnd {
public:
    // Restarts the talk's time; no key of the show's table has it.
    static constexpr UINT kRestartKey = 'R';

    // Opens the console beside the show of `frame`; null when the window cannot be made.
    static CPresenterConsole* Open(CMainFrame* frame);
    // The console that is open, or null.
    static CPresenterConsole* Current() { return s_pOpen; }

    // The show painted what it shows now: the console follows, and says which pictures it wants
    // next, after the show's own.
    void ShowPainted(int row, bool photo, std::vector<PictureRequest>& wanted);

    ConsoleLayout m_layout{};  // of the last paint
    TalkClock m_clock;

protected:
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
    // The size of the show's slide, for the proportions and the mapping of clicks.
    SIZE ShowSize() const;

    static CPresenterConsole* s_pOpen;
    CMainFrame* m_pFrame;
    UINT_PTR m_nClockTimer = 0;
    fw::Bitmap m_keptSurface;  // the paint surface's bitmap, kept for the next paint
};

// The console's pictures for what the show shows, appended to the show's look-ahead list; nothing
// while no console is open.
void AppendConsoleRequests(int row, bool photo, std::vector<PictureRequest>& wanted);
