#include "framework/frame.h"

#include "framework/app.h"
#include "framework/doc.h"
#include "framework/view.h"

namespace {
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;
}

bool CFrameWnd::LoadFrame(UINT resourceId, CDocument* doc, const CSingleDocTemplate::ViewFactory& makeView) {
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    CREATESTRUCTW cs{};
    cs.style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    cs.hMenu = ::LoadMenuW(module, MAKEINTRESOURCEW(resourceId));
    cs.hInstance = module;
    if (!PreCreateWindow(cs)) {
        if (cs.hMenu) ::DestroyMenu(cs.hMenu);
        return false;
    }
    m_pDocument = doc;
    m_pMakeView = &makeView;
    m_hAccelTable = ::LoadAcceleratorsW(module, MAKEINTRESOURCEW(resourceId));
    const CString title = AfxGetApp() ? AfxGetApp()->m_strAppName : CString();
    const bool created = CreateEx(cs.dwExStyle, cs.lpszClass, title.c_str(), cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  nullptr, cs.hMenu);
    m_pMakeView = nullptr;
    if (!created) {
        if (cs.hMenu && ::IsMenu(cs.hMenu)) ::DestroyMenu(cs.hMenu);
        return false;
    }
    m_bAutoDelete = true;
    OnUpdateFrameTitle();
    RecalcLayout();
    return true;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

int CFrameWnd::OnCreate(CREATESTRUCTW*) {
    if (!m_pMakeView || !*m_pMakeView) return -1;
    CView* view = (*m_pMakeView)();
    if (!view || !view->Create(this, m_pDocument, AFX_IDW_PANE_FIRST)) {
        delete view;
        return -1;
    }
    m_pViewActive = view;
    return 0;
}

void CFrameWnd::RecalcLayout(BOOL) {
    RECT rc;
    GetClientRect(&rc);
    if (m_pPreviewWnd && m_pPreviewWnd->m_hWnd) ::MoveWindow(m_pPreviewWnd->m_hWnd, 0, 0, rc.right, rc.bottom, TRUE);
    if (!m_pViewActive || !m_pViewActive->m_hWnd) return;
    ::MoveWindow(m_pViewActive->m_hWnd, 0, 0, rc.right, rc.bottom, TRUE);
}

void CFrameWnd::OnUpdateFrameTitle() {
    CWinApp* app = AfxGetApp();
    const CString appTitle = app ? app->m_strAppName : CString();
    const LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    CString caption = appTitle;
    if ((style & FWS_ADDTOTITLE) && m_pDocument && !m_pDocument->GetTitle().empty())
        caption = m_pDocument->GetTitle() + L" - " + appTitle;
    ::SetWindowTextW(m_hWnd, caption.c_str());
}

void CFrameWnd::OnSize(UINT type, int, int) {
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnSetFocus(HWND) {
    if (m_pPreviewWnd && m_pPreviewWnd->m_hWnd) ::SetFocus(m_pPreviewWnd->m_hWnd);
    else if (m_pViewActive && m_pViewActive->m_hWnd) ::SetFocus(m_pViewActive->m_hWnd);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    if (m_hAccelTable && ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, pMsg)) return TRUE;
    return m_pPreviewWnd && m_pPreviewWnd->PreTranslateMessage(pMsg);
}

void CFrameWnd::OnCommand(UINT id) {
    // A print preview first, then the view, the frame itself, the application.
    if (m_pPreviewWnd && m_pPreviewWnd->OnCmdMsg(id)) return;
    if (m_pViewActive && m_pViewActive->OnCmdMsg(id)) return;
    if (OnCmdMsg(id)) return;
    if (AfxGetApp() && AfxGetApp()->OnCmdMsg(id)) return;
    Default();
}

void CFrameWnd::OnDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    Default();
}

void CFrameWnd::OnNcDestroy() {
    m_pViewActive = nullptr;  // the view went with its window
    if (m_bAutoDelete) delete this;
}
