// Clicks: back from a photo, the corner button, and the hotspots' targets.
#include "app/mainframe.h"
#include "launch/dispatch.h"
#include "launch/file_tests.h"
#include "launch/shell_open_win.h"
#include "launch/simulator.h"
#include "launch/target_names.h"
#include "view/view.h"
#include "view/wall_clock.h"

namespace {

// The frame comes to the front, shown and active, without staying above other programs.
void RaiseFrame(CMainFrame* frame) {
    if (!frame || !frame->m_hWnd) return;
    constexpr UINT kFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
    frame->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, kFlags);
    frame->SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
}

}  // namespace

void CPemboroView::OnLButtonDown(UINT, CPoint point) {
    ClearHover();
    RaiseFrame(MainFrame());

    if (!m_strPicture.empty()) {
        LeavePictureMode();
        return;
    }
    // The click time pauses the hover feedback for a second after an activation.
    if (HitCornerButton(point)) {
        m_dClickTime = WallClockNow();
        StartSimulator();
        return;
    }
    const Hotspot* spot = HotspotAt(point);
    if (!spot) return;
    m_dClickTime = WallClockNow();

    const wchar_t* target = spot->pszTarget;
    // The path lives in the resolver's buffer: every use below comes before the next resolve.
    const wchar_t* path = ResolvePath(NameToResolve(target));
    TargetFacts facts;
    facts.isFile = FileExists(path);
    facts.isDirectory = !facts.isFile && DirectoryExists(path);
    switch (DecideClickAction(target, facts)) {
        case ClickAction::ShellOpen: ShellOpen(path); break;
        case ClickAction::ShowPicture: EnterPictureMode(spot); break;
        case ClickAction::RunInSimulator: RunInSimulator(path); break;
        case ClickAction::OpenInSimulator: OpenInSimulator(path); break;
        case ClickAction::Nothing: break;
    }
}
