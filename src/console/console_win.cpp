#include "console/console_win.h"

#include <algorithm>

#include "app/app.h"
#include "app/mainframe.h"
#include "app/monitors_win.h"
#include "console/console_demo.h"
#include "console/talk_time.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/dc.h"
#include "framework/window_dpi.h"
#include "launch/target_names.h"
#include "view/hover_rules.h"
#include "view/memldc.h"
#include "pictures/picture_cache.h"
#include "pictures/screen_pictures_win.h"
#include "view/slide_renderer_win.h"
#include "view/view.h"

namespace {

constexpr COLORREF kEmptySlide = RGB(52, 56, 66);
constexpr UINT kClockTimerMs = 1000;

// Full-window on a monitor of its own; a window to move and size for rehearsing.
constexpr DWORD kFullStyle = WS_POPUP | WS_SYSMENU;
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;

COLORREF ColourOf(TimeLeftTone tone) {
    switch (tone) {
    case TimeLeftTone::Waiting: return kTalkWaiting;
    case TimeLeftTone::Warning: return kTimeWarning;
    case TimeLeftTone::Over: return kTimeOver;
    case TimeLeftTone::Usual: break;
    }
    return kConsoleText;
}

// The window over the show's monitor, three fifths of its work area, for rehearsing.
SlideRect RehearsalRect(HMONITOR showMonitor) {
    const SlideRect work = MonitorWorkArea(showMonitor);
    const int w = work.Width() * 3 / 5, h = work.Height() * 3 / 5;
    const int left = work.left + (work.Width() - w) / 2, top = work.top + (work.Height() - h) / 2;
    return {left, top, left + w, top + h};
}

void Fill(HDC dc, const SlideRect& r, COLORREF colour) {
    const COLORREF old = ::SetBkColor(dc, colour);
    const RECT rc{r.left, r.top, r.right, r.bottom};
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
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
int g_talkMinutes = 0;

void SetTalkMinutes(int minutes) {
    g_talkMinutes = minutes;
    if (CPresenterConsole* console = CPresenterConsole::Current()) console->InvalidateRect(nullptr, FALSE);
}

CPresenterConsole* CPresenterConsole::Open(CMainFrame* frame) {
    if (s_pOpen) return s_pOpen;
    if (!frame || !frame->m_hWnd) return nullptr;
    // On a monitor of its own when there is one; else an ordinary window over the show's monitor.
    const Monitors now = Monitors::Now();
    const HMONITOR showMonitor = ::MonitorFromWindow(frame->m_hWnd, MONITOR_DEFAULTTONEAREST);
    const HMONITOR own = now.At(ConsoleMonitorFor(now.entries, now.IndexOf(showMonitor)));
    const SlideRect rc = own ? MonitorRect(own) : RehearsalRect(showMonitor);
    auto* console = new CPresenterConsole(frame);
    // A window of its own, not owned by the show's frame (the frame closes it when the show goes):
    // an owned window always lies above its owner, so the show could never be the top window, and
    // Wine raises a window on the X screen only when it tops the stack. The show brought back from
    // a demo would then stay under the simulator on the projector.
    if (!console->CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"Presenter Console - Pemboro",
                           own ? kFullStyle : kWindowStyle, rc.left, rc.top, rc.Width(), rc.Height(), nullptr,
                           nullptr)) {
        delete console;
        return nullptr;
    }
    s_pOpen = console;
    if (own) console->m_strMonitorDevice = MonitorDevice(own);
    else console->m_rcWindowed = rc;
    console->m_clock.Observe(CurrentSlideIndex(), ShowsPhoto(g_pView), WallClockNow());
    console->m_nClockTimer = ::SetTimer(console->m_hWnd, 1, kClockTimerMs, nullptr);
    console->ShowWindow(SW_SHOW);
    console->UpdateWindow();
    return console;
}

void CPresenterConsole::PlaceOn(HMONITOR monitor) {
    const bool full = monitor != nullptr;
    // A window stays where the speaker put it.
    if (!full && m_strMonitorDevice.empty()) return;
    if (full && m_strMonitorDevice.empty()) {
        RECT was;
        GetWindowRect(&was);
        m_rcWindowed = ToSlideRect(was);
    }
    const SlideRect rc = full ? MonitorRect(monitor) : WindowedRect();
    m_strMonitorDevice = full ? MonitorDevice(monitor) : std::wstring();
    const LONG visible = ::GetWindowLongW(m_hWnd, GWL_STYLE) & WS_VISIBLE;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(full ? kFullStyle : kWindowStyle) | visible);
    m_bPlacing = true;
    SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_bPlacing = false;
    InvalidateRect(nullptr, FALSE);
}

