// The main frame: caption, sizing border and the one-item menu, a full-screen
// mode that pushes all of them off the screen, and white strips beside the slide.
#pragma once
#include <optional>

#include "framework/frame.h"
#include "framework/thread_state.h"

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    BOOL m_bToggling = FALSE;  // widens the size limits while OnFullScreen moves the window
    CRect m_rcFullScreen;
    CRect m_rcNormal;
    bool m_bFullScreen = false;
    std::optional<fw::KeepAwake> m_awake;  // held exactly while full-screen

    void OnFullScreen();
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    int OnCreate(CREATESTRUCTW* cs) override;
    void OnGetMinMaxInfo(MINMAXINFO* mmi) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    bool OnCmdMsg(UINT id) override;
};
