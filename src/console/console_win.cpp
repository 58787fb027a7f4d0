#include "console/console_win.h"

#include "app/app.h"
#include "app/mainframe.h"
#include "app/monitors_win.h"
#include "console/console_demo.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/dc.h"
#include "launch/target_names.h"
#include "view/hover_rules.h"
#include "view/memldc.h"
#include "view/screen_pictures_win.h"
#include "view/slide_renderer_win.h"
#include "view/view.h"

namespace {

constexpr COLORREF kBackground = RGB(22, 24, 30);
constexpr COLORREF kEmptySlide = RGB(52, 56, 66);
constexpr COLORREF kText = RGB(240, 240, 240);
constexpr COLORREF kTalkRunning = RGB(255, 214, 90);
constexpr COLORREF kTalkWaiting = RGB(130, 134, 144);
constexpr COLORREF kClock = RGB(170, 200, 255);
constexpr UINT kClockTimerMs = 1000;

void Fill(HDC dc, const SlideRect& r, COLORREF colour) {
    const COLORREF old = ::SetBkColor(dc, colour);
    const RECT rc{r.left, r.top, r.right, r.bottom};
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

// A slide's image as the console wants it: stretched over rc.
void AddSlide(std::vector<PictureRequest>& wanted, int row, const SlideRect& rc) {
    if (row < 0 || rc.Width() <= 0 || rc.Height() <= 0) return;
    const wchar_t* path = ResolvePath(g_slideDeck[row].pszImage);  // copied before the next resolve
    if (path && *path) wanted.push_back({path, rc.Width(), rc.Height(), FitMode::Stretch});
}

std::wstring WallClockText() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t text[16];
    std::swprintf(text, 16, L"%02u:%02u", now.wHour, now.wMinute);
    return text;
}

// The renderer lays a slide out from the surface's origin, as the show's view has it: each picture
// of the console is drawn with the origin moved to its place, and clipped to it.
class PlacedOrigin {
public:
    PlacedOrigin(HDC dc, const SlideRect& at) : dc_(dc), saved_(::SaveDC(dc)) {
        ::IntersectClipRect(dc, at.left, at.top, at.right, at.bottom);
        ::OffsetViewportOrgEx(dc, at.left, at.top, nullptr);
    }
    ~PlacedOrigin() { ::RestoreDC(dc_, saved_); }
    PlacedOrigin(const PlacedOrigin&) = delete;
    PlacedOrigin& operator=(const PlacedOrigin&) = delete;

private:
    HDC dc_;
    int saved_;
};

SlideRect AtOrigin(const SlideRect& r) { return {0, 0, r.Width(), r.Height()}; }

void DrawSlideAt(const Canvas& canvas, int row, const SlideRect& at, const Branding& branding) {
    Fill(canvas.dc, at, RGB(255, 255, 255));
    const PlacedOrigin origin(canvas.dc, at);
    DrawSlide(canvas, row, AtOrigin(at), branding);
}

bool DrawPhotoAt(const Canvas& canvas, const std::wstring& path, const SlideRect& at) {
    const PlacedOrigin origin(canvas.dc, at);
    return DrawPhoto(canvas, path, AtOrigin(at));
}

bool ShowsPhoto(const CPemboroView* view) { return view && view->m_pPictureSpot && !view->m_strPicture.empty(); }

}  // namespace

CPresenterConsole* CPresenterConsole::s_pOpen = nullptr;

