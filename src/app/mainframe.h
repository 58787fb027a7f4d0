// The main frame: caption, sizing border and the one-item menu, a full-screen mode that pushes
// all of them just off the monitor the window is on (and keeps them there, unseen on a monitor
// beside it), and white strips beside the slide. It places the show and the presenter console on
// the monitors, and again when the monitors or their DPI change.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "demo/demo_win.h"
#include "framework/frame.h"
#include "framework/thread_state.h"
#include "talk/talk.h"
#include "view/show_frame.h"

struct Monitors;

class CMainFrame : public CFrameWnd, public ShowFrame, public DemoStage {
public:
    CMainFrame();

    BOOL m_bToggling = FALSE;  // widens the size limits while the frame moves in or out of full-screen
    CRect m_rcFullScreen;      // the window rectangle of the last fit (the primary monitor's until then)
    CRect m_rcNormal;
    bool m_bFullScreen = false;
    std::optional<fw::KeepAwake> m_awake;  // held exactly while full-screen
    CRect m_rcMonitor;                     // the monitor full-screen mode covers; empty outside it
    std::wstring m_strMonitorDevice;       // its name, by which a display change finds it again
    HMONITOR m_hNextMonitor = nullptr;     // the next entry takes this monitor instead of the window's own
    Talk m_talk;                           // what the show and the console show; outlives both windows
    CDemoRun m_demo{this};                 // the simulator before the audience, and the way back

    void OnFullScreen();
    // Fits the client area exactly over the monitor (full-screen mode stays as it is).
    void FitToMonitor(HMONITOR monitor);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The monitors changed: full-screen mode covers its monitor again (found by its name, else
    // the nearest one), and the presenter console takes a monitor of its own or becomes a window.
    void OnDisplayChange();
    // S: the show goes to the presenter console's monitor (or, without one, the other monitor) and
    // the console to the show's; full-screen stays full-screen. Nothing with one monitor.
    void SwapScreens() override;
    // Opens the presenter console, or closes it when it is open.
    void OnPresenterConsole();
    // Opens the presenter console beside the show (nothing when it is open).
    void OpenConsole();

    // What the view and the demo ask of the frame.
    Talk& TheTalk() override { return m_talk; }
    bool FullScreen() const override { return m_bFullScreen; }
    void ToggleFullScreen() override { OnFullScreen(); }
    void HandedOver(const HandOff& handOff, const wchar_t* path) override { m_demo.HandedOver(handOff, path); }
    bool ConsoleOpen() const override;
    HWND StageWindow() const override { return m_hWnd; }
    RECT StageMonitor() const override { return m_rcMonitor; }
    HWND StageView() const override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // The monitor's DPI changed: full-screen fits its monitor again; a window takes the suggested place.
    void OnDpiChanged(const RECT& suggested);
    // While full-screen, only the frame's own moves place it: the system's re-maximising after a
    // change of the work area (the taskbar moved or set to hide) is held to the monitor.
    void OnWindowPosChanging(WINDOWPOS* pos);
    int OnCreate(CREATESTRUCTW* cs) override;
    void OnGetMinMaxInfo(MINMAXINFO* mmi) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    bool OnCmdMsg(UINT id) override;
    void OnDestroy() override;

private:
    // Moves the show onto `to` from `from`: full-screen covers it, a window keeps its place there.
    void MoveShow(HMONITOR from, HMONITOR to);
    // The show's monitor as an index into `now`: the one full-screen covers (by its name, else the
    // nearest), else the one holding most of the window.
    int ShowMonitorIn(const Monitors& now) const;
    // The frame's parts beyond the monitor are cut off while full-screen, so that a monitor above
    // or beside shows nothing of its caption, menu or border.
    void ClipToMonitor(bool clip);

    // The monitor the presenter console fills, as an index into `now`; -1 while it is a window,
    // when its monitor is gone, or without a console.
    int ConsoleMonitorIn(const Monitors& now) const;

    std::vector<std::wstring> m_monitorsSeen;  // the monitors' names at the last change, to tell a new one
};
