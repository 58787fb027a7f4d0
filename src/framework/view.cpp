#include "framework/view.h"

#include "framework/dc.h"
#include "framework/frame.h"

bool CView::Create(CFrameWnd* parent, CDocument* doc, UINT id) {
    m_pDocument = doc;
    m_pFrame = parent;
    const wchar_t* cls = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0,
                  parent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id))))
        return false;
    m_bAutoDelete = true;
    return true;
}

void CView::OnPaint() {
    CPaintDC dc(m_hWnd);
    OnDraw(&dc);
}

void CView::OnNcDestroy() {
    if (m_pFrame) m_pFrame->OnViewDestroyed(this);
    if (m_bAutoDelete) delete this;
}

bool CView::OnCmdMsg(UINT id) {
    switch (id) {
    case ID_FILE_PRINT: OnFilePrint(false); return true;
    case ID_FILE_PRINT_DIRECT: OnFilePrint(true); return true;
    case ID_FILE_PRINT_PREVIEW: OnFilePrintPreview(); return true;
    default: return false;
    }
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}
