#include "console/console_win.h"

#include <algorithm>
#include <cmath>

#include "console/console_check.h"
#include "console/console_demo.h"
#include "deck/deck.h"
#include "deck/page_cursor.h"
#include "framework/dc.h"
#include "framework/window_dpi.h"
#include "pictures/picture_cache.h"
#include "pictures/screen_pictures_win.h"
#include "render/branding_layout.h"
#include "render/memldc.h"
#include "render/slide_renderer_win.h"
#include "screens/monitors_win.h"
#include "talk/talk_time.h"

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

void Frame(HDC dc, const SlideRect& r, COLORREF colour, int width) {
    for (int i = 0; i < width; ++i) {
        Fill(dc, {r.left - i - 1, r.top - i - 1, r.right + i + 1, r.top - i}, colour);
        Fill(dc, {r.left - i - 1, r.bottom + i, r.right + i + 1, r.bottom + i + 1}, colour);
        Fill(dc, {r.left - i - 1, r.top - i, r.left - i, r.bottom + i}, colour);
        Fill(dc, {r.right + i, r.top - i, r.right + i + 1, r.bottom + i}, colour);
    }
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

// One screenful of the show, as the console draws it: a blank screen, the photo, or the slide.
void DrawScreenfulAt(const Canvas& canvas, const Screenful& s, const SlideRect& at, const Branding& branding) {
    if (s.blank != Blank::None) return Fill(canvas.dc, at, s.blank == Blank::White ? RGB(255, 255, 255) : RGB(0, 0, 0));
    if (s.photo.empty() || !DrawPhotoAt(canvas, s.photo, at)) DrawSlideAt(canvas, s.row, at, branding);
}

SlideRect PartOf(const SlideRect& r, const SlideArea& a) {
    return {r.left + RoundHalfUp(a.left * r.Width()), r.top + RoundHalfUp(a.top * r.Height()),
            r.left + RoundHalfUp(a.right * r.Width()), r.top + RoundHalfUp(a.bottom * r.Height())};
}

}  // namespace

CPresenterConsole* CPresenterConsole::s_pOpen = nullptr;

CPresenterConsole* CPresenterConsole::Open(const ConsoleTies& ties, HMONITOR monitor) {
    if (s_pOpen) return s_pOpen;
    if (!ties.showFrame || !ties.talk) return nullptr;
    const HMONITOR showMonitor = ::MonitorFromWindow(ties.showFrame, MONITOR_DEFAULTTONEAREST);
    const SlideRect rc = monitor ? MonitorRect(monitor) : RehearsalRect(showMonitor);
    auto* console = new CPresenterConsole(ties);
    // A window of its own, not owned by the show's frame (the frame closes it when the show goes):
    // an owned window always lies above its owner, so the show could never be the top window, and
    // Wine raises a window on the X screen only when it tops the stack. The show brought back from
    // a demo would then stay under the simulator on the projector.
    if (!console->CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"Presenter Console - Pemboro",
                           monitor ? kFullStyle : kWindowStyle, rc.left, rc.top, rc.Width(), rc.Height(), nullptr,
                           nullptr)) {
        delete console;
        return nullptr;
    }
    s_pOpen = console;
    if (monitor) console->m_strMonitorDevice = MonitorDevice(monitor);
    else console->m_rcWindowed = rc;
    ties.talk->Watch(console);
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

SlideRect CPresenterConsole::WindowedRect() const {
    const RECT was{m_rcWindowed.left, m_rcWindowed.top, m_rcWindowed.right, m_rcWindowed.bottom};
    if (m_rcWindowed.Width() > 0 && ::MonitorFromRect(&was, MONITOR_DEFAULTTONULL)) return m_rcWindowed;
    return RehearsalRect(::MonitorFromWindow(m_ties.showFrame, MONITOR_DEFAULTTONEAREST));
}

void CPresenterConsole::TalkChanged(TalkChange) {
    // Whatever changed is on the console's one page: it repaints it, once the queue is idle.
    InvalidateRect(nullptr, FALSE);
}

LRESULT CPresenterConsole::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_DPICHANGED:
        OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        PassOn(msg, wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL: {
        // Ctrl and the wheel over the console's slide zoom the show at that place of the slide.
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ScreenToClient(m_hWnd, &pt);
        const std::optional<SlidePoint> at = OnSlide(CPoint(pt.x, pt.y));
        if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) && at && TheTalk().Speaker().photo.empty()) {
            Talk& talk = TheTalk();
            const SlidePoint screen = ScreenAt(talk.Speaker().zoom, *at);
            const int notches = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : -1;
            talk.ZoomBy(notches, {std::clamp(screen.x, 0.0, 1.0), std::clamp(screen.y, 0.0, 1.0)});
            return 0;
        }
        PassOn(msg, wParam, lParam);
        return 0;
    }
    case WM_MOUSELEAVE:
        if (m_bPointing) {
            m_bPointing = false;
            TheTalk().PointAt(std::nullopt);
        }
        return 0;
    default: break;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CPresenterConsole::PassOn(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Escape may close the program, and this window with it: nothing of it is used afterwards.
    const HWND view = m_ties.showView;
    if (view && ::IsWindow(view)) ::SendMessageW(view, msg, wParam, lParam);
}