CPresenterConsole* CPresenterConsole::Open(CMainFrame* frame) {
    if (s_pOpen) return s_pOpen;
    if (!frame || !frame->m_hWnd) return nullptr;
    // On a monitor of its own when there is one; else an ordinary window over the show's monitor.
    const Monitors now = Monitors::Now();
    const HMONITOR showMonitor = ::MonitorFromWindow(frame->m_hWnd, MONITOR_DEFAULTTONEAREST);
    const int other = ConsoleMonitorFor(now.entries, now.IndexOf(showMonitor));
    DWORD style = WS_OVERLAPPEDWINDOW;
    SlideRect rc{};
    if (other >= 0) {
        style = WS_POPUP | WS_SYSMENU;
        rc = now.entries[static_cast<size_t>(other)].rc;
    } else {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        ::GetMonitorInfoW(showMonitor, &info);
        const SlideRect work = ToSlideRect(info.rcWork);
        const int w = work.Width() * 3 / 5, h = work.Height() * 3 / 5;
        rc = {work.left + (work.Width() - w) / 2, work.top + (work.Height() - h) / 2, 0, 0};
        rc.right = rc.left + w;
        rc.bottom = rc.top + h;
    }
    auto* console = new CPresenterConsole(frame);
    // A window of its own, not owned by the show's frame (the frame closes it when the show goes):
    // an owned window always lies above its owner, so the show could never be the top window, and
    // Wine raises a window on the X screen only when it tops the stack. The show brought back from
    // a demo would then stay under the simulator on the projector.
    if (!console->CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"Presenter Console - Pemboro",
                           style, rc.left, rc.top, rc.Width(), rc.Height(), nullptr, nullptr)) {
        delete console;
        return nullptr;
    }
    s_pOpen = console;
    console->m_clock.Observe(CurrentSlideIndex(), ShowsPhoto(g_pView), WallClockNow());
    console->m_nClockTimer = ::SetTimer(console->m_hWnd, 1, kClockTimerMs, nullptr);
    console->ShowWindow(SW_SHOW);
    console->UpdateWindow();
    return console;
}

void CPresenterConsole::ShowPainted(int row, bool photo, std::vector<PictureRequest>& wanted) {
    m_clock.Observe(row, photo, WallClockNow());
    InvalidateRect(nullptr, FALSE);
    RECT client;
    GetClientRect(&client);
    const SIZE show = ShowSize();
    const ConsoleLayout layout = LayOutConsole(client.right, client.bottom, show.cx, show.cy);
    // What the console shows now, then what one Page Down brings to it.
    if (photo && g_pView) {
        const SlideRect& c = layout.current;
        wanted.push_back({g_pView->m_strPicture, c.Width(), c.Height(), FitMode::Letterbox});
    } else {
        AddSlide(wanted, row, layout.current);
    }
    const int next = NextRowAfter(row, kLastSlide);
    AddSlide(wanted, next, layout.next);
    AddSlide(wanted, next, layout.current);
    AddSlide(wanted, next < 0 ? -1 : NextRowAfter(next, kLastSlide), layout.next);
}

SIZE CPresenterConsole::ShowSize() const {
    if (g_pView && g_pView->m_rcSlide.Width() > 0 && g_pView->m_rcSlide.Height() > 0)
        return {g_pView->m_rcSlide.Width(), g_pView->m_rcSlide.Height()};
    const SlideRect monitor = MonitorRect(::MonitorFromWindow(m_pFrame->m_hWnd, MONITOR_DEFAULTTOPRIMARY));
    if (monitor.Width() > 0 && monitor.Height() > 0) return {monitor.Width(), monitor.Height()};
    return {16, 9};
}

void CPresenterConsole::OnPaint() {
    CPaintDC paint(m_hWnd);
    CMemLDC surface(&paint, &m_keptSurface);
    if (!surface.IsReady()) return;  // the window keeps what it showed
    RECT client;
    GetClientRect(&client);
    Draw(surface.m_hDC, client);
}