int CPresenterConsole::OwnMonitorIn(const Monitors& now) const {
    if (m_strMonitorDevice.empty()) return -1;
    for (size_t i = 0; i < now.entries.size(); ++i) {
        if (now.entries[i].device == m_strMonitorDevice) return static_cast<int>(i);
    }
    return -1;
}

SlideRect CPresenterConsole::WindowedRect() const {
    const RECT was{m_rcWindowed.left, m_rcWindowed.top, m_rcWindowed.right, m_rcWindowed.bottom};
    if (m_rcWindowed.Width() > 0 && ::MonitorFromRect(&was, MONITOR_DEFAULTTONULL)) return m_rcWindowed;
    return RehearsalRect(::MonitorFromWindow(m_pFrame->m_hWnd, MONITOR_DEFAULTTONEAREST));
}

LRESULT CPresenterConsole::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DPICHANGED) {
        OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CPresenterConsole::OnDpiChanged(const RECT& suggested) {
    InvalidateRect(nullptr, FALSE);  // the texts follow the DPI at the next paint
    if (m_bPlacing) return;          // the move that brought the change sets the place itself
    const Monitors now = Monitors::Now();
    if (const HMONITOR own = now.At(OwnMonitorIn(now))) return PlaceOn(own);
    SetWindowPos(nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPresenterConsole::ShowPainted(int row, bool photo) {
    m_clock.Observe(row, photo, WallClockNow());
    InvalidateRect(nullptr, FALSE);
}

std::vector<Wanted> CPresenterConsole::WantedFor(int row, bool photo, const ConsoleLayout& layout) const {
    std::vector<Wanted> wanted;
    if (!g_pView || !g_pView->m_pictures) return wanted;
    ScreenPictures& pictures = *g_pView->m_pictures;
    const Branding branding{g_brandLogoId, g_secondLogoId};
    const auto slide = [&](int r, const SlideRect& at) {
        if (r >= 0 && at.Width() > 0 && at.Height() > 0)
            wanted.push_back({SlideRequest(pictures, r, AtOrigin(at), branding), false});
    };
    // What the console shows now, then what one Page Down brings to it; on a photo, the slide
    // drawn in its stead when the photo does not load.
    if (photo) wanted.push_back({PhotoRequest(g_pView->m_strPicture, AtOrigin(layout.current)), false});
    else slide(row, layout.current);
    const int next = NextRowAfter(row, kLastSlide);
    slide(next, layout.next);
    if (photo) slide(row, layout.current);
    slide(next, layout.current);
    slide(next < 0 ? -1 : NextRowAfter(next, kLastSlide), layout.next);
    return wanted;
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
    const int minutes = g_talkMinutes;
    m_layout = LayOutConsole(client.right, client.bottom, show.cx, show.cy, fw::WindowDpi(m_hWnd), minutes > 0);
    Fill(dc, ToSlideRect(client), kConsoleGround);

    CPemboroView* view = g_pView;
    const int row = CurrentSlideIndex();
    const Canvas canvas{dc, Medium::Screen, view ? view->m_pictures.get() : nullptr};
    const Branding branding{g_brandLogoId, g_secondLogoId};
    const bool photo = ShowsPhoto(view);
    // The console follows the show at its own paint, and says itself which pictures it wants:
    // the two it draws now, then those one Page Down brings.
    m_clock.Observe(row, photo, WallClockNow());
    if (view && view->m_pictures) view->m_pictures->cache().Want(PictureClient::Console, WantedFor(row, photo, m_layout), 2);
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
    const std::wstring counter = CounterText(row, SLIDE_COUNT);
    PutText(dc, m_layout.counter, counter, FittingHeight(dc, counter, m_layout.textHeight, m_layout.counter), kConsoleText);
    const long long elapsed = m_clock.Elapsed(now);
    const std::wstring since = ElapsedText(elapsed);
    const long long left = TimeLeft(minutes, elapsed);
    const std::wstring until = minutes > 0 ? TimeLeftText(left) : std::wstring();
    // Both times in one size, which the widest of them (or of what they will show) fits, so that
    // the digits neither jump nor run into each other as they change.
    int timeHeight = FittingHeight(dc, minutes > 0 ? L"-0:00:00" : L"0:00:00", m_layout.textHeight, m_layout.elapsed);
    timeHeight = FittingHeight(dc, since, timeHeight, m_layout.elapsed);
    if (minutes > 0) timeHeight = FittingHeight(dc, until, timeHeight, m_layout.left);
    PutText(dc, m_layout.elapsed, since, timeHeight, m_clock.Started() ? kTalkRunning : kTalkWaiting);
    if (minutes > 0)
        PutText(dc, m_layout.left, until, timeHeight, ColourOf(ToneOfTimeLeft(minutes, left, m_clock.Started())));
    const std::wstring clock = WallClockText();
    PutText(dc, m_layout.clock, clock, FittingHeight(dc, clock, m_layout.clockHeight, m_layout.clock), kConsoleClock);
    if (const auto demo = m_pFrame->m_demo.Status()) {
        const DemoLines lines = LayOutDemoLines(m_layout, client.bottom);
        const std::wstring running = DemoRunningText(demo->fileName, demo->seconds);
        const std::wstring back = DemoBackText(demo->row);
        const int height = FittingHeight(dc, back, FittingHeight(dc, running, lines.textHeight, lines.running), lines.back);
        PutText(dc, lines.running, running, height, kTalkRunning);
        PutText(dc, lines.back, back, height, kConsoleText);
    }
}

int CPresenterConsole::FittingHeight(HDC dc, const std::wstring& text, int height, const SlideRect& box) {
    // A little room on both sides of the text, so that two boxes side by side keep their texts apart.
    const int room = box.Width() * 9 / 10;
    for (int tries = 0; tries < 4 && height > 6; ++tries) {
        const fw::Font font = ConsoleFont(height);
        const fw::ScopedSelect select(dc, font.get());
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        if (size.cx <= room) break;
        height = std::max(6, static_cast<int>(static_cast<long long>(height) * room / size.cx));
    }
    return height;
}

fw::Font CPresenterConsole::ConsoleFont(int height) {
    // Sized in pixels and smoothed: as crisp on a HiDPI panel as the panel allows.
    return fw::Font(::CreateFontW(-height, 0, 0, 0, FW_SEMIBOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Tahoma"));
}

void CPresenterConsole::PutText(HDC dc, const SlideRect& box, const std::wstring& text, int height,
                                COLORREF colour) const {
    const fw::Font font = ConsoleFont(height);
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
    // Escape may close the program, and this window with it: only the console still open follows.
    if (g_pView) g_pView->OnKeyDown(nChar, nRepCnt, nFlags);
    FollowTheShow();
}

void CPresenterConsole::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (g_pView) g_pView->OnChar(nChar, nRepCnt, nFlags);
    FollowTheShow();
}

BOOL CPresenterConsole::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    const BOOL handled = g_pView ? g_pView->OnMouseWheel(nFlags, zDelta, pt) : TRUE;
    FollowTheShow();
    return handled;
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
    FollowTheShow();
}

void CPresenterConsole::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == m_nClockTimer) InvalidateRect(nullptr, FALSE);
}

void CPresenterConsole::OnClose() { ::DestroyWindow(m_hWnd); }

void CPresenterConsole::OnNcDestroy() {
    // A console that goes wants no pictures any more: they are let go at once.
    if (g_pView && g_pView->m_pictures) g_pView->m_pictures->cache().Want(PictureClient::Console, {});
    if (s_pOpen == this) s_pOpen = nullptr;
    delete this;
}

// Input given here changes the show, which may not paint (minimised, or covered): the console
// repaints at once all the same, not at its clock's next tick.
void CPresenterConsole::FollowTheShow() {
    if (CPresenterConsole* open = Current()) open->InvalidateRect(nullptr, FALSE);
}
