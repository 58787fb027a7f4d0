#include "app/mainframe.h"

#include "app/frame_layout.h"
#include "framework/dc.h"
#include "framework/gdi.h"
#include "res/resource.h"
#include "view/view.h"
#include "view/geometry.h"

CMainFrame::CMainFrame() {
    int w = 0, h = 0;
    {
        const fw::WindowDc screen(nullptr);
        w = ::GetDeviceCaps(screen.get(), HORZRES);
        h = ::GetDeviceCaps(screen.get(), VERTRES);
    }
    const int fx = ::GetSystemMetrics(SM_CXFRAME);
    const int fy = ::GetSystemMetrics(SM_CYFRAME);
    const int cap = ::GetSystemMetrics(SM_CYCAPTION);
    const int menu = ::GetSystemMetrics(SM_CYMENU);
    const SlideRect rc = FullScreenRect(w, h, fx, fy, cap, menu);
    m_rcFullScreen = CRect(rc.left, rc.top, rc.right, rc.bottom);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZE | FWS_ADDTOTITLE;
    cs.lpszClass = AfxRegisterWndClass(0);
    return TRUE;
}

// The base makes the view; the frame has nothing of its own to create.
int CMainFrame::OnCreate(CREATESTRUCTW* cs) { return CFrameWnd::OnCreate(cs) == -1 ? -1 : 0; }

void CMainFrame::OnFullScreen() {
    RecalcLayout(TRUE);
    if (!m_bFullScreen) GetWindowRect(&m_rcNormal);
    m_bToggling = TRUE;
    const CRect& target = m_bFullScreen ? m_rcNormal : m_rcFullScreen;
    MoveWindow(target.left, target.top, target.Width(), target.Height(), TRUE);
    m_bFullScreen = !m_bFullScreen;
    m_bToggling = FALSE;
    if (m_bFullScreen)
        m_awake.emplace();
    else
        m_awake.reset();
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* mmi) {
    if (m_bToggling) {
        mmi->ptMaxPosition = {m_rcFullScreen.left, m_rcFullScreen.top};
        mmi->ptMaxSize = {m_rcFullScreen.Width(), m_rcFullScreen.Height()};
        mmi->ptMaxTrackSize = mmi->ptMaxSize;
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
    return CFrameWnd::PreTranslateMessage(pMsg);
}

bool CMainFrame::OnCmdMsg(UINT id) {
    if (id != ID_FULL_SCREEN_MODE) return false;
    OnFullScreen();
    return true;
}
