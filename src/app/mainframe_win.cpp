#include "app/mainframe.h"

#include <algorithm>

#include "screens/frame_layout.h"
#include "screens/monitors_win.h"
#include "console/console_win.h"
#include "pictures/screen_pictures_win.h"
#include "framework/dc.h"
#include "framework/gdi.h"
#include "framework/window_dpi.h"
#include "res/resource.h"
#include "render/geometry.h"
#include "view/view.h"

namespace {

constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZE | FWS_ADDTOTITLE;

// The frame around a client area for this style and menu, at the window's own DPI where the
// system can say (the manifest declares the program per-monitor DPI-aware, so this is the
// physical frame on the window's monitor).
FrameInsets InsetsFor(DWORD style, DWORD exStyle, bool menu, HWND hwnd) {
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    const RECT client{0, 0, 1000, 1000};
    RECT window = client;
    const UINT dpi = hwnd ? static_cast<UINT>(fw::WindowDpi(hwnd)) : 0;
    if (!(adjustForDpi && dpi && adjustForDpi(&window, style, menu, exStyle, dpi)))
        ::AdjustWindowRectEx(&window, style, menu, exStyle);
    return InsetsBetween(ToSlideRect(client), ToSlideRect(window));
}

FrameInsets InsetsOf(HWND hwnd) {
    return InsetsFor(static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE)),
                     static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE)), ::GetMenu(hwnd) != nullptr, hwnd);
}

// The client area in screen coordinates.
SlideRect ClientOnScreen(HWND hwnd) {
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    POINT origin{0, 0};
    ::ClientToScreen(hwnd, &origin);
    return {origin.x, origin.y, origin.x + rc.right, origin.y + rc.bottom};
}

CRect ToCRect(const SlideRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

}  // namespace

CMainFrame::CMainFrame() {
    // Until the first fit: the primary monitor, with the frame the window will be created with.
    const HMONITOR primary = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    m_rcFullScreen = ToCRect(FullScreenRect(MonitorRect(primary), InsetsFor(kFrameStyle, 0, true, nullptr)));
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.style = kFrameStyle;
    cs.lpszClass = AfxRegisterWndClass(0);
    return TRUE;
}

// The base makes the view; the frame notes the monitors there are, to tell a new one later.
int CMainFrame::OnCreate(CREATESTRUCTW* cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    for (const MonitorEntry& m : Monitors::Now().entries) m_monitorsSeen.push_back(m.device);
    return 0;
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DISPLAYCHANGE) OnDisplayChange();
    if (msg == WM_WINDOWPOSCHANGING) OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
    if (msg == WM_DPICHANGED) {
        OnDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    if (m_demo.OnFrameMessage(msg, wParam, lParam)) return 0;
    // The console's item shows whether it is open.
    if (msg == WM_INITMENUPOPUP)
        ::CheckMenuItem(reinterpret_cast<HMENU>(wParam), ID_PRESENTER_CONSOLE,
                        MF_BYCOMMAND | (CPresenterConsole::Current() ? MF_CHECKED : MF_UNCHECKED));
    return CFrameWnd::WindowProc(msg, wParam, lParam);
}

void CMainFrame::OnPresenterConsole() {
    if (CPresenterConsole* console = CPresenterConsole::Current()) ::DestroyWindow(console->m_hWnd);
    else OpenConsole();
}

void CMainFrame::OpenConsole() {
    if (CPresenterConsole::Current() || !m_hWnd) return;
    // On a monitor of its own when there is one; else an ordinary window over the show's monitor.
    const Monitors now = Monitors::Now();
    const int own = ConsoleMonitorFor(now.entries, ShowMonitorIn(now));
    ConsoleTies ties;
    ties.showFrame = m_hWnd;
    ties.showView = StageView();
    ties.talk = &m_talk;
    ties.pictures = [] { return g_pView ? g_pView->m_pictures.get() : nullptr; };
    CPresenterConsole::Open(ties, now.At(own));
}

bool CMainFrame::ConsoleOpen() const { return CPresenterConsole::Current() != nullptr; }

HWND CMainFrame::StageView() const {
    const CView* view = GetActiveView();
    return view ? view->m_hWnd : nullptr;
}

int CMainFrame::ConsoleMonitorIn(const Monitors& now) const {
    const CPresenterConsole* console = CPresenterConsole::Current();
    if (!console || console->OwnMonitorDevice().empty()) return -1;
    for (size_t i = 0; i < now.entries.size(); ++i)
        if (now.entries[i].device == console->OwnMonitorDevice()) return static_cast<int>(i);
    return -1;
}

// The console goes with the show.
void CMainFrame::OnDestroy() {
    if (CPresenterConsole* console = CPresenterConsole::Current()) ::DestroyWindow(console->m_hWnd);
    CFrameWnd::OnDestroy();
}

