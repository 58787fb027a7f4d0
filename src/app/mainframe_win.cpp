#include "app/mainframe.h"

#include "app/frame_layout.h"
#include "app/monitors_win.h"
#include "console/console_win.h"
#include "framework/dc.h"
#include "framework/gdi.h"
#include "res/resource.h"
#include "view/geometry.h"
#include "view/view.h"

namespace {

constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZE | FWS_ADDTOTITLE;

// The frame around a client area for this style and menu, at the window's own DPI where the
// system can say (the manifest declares the program DPI-aware, so this is the physical frame).
FrameInsets InsetsFor(DWORD style, DWORD exStyle, bool menu, HWND hwnd) {
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(
        reinterpret_cast<void (*)()>(::GetProcAddress(user32, "AdjustWindowRectExForDpi")));
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void (*)()>(::GetProcAddress(user32, "GetDpiForWindow")));
    const RECT client{0, 0, 1000, 1000};
    RECT window = client;
    const UINT dpi = (hwnd && dpiForWindow) ? dpiForWindow(hwnd) : 0;
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

// The base makes the view; the frame has nothing of its own to create.
int CMainFrame::OnCreate(CREATESTRUCTW* cs) { return CFrameWnd::OnCreate(cs) == -1 ? -1 : 0; }

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DISPLAYCHANGE) OnDisplayChange();
    if (m_demo.OnFrameMessage(msg, wParam, lParam)) return 0;
    // The console's item shows whether it is open.
    if (msg == WM_INITMENUPOPUP)
        ::CheckMenuItem(reinterpret_cast<HMENU>(wParam), ID_PRESENTER_CONSOLE,
                        MF_BYCOMMAND | (CPresenterConsole::Current() ? MF_CHECKED : MF_UNCHECKED));
    return CFrameWnd::WindowProc(msg, wParam, lParam);
}

void CMainFrame::OnPresenterConsole() {
    if (CPresenterConsole* console = CPresenterConsole::Current()) ::DestroyWindow(console->m_hWnd);
    else CPresenterConsole::Open(this);
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
    m_bToggling = TRUE;
    MoveWindow(normal.left, normal.top, normal.Width(), normal.Height(), TRUE);
    m_bToggling = FALSE;
    m_bFullScreen = false;
    m_rcMonitor = CRect();
    m_awake.reset();
}

void CMainFrame::FitToMonitor(HMONITOR monitor) {
    const SlideRect target = MonitorRect(monitor);
    m_rcMonitor = ToCRect(target);
    m_rcFullScreen = ToCRect(FullScreenRect(target, InsetsOf(m_hWnd)));
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
}

void CMainFrame::OnDisplayChange() {
    if (!m_bFullScreen) return;
    FitToMonitor(::MonitorFromRect(&m_rcMonitor, MONITOR_DEFAULTTONEAREST));
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* mmi) {
    if (m_bToggling) {
        mmi->ptMaxPosition = {m_rcFullScreen.left, m_rcFullScreen.top};
        mmi->ptMaxSize = {m_rcFullScreen.Width(), m_rcFullScreen.Height()};
        mmi->ptMaxTrackSize = mmi->ptMaxSize;
    } else if (m_bFullScreen) {
        // Full-screen keeps its size: a platform that puts back a maximised window's earlier
        // size afterwards (Wine without a window manager) is held to the monitor.
        mmi->ptMaxTrackSize = {m_rcFullScreen.Width(), m_rcFullScreen.Height()};
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
    // A key given to the presenter console meets the accelerators as if given to the view.
    const CPresenterConsole* console = CPresenterConsole::Current();
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