void CPresenterConsole::Draw(HDC dc, const RECT& client) {
    const SIZE show = ShowSize();
    m_layout = LayOutConsole(client.right, client.bottom, show.cx, show.cy);
    Fill(dc, ToSlideRect(client), kBackground);

    CPemboroView* view = g_pView;
    const int row = CurrentSlideIndex();
    const Canvas canvas{dc, Medium::Screen, view ? view->m_pictures.get() : nullptr};
    const Branding branding{g_brandLogoId, g_secondLogoId};
    const bool photo = ShowsPhoto(view);
    if (!photo || !DrawPhotoAt(canvas, view->m_strPicture, m_layout.current))
        DrawSlideAt(canvas, row, m_layout.current, branding);
    const int next = NextRowAfter(row, kLastSlide);
    if (next >= 0) {
        DrawSlideAt(canvas, next, m_layout.next, branding);
    } else {
        Fill(dc, m_layout.next, kEmptySlide);
        PutText(dc, m_layout.next, L"End", m_layout.clockHeight, kTalkWaiting);
    }

    const double now = WallClockNow();
    PutText(dc, m_layout.counter, CounterText(row, SLIDE_COUNT), m_layout.textHeight, kText);
    PutText(dc, m_layout.elapsed, ElapsedText(m_clock.Elapsed(now)), m_layout.textHeight,
            m_clock.Started() ? kTalkRunning : kTalkWaiting);
    PutText(dc, m_layout.clock, WallClockText(), m_layout.clockHeight, kClock);
    if (const auto demo = m_pFrame->m_demo.Status()) {
        const DemoLines lines = LayOutDemoLines(m_layout, client.bottom);
        PutText(dc, lines.running, DemoRunningText(demo->fileName, demo->seconds), lines.textHeight, kTalkRunning);
        PutText(dc, lines.back, DemoBackText(demo->row), lines.textHeight, kText);
    }
}

void CPresenterConsole::PutText(HDC dc, const SlideRect& box, const std::wstring& text, int height,
                                COLORREF colour) const {
    // Sized in pixels and smoothed: as crisp on a HiDPI panel as the panel allows.
    const fw::Font font(::CreateFontW(-height, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                      VARIABLE_PITCH | FF_SWISS, L"Tahoma"));
    const fw::ScopedTextState state(dc, font.get(), colour, TA_LEFT | TA_TOP, TRANSPARENT);
    RECT rc{box.left, box.top, box.right, box.bottom};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

BOOL CPresenterConsole::OnEraseBkgnd(CDC*) { return TRUE; }

void CPresenterConsole::OnSize(UINT, int, int) { InvalidateRect(nullptr, FALSE); }

// ---- Input: the show's, as if given to the show ----

void CPresenterConsole::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == kRestartKey) {
        m_clock.Restart(WallClockNow());
        InvalidateRect(nullptr, FALSE);
        return;
    }
    // Escape may close the program, and this window with it: nothing may follow.
    if (g_pView) g_pView->OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPresenterConsole::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (g_pView) g_pView->OnChar(nChar, nRepCnt, nFlags);
}

BOOL CPresenterConsole::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    return g_pView ? g_pView->OnMouseWheel(nFlags, zDelta, pt) : TRUE;
}

void CPresenterConsole::OnLButtonDown(UINT, CPoint point) {
    const SIZE show = ShowSize();
    const std::optional<ShowPoint> at = ToShowPoint(m_layout.current, point.x, point.y, show.cx, show.cy);
    if (!at || !g_pView) return;
    // As real messages, so that the view handles the click as it handles its own.
    const HWND view = g_pView->m_hWnd;
    const LPARAM where = MAKELPARAM(at->x, at->y);
    ::SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, where);
    if (::IsWindow(view)) ::SendMessageW(view, WM_LBUTTONUP, 0, where);
}

void CPresenterConsole::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == m_nClockTimer) InvalidateRect(nullptr, FALSE);
}

void CPresenterConsole::OnClose() { ::DestroyWindow(m_hWnd); }

void CPresenterConsole::OnNcDestroy() {
    if (s_pOpen == this) s_pOpen = nullptr;
    delete this;
}

void AppendConsoleRequests(int row, bool photo, std::vector<PictureRequest>& wanted) {
    if (CPresenterConsole* console = CPresenterConsole::Current()) console->ShowPainted(row, photo, wanted);
}