void CMainFrame::OnFullScreen() {
    RecalcLayout(TRUE);
    if (!m_bFullScreen) {
        // Big mode's monitor: the window goes there first, so that leaving full-screen stays on it.
        const HMONITOR own = ::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST);
        if (m_hNextMonitor && m_hNextMonitor != own) {
            RECT rc;
            GetWindowRect(&rc);
            const SlideRect moved = MoveOntoMonitor(ToSlideRect(rc), MonitorRect(own), MonitorRect(m_hNextMonitor));
            MoveWindow(moved.left, moved.top, moved.Width(), moved.Height(), FALSE);
        }
        m_hNextMonitor = nullptr;
        GetWindowRect(&m_rcNormal);
        FitToMonitor(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST));
        m_bFullScreen = true;
        m_awake.emplace();
        return;
    }
    // The monitor the window was on may have gone meanwhile: then it comes back on this one.
    SlideRect normal = ToSlideRect(m_rcNormal);
    const HMONITOR before = ::MonitorFromRect(&m_rcNormal, MONITOR_DEFAULTTONULL);
    if (!before) normal = MoveOntoMonitor(normal, normal, ToSlideRect(m_rcMonitor));
    ClipToMonitor(false);
    m_bToggling = TRUE;
    MoveWindow(normal.left, normal.top, normal.Width(), normal.Height(), TRUE);
    m_bToggling = FALSE;
    m_bFullScreen = false;
    m_rcMonitor = CRect();
    m_strMonitorDevice.clear();
    m_awake.reset();
}

void CMainFrame::FitToMonitor(HMONITOR monitor) {
    const SlideRect target = MonitorRect(monitor);
    m_rcMonitor = ToCRect(target);
    m_strMonitorDevice = MonitorDevice(monitor);
    m_rcFullScreen = ToCRect(FullScreenRect(target, InsetsOf(m_hWnd)));
    // The region of the last fit would cut the window at its old size while it moves.
    ClipToMonitor(false);
    m_bToggling = TRUE;
    MoveWindow(m_rcFullScreen.left, m_rcFullScreen.top, m_rcFullScreen.Width(), m_rcFullScreen.Height(), TRUE);
    // A frame the rules did not foresee (a menu bar that wraps, a platform's own idea of the
    // border) shows in the client area it gave: correct by what is measured, once.
    const FrameInsets measured = InsetsBetween(ClientOnScreen(m_hWnd), ToSlideRect(m_rcFullScreen));
    const SlideRect corrected = FullScreenRect(target, measured);
    if (ToCRect(corrected) != m_rcFullScreen) {
        m_rcFullScreen = ToCRect(corrected);
        MoveWindow(m_rcFullScreen.left, m_rcFullScreen.top, m_rcFullScreen.Width(), m_rcFullScreen.Height(), TRUE);
    }
    m_bToggling = FALSE;
    ClipToMonitor(true);
}

void CMainFrame::ClipToMonitor(bool clip) {
    if (!clip) {
        ::SetWindowRgn(m_hWnd, nullptr, TRUE);
        return;
    }
    RECT window;
    GetWindowRect(&window);
    const SlideRect client = ClientOnScreen(m_hWnd);
    fw::Region region(::CreateRectRgn(client.left - window.left, client.top - window.top, client.right - window.left,
                                      client.bottom - window.top));
    // The system owns the region once it is the window's.
    if (region && ::SetWindowRgn(m_hWnd, region.get(), TRUE)) region.release();
}

int CMainFrame::ShowMonitorIn(const Monitors& now) const {
    if (m_bFullScreen) return FindMonitor(now.entries, m_strMonitorDevice, ToSlideRect(m_rcMonitor));
    return now.IndexOf(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST));
}

void CMainFrame::MoveShow(HMONITOR from, HMONITOR to) {
    if (!to || from == to) return;
    const SlideRect fromRc = MonitorRect(from), toRc = MonitorRect(to);
    if (m_bFullScreen) {
        // Leaving full-screen later keeps the window on its new monitor.
        m_rcNormal = ToCRect(MoveOntoMonitor(ToSlideRect(m_rcNormal), fromRc, toRc));
        FitToMonitor(to);
        return;
    }
    RECT rc;
    GetWindowRect(&rc);
    const SlideRect moved = MoveOntoMonitor(ToSlideRect(rc), fromRc, toRc);
    MoveWindow(moved.left, moved.top, moved.Width(), moved.Height(), TRUE);
}

void CMainFrame::OnDisplayChange() {
    const Monitors now = Monitors::Now();
    if (now.entries.empty()) return;
    std::vector<int> added;
    std::vector<std::wstring> seen;
    for (size_t i = 0; i < now.entries.size(); ++i) {
        const std::wstring& device = now.entries[i].device;
        if (std::find(m_monitorsSeen.begin(), m_monitorsSeen.end(), device) == m_monitorsSeen.end())
            added.push_back(static_cast<int>(i));
        seen.push_back(device);
    }
    m_monitorsSeen = std::move(seen);

    const int show = ShowMonitorIn(now);
    CPresenterConsole* console = CPresenterConsole::Current();
    const RoomPlaces places = PlacesAfterChange(now.entries, show, m_bFullScreen, ConsoleMonitorIn(now), added);
    if (m_bFullScreen) {
        // Fitted again on its own monitor (its size may have changed), or moved to a projector.
        if (places.show != show) MoveShow(now.At(show), now.At(places.show));
        else FitToMonitor(now.At(show));
    } else {
        // A window whose monitor went comes back on the nearest one.
        RECT rc;
        GetWindowRect(&rc);
        if (!::MonitorFromRect(&rc, MONITOR_DEFAULTTONULL)) MoveShow(nullptr, now.At(show));
    }
    if (console) console->PlaceOn(now.At(places.console));
}

