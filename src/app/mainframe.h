// The main frame: caption, sizing border and the one-item menu, a full-screen mode that pushes
// all of them just off the monitor the window is on, and white strips beside the slide.
#pragma once
#include <optional>

#include "demo/demo_win.h"
#include "framework/frame.h"
#include "framework/thread_state.h"

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();

    BOOL m_bToggling = FALSE;  // widens the size limits while the frame moves in or out of full-screen
    CRect m_rcFullScreen;      // the window rectangle of the last fit (the primary monitor's until then)
    CRect m_rcNormal;
    bool m_bFullScreen = false;
    std::optional<fw::KeepAwake> m_awake;  // held exactly while full-screen
    CRect m_rcMonitor;                     // the monitor full-screen mode covers; empty outside it
    HMONITOR m_hNextMonitor = nullptr;     // the next entry takes this monitor instead of the window's own
    CDemoRun m_demo{this};                 // the simulator before the audience, and the way back

    void OnFullScreen();
    // Fits the client area exactly over the monitor (full-screen mode stays as it is).
    void FitToMonitor(HMONITOR monitor);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The monitors changed: full-screen mode covers its monitor again, or the nearest one.
    void OnDisplayChange();
    // Opens the presenter console, or closes it when it is open.
    void OnPresenterConsole();

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTW* cs) override;
    void OnGetMinMaxInfo(MINMAXINFO* mmi) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    bool OnCmdMsg(UINT id) override;
    void OnDestroy() override;
};