void CPresenterConsole::OnDpiChanged(const RECT& suggested) {
    InvalidateRect(nullptr, FALSE);  // the texts follow the DPI at the next paint
    if (m_bPlacing) return;          // the move that brought the change sets the place itself
    if (!m_strMonitorDevice.empty()) {
        const Monitors now = Monitors::Now();
        for (size_t i = 0; i < now.entries.size(); ++i)
            if (now.entries[i].device == m_strMonitorDevice) return PlaceOn(now.At(static_cast<int>(i)));
    }
    SetWindowPos(nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<Wanted> CPresenterConsole::WantedFor(const Screenful& speaker, const ConsoleLayout& layout) const {
    std::vector<Wanted> wanted;
    ScreenPictures* pictures = m_ties.pictures ? m_ties.pictures() : nullptr;
    if (!pictures) return wanted;
    const Branding branding{g_brandLogoId, g_secondLogoId};
    const auto slide = [&](int r, const SlideRect& at) {
        if (r >= 0 && at.Width() > 0 && at.Height() > 0)
            wanted.push_back({SlideRequest(*pictures, r, AtOrigin(at), branding), false});
    };
    // What the console shows now, then what one Page Down brings to it; on a photo, the slide
    // drawn in its stead when the photo does not load.
    const int row = speaker.row;
    const bool photo = !speaker.photo.empty();
    if (photo) wanted.push_back({PhotoRequest(speaker.photo, AtOrigin(layout.current)), false});
    else slide(row, layout.current);
    const int next = NextRowAfter(row, kLastSlide);
    slide(next, layout.next);
    if (photo) slide(row, layout.current);
    slide(next, layout.current);
    slide(next < 0 ? -1 : NextRowAfter(next, kLastSlide), layout.next);
    return wanted;
}

SIZE CPresenterConsole::ShowSize() const {
    const Talk& talk = TheTalk();
    if (talk.ShowWidth() > 0 && talk.ShowHeight() > 0) return {talk.ShowWidth(), talk.ShowHeight()};
    const SlideRect monitor = MonitorRect(::MonitorFromWindow(m_ties.showFrame, MONITOR_DEFAULTTOPRIMARY));
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
    const Talk& talk = TheTalk();
    const SIZE show = ShowSize();
    m_layout = LayOutConsole(client.right, client.bottom, show.cx, show.cy, fw::WindowDpi(m_hWnd), talk.Minutes() > 0);
    m_written.clear();
    Fill(dc, ToSlideRect(client), kConsoleGround);

    ScreenPictures* pictures = m_ties.pictures ? m_ties.pictures() : nullptr;
    const Canvas canvas{dc, Medium::Screen, pictures};
    const Branding branding{g_brandLogoId, g_secondLogoId};
    // The console shows the speaker's slide (which the audience sees too unless the show is
    // frozen), and says itself which pictures it wants: those it draws now, then those one Page
    // Down brings.
    const Screenful speaker = talk.Speaker();
    if (pictures) pictures->cache().Want(PictureClient::Console, WantedFor(speaker, m_layout), 2);
    Screenful mine = speaker;
    mine.blank = Blank::None;  // the speaker sees the slide behind a blank screen
    DrawScreenfulAt(canvas, mine, m_layout.current, branding);
    DrawTools(dc);
    if (talk.Frozen()) {
        // What the audience sees, small, where the next slide goes, marked as frozen.
        // What the audience sees, small, where the next slide goes, under a band that says so.
        const SlideRect& small = m_layout.next;
        DrawScreenfulAt(canvas, talk.Audience(), small, branding);
        Frame(dc, small, kFrozenMark, std::max(2, m_layout.textHeight / 12));
        const SlideRect band{small.left, small.top, small.right, small.top + std::min(small.Height() / 4, m_layout.textHeight)};
        Fill(dc, band, kFrozenMark);
        PutText(dc, band, L"Frozen", FittingHeight(dc, L"Frozen", band.Height() * 5 / 6, band), kConsoleGround);
    } else if (const int next = NextRowAfter(speaker.row, kLastSlide); next >= 0) {
        DrawSlideAt(canvas, next, m_layout.next, branding);
    } else {
        Fill(dc, m_layout.next, kEmptySlide);
        PutText(dc, m_layout.next, L"End", m_layout.clockHeight, kTalkWaiting);
    }
    DrawTimes(dc, client);
    DrawDemoCheck(dc, client);
}

void CPresenterConsole::DrawDemoCheck(HDC dc, const RECT& client) {
    const Talk& talk = TheTalk();
    m_checkDrawn.clear();
    // A demo's lines stand in the same place, and matter more while it runs.
    if (talk.NoticeLines().empty() || talk.Demo()) return;
    const CheckLinesLayout at = LayOutCheckLines(m_layout, client.bottom);
    m_checkDrawn = FitCheckLines(talk.NoticeLines(), at.fits);
    int height = at.textHeight;  // one size for all, which the widest line fits
    for (const std::wstring& line : m_checkDrawn) height = FittingHeight(dc, line, height, at.first);
    SlideRect box = at.first;
    for (size_t i = 0; i < m_checkDrawn.size(); ++i) {
        const COLORREF colour = i > 0 ? kConsoleText : talk.NoticeGood() ? kCheckReady : kCheckProblem;
        PutText(dc, box, m_checkDrawn[i], height, colour);
        box.top += at.pitch;
        box.bottom += at.pitch;
    }
}

void CPresenterConsole::DrawTimes(HDC dc, const RECT& client) {
    const Talk& talk = TheTalk();
    const int minutes = talk.Minutes();
    const double now = TalkClockNow();
    const std::wstring counter = CounterText(talk.Speaker().row, SLIDE_COUNT);
    PutText(dc, m_layout.counter, counter, FittingHeight(dc, counter, m_layout.textHeight, m_layout.counter), kConsoleText);
    const TalkClock& clock = talk.Clock();
    const long long elapsed = clock.Elapsed(now);
    const std::wstring since = ElapsedText(elapsed);
    const long long left = TimeLeft(minutes, elapsed);
    const std::wstring until = minutes > 0 ? TimeLeftText(left) : std::wstring();
    // Both times in one size, which the widest of them (or of what they will show) fits, so that
    // the digits neither jump nor run into each other as they change.
    int timeHeight = FittingHeight(dc, minutes > 0 ? L"-0:00:00" : L"0:00:00", m_layout.textHeight, m_layout.elapsed);
    timeHeight = FittingHeight(dc, since, timeHeight, m_layout.elapsed);
    if (minutes > 0) timeHeight = FittingHeight(dc, until, timeHeight, m_layout.left);
    PutText(dc, m_layout.elapsed, since, timeHeight, clock.Started() ? kTalkRunning : kTalkWaiting);
    if (minutes > 0) PutText(dc, m_layout.left, until, timeHeight, ColourOf(ToneOfTimeLeft(minutes, left, clock.Started())));
    const std::wstring wall = WallClockText();
    PutText(dc, m_layout.clock, wall, FittingHeight(dc, wall, m_layout.clockHeight, m_layout.clock), kConsoleClock);
    m_demoTexts.clear();
    if (const auto& demo = talk.Demo()) {
        const DemoLines lines = LayOutDemoLines(m_layout, client.bottom);
        const std::wstring running = DemoRunningText(demo->fileName, DemoSeconds(*demo, now));
        const std::wstring back = DemoBackText(*demo);
        m_demoTexts = {running, back};
        const int height = FittingHeight(dc, back, FittingHeight(dc, running, lines.textHeight, lines.running), lines.back);
        PutText(dc, lines.running, running, height, kTalkRunning);
        PutText(dc, lines.back, back, height, kConsoleText);
    }
}

void CPresenterConsole::DrawTools(HDC dc) const {
    const Talk& talk = TheTalk();
    const SlideRect& slide = m_layout.current;
    if (slide.Width() <= 0 || !talk.Speaker().photo.empty()) return;
    if (const auto& zoom = talk.Speaker().zoom) Frame(dc, PartOf(slide, *zoom), kZoomFrame, std::max(2, slide.Width() / 400));
    // The dot stands on the audience's slide: on the console's while the show follows the speaker.
    if (const auto dot = talk.Dot(); dot && !talk.Frozen()) {
        const int r = std::max(3, slide.Width() / 120);
        const int x = slide.left + static_cast<int>(dot->x * slide.Width());
        const int y = slide.top + static_cast<int>(dot->y * slide.Height());
        const fw::Brush red(::CreateSolidBrush(RGB(232, 24, 32)));
        const fw::Pen rim(::CreatePen(PS_SOLID, 1, RGB(255, 250, 245)));
        const fw::ScopedSelect brush(dc, red.get());
        const fw::ScopedSelect pen(dc, rim.get());
        ::Ellipse(dc, x - r, y - r, x + r + 1, y + r + 1);
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

void CPresenterConsole::PutText(HDC dc, const SlideRect& box, const std::wstring& text, int height, COLORREF colour) {
    m_written.push_back(text);
    const fw::Font font = ConsoleFont(height);
    const fw::ScopedTextState state(dc, font.get(), colour, TA_LEFT | TA_TOP, TRANSPARENT);
    RECT rc{box.left, box.top, box.right, box.bottom};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

BOOL CPresenterConsole::OnEraseBkgnd(CDC*) { return TRUE; }

void CPresenterConsole::OnSize(UINT, int, int) { InvalidateRect(nullptr, FALSE); }

// ---- The mouse: clicks on the slide, the pointer, the zoom's drag ----

std::optional<SlidePoint> CPresenterConsole::OnSlide(CPoint point) const {
    const SlideRect& r = m_layout.current;
    if (r.Width() <= 0 || r.Height() <= 0) return std::nullopt;
    if (point.x < r.left || point.x >= r.right || point.y < r.top || point.y >= r.bottom) return std::nullopt;
    return SlidePoint{(point.x - r.left + 0.5) / r.Width(), (point.y - r.top + 0.5) / r.Height()};
}

void CPresenterConsole::OnLButtonDown(UINT, CPoint point) {
    const std::optional<SlidePoint> at = OnSlide(point);
    if (!at) return;
    Talk& talk = TheTalk();
    if (talk.ZoomArmed()) {
        // After Z, a drag over the console's slide picks the part the show enlarges.
        m_dragFrom = point;
        m_dragTo = point;
        ::SetCapture(m_hWnd);
        DrawDragFrame();
        return;
    }
    // The same place of the slide on the show, through its zoom (it may lie outside the part
    // shown): a hotspot seen on the console opens as if clicked there.
    const HWND view = m_ties.showView;
    const SIZE show = ShowSize();
    if (!view) return;
    const SlidePoint s = ScreenAt(talk.Speaker().zoom, *at);
    const int x = static_cast<int>(std::floor(s.x * show.cx)), y = static_cast<int>(std::floor(s.y * show.cy));
    // As real messages, so that the view handles the click as it handles its own.
    const LPARAM where = MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
    ::SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, where);
    if (::IsWindow(view)) ::SendMessageW(view, WM_LBUTTONUP, 0, where);
}

void CPresenterConsole::OnLButtonUp(UINT, CPoint point) {
    if (!m_dragFrom) return;
    DrawDragFrame();
    const CPoint from = *m_dragFrom;
    m_dragFrom.reset();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    const SlideRect& r = m_layout.current;
    const auto fraction = [](int v, int from, int size) { return std::clamp((v - from + 0.5) / size, 0.0, 1.0); };
    SlideArea area{fraction(std::min(from.x, point.x), r.left, r.Width()), fraction(std::min(from.y, point.y), r.top, r.Height()),
                   fraction(std::max(from.x, point.x), r.left, r.Width()), fraction(std::max(from.y, point.y), r.top, r.Height())};
    // A click: the part around it, half of the slide.
    if (std::abs(point.x - from.x) < 4 && std::abs(point.y - from.y) < 4)
        area = {area.left - 0.25, area.top - 0.25, area.left + 0.25, area.top + 0.25};
    TheTalk().ZoomTo(area);
}

void CPresenterConsole::OnMouseMove(UINT, CPoint point) {
    if (m_dragFrom) {
        DrawDragFrame();
        m_dragTo = point;
        DrawDragFrame();
        return;
    }
    Talk& talk = TheTalk();
    // The console's slide is the audience's while the show is not frozen: the dot follows there.
    if (!talk.PointerOn() || talk.Frozen()) return;
    const std::optional<SlidePoint> at = OnSlide(point);
    if (at && !m_bPointing) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
    }
    if (at || m_bPointing) talk.PointAt(at);
    m_bPointing = at.has_value();
}

void CPresenterConsole::DrawDragFrame() {
    if (!m_dragFrom) return;
    const fw::WindowDc dc(m_hWnd);
    if (!dc) return;
    const RECT frame{std::min(m_dragFrom->x, m_dragTo.x), std::min(m_dragFrom->y, m_dragTo.y),
                     std::max(m_dragFrom->x, m_dragTo.x) + 1, std::max(m_dragFrom->y, m_dragTo.y) + 1};
    ::DrawFocusRect(dc.get(), &frame);
}

void CPresenterConsole::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == m_nClockTimer) InvalidateRect(nullptr, FALSE);
}

void CPresenterConsole::OnClose() { ::DestroyWindow(m_hWnd); }

void CPresenterConsole::OnNcDestroy() {
    // A console that goes wants no pictures any more: they are let go at once. The talk, its
    // clock and length among them, stays with the show.
    if (ScreenPictures* pictures = m_ties.pictures ? m_ties.pictures() : nullptr)
        pictures->cache().Want(PictureClient::Console, {});
    if (m_bPointing) TheTalk().PointAt(std::nullopt);
    TheTalk().Unwatch(this);
    if (s_pOpen == this) s_pOpen = nullptr;
    delete this;
}