void CMainFrame::SwapScreens() {
    const Monitors now = Monitors::Now();
    const int show = ShowMonitorIn(now);
    CPresenterConsole* console = CPresenterConsole::Current();
    const int target = SwapTarget(now.entries, show, ConsoleMonitorIn(now));
    if (target < 0 || show < 0) return;
    MoveShow(now.At(show), now.At(target));
    if (console) console->PlaceOn(now.At(show));
}

void CMainFrame::OnDpiChanged(const RECT& suggested) {
    if (CView* view = GetActiveView()) view->InvalidateRect(nullptr, FALSE);  // texts follow the DPI
    if (m_bToggling) return;  // the frame's own move: it fits itself when the move is done
    if (m_bFullScreen) {
        const Monitors now = Monitors::Now();
        FitToMonitor(now.At(ShowMonitorIn(now)));
        return;
    }
    SetWindowPos(nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMainFrame::OnWindowPosChanging(WINDOWPOS* pos) {
    // Minimising is the speaker's: a full-screen window still goes to the taskbar.
    if (!m_bFullScreen || m_bToggling || ::IsIconic(m_hWnd)) return;
    if (!(pos->flags & SWP_NOMOVE)) {
        pos->x = m_rcFullScreen.left;
        pos->y = m_rcFullScreen.top;
    }
    if (!(pos->flags & SWP_NOSIZE)) {
        pos->cx = m_rcFullScreen.Width();
        pos->cy = m_rcFullScreen.Height();
    }
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* mmi) {
    if (m_bToggling) {
        mmi->ptMaxPosition = {m_rcFullScreen.left, m_rcFullScreen.top};
        mmi->ptMaxSize = {m_rcFullScreen.Width(), m_rcFullScreen.Height()};
        mmi->ptMaxTrackSize = mmi->ptMaxSize;
    } else if (m_bFullScreen) {
        // Full-screen keeps its place and size: a platform that puts back a maximised window's
        // earlier size afterwards (Wine without a window manager), or maximises it again into a
        // new work area, is held to the monitor.
        mmi->ptMaxPosition = {m_rcFullScreen.left, m_rcFullScreen.top};
        mmi->ptMaxSize = {m_rcFullScreen.Width(), m_rcFullScreen.Height()};
        mmi->ptMaxTrackSize = mmi->ptMaxSize;
        mmi->ptMinTrackSize = mmi->ptMaxTrackSize;
    }
    Default();
}

BOOL CMainFrame::OnEraseBkgnd(CDC* pDC) {
    RECT clip;
    pDC->GetClipBox(&clip);
    const CRect slide = g_pView ? g_pView->m_rcSlide : CRect();
    const EraseStrips strips = StripsToErase(ToSlideRect(clip), ToSlideRect(slide));
    for (int i = 0; i < strips.count; ++i) {
        const SlideRect& r = strips.rc[i];
        pDC->FillSolidRect(RECT{r.left, r.top, r.right, r.bottom}, RGB(255, 255, 255));
    }
    return TRUE;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_NCMOUSELEAVE && g_pView) g_pView->ClearHover();
    const CPresenterConsole* console = CPresenterConsole::Current();
    // Some keys skip the accelerators: the view's key table decides (any key closes the key help).
    const bool toShow = (GetActiveView() && pMsg->hwnd == GetActiveView()->m_hWnd) || (console && pMsg->hwnd == console->m_hWnd);
    if (toShow && pMsg->message == WM_KEYDOWN && g_pView &&
        g_pView->TakesKeyBeforeAccelerators(static_cast<UINT>(pMsg->wParam), pMsg->lParam))
        return FALSE;
    // A key given to the presenter console meets the accelerators as if given to the view.
    if (console && pMsg->hwnd == console->m_hWnd && GetActiveView() && pMsg->message >= WM_KEYFIRST &&
        pMsg->message <= WM_KEYLAST) {
        MSG asView = *pMsg;
        asView.hwnd = GetActiveView()->m_hWnd;
        return CFrameWnd::PreTranslateMessage(&asView);
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}

bool CMainFrame::OnCmdMsg(UINT id) {
    switch (id) {
    case ID_FULL_SCREEN_MODE: OnFullScreen(); return true;
    case ID_PRESENTER_CONSOLE: OnPresenterConsole(); return true;
    default: return false;
    }
}
