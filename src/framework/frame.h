// The main frame: caption, menu and accelerators from one resource id, the
// view filling its client area, commands routed view first.
#pragma once
#include "framework/doc.h"
#include "framework/wnd.h"

class CView;

class CFrameWnd : public CWnd {
public:
    CFrameWnd() = default;

    // Creates the window with menu and accelerators `resourceId` and its view.
    bool LoadFrame(UINT resourceId, CDocument* doc, const CSingleDocTemplate::ViewFactory& makeView);

    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Sizes the view to the client area.
    virtual void RecalcLayout(BOOL notify = TRUE);
    // Caption from the document and application titles.
    void OnUpdateFrameTitle();

    CView* GetActiveView() const { return m_pViewActive; }
    // A view of this frame is going: the frame no longer reaches it.
    void OnViewDestroyed(CView* view) {
        if (m_pViewActive == view) m_pViewActive = nullptr;
    }
    // The print preview shown in place of the view, or null: it gets the client area, the
    // focus, keys after the accelerators, and commands before the view.
    CWnd* GetPreviewWindow() const { return m_pPreviewWnd; }
    void SetPreviewWindow(CWnd* preview) { m_pPreviewWnd = preview; }

protected:
    int OnCreate(CREATESTRUCTW* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(HWND oldFocus) override;
    void OnDestroy() override;
    void OnNcDestroy() override;
    void OnCommand(UINT id) override;

private:
    CView* m_pViewActive = nullptr;
    CWnd* m_pPreviewWnd = nullptr;    // owned by its window
    CDocument* m_pDocument = nullptr;
    HACCEL m_hAccelTable = nullptr;   // resource-owned: nothing to free
    const CSingleDocTemplate::ViewFactory* m_pMakeView = nullptr;
    bool m_bAutoDelete = false;
};
