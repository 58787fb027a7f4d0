// The speaker's input: keys, the Escape character and the wheel through the key table; clicks on
// photos, hotspots and the corner button; mouse moves, the hover timer and the loss of focus,
// which show and remove the hover highlight; and the wall clock that times the click pause.
#include <windows.h>
#include <mmsystem.h>
#include <sys/timeb.h>

#include <string>

#include "deck/page_cursor.h"
#include "framework/app.h"
#include "framework/frame.h"
#include "launch/dispatch.h"
#include "launch/file_tests.h"
#include "launch/process_start_win.h"
#include "launch/simulator.h"
#include "launch/target_names.h"
#include "render/geometry.h"
#include "view/hover_rules.h"
#include "talk/talk_time.h"
#include "view/key_table.h"
#include "view/layout_keys.h"
#include "view/view.h"

namespace {

constexpr UINT kZOrderOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

// The frame moves in the stack without being activated, so the speaker's other window keeps
// the keyboard.
void MoveMainWindowInStack(HWND insertAfter) {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd) app->m_pMainWnd->SetWindowPos(insertAfter, 0, 0, 0, 0, kZOrderOnly);
}

// The frame comes to the front, shown and active, without staying above other programs.
void RaiseFrame(CFrameWnd* frame) {
    if (!frame || !frame->m_hWnd) return;
    constexpr UINT kFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
    frame->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, kFlags);
    frame->SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, kFlags);
}

double SystemWallClock() {
    __timeb64 now{};
    if (_ftime64_s(&now) != 0) return 0.0;
    return WallClockSeconds(now.time, now.millitm);
}

WallClockFn g_wallClock = &SystemWallClock;

}  // namespace

double WallClockNow() { return g_wallClock(); }

void SetWallClock(WallClockFn clock) { g_wallClock = clock ? clock : &SystemWallClock; }

// ---- Keys, the Escape character and the wheel ----

void CPemboroView::OnKeyDown(UINT nChar, UINT, UINT nFlags) {
    // Read once, before any action: what the key does must not depend on what it changed.
    const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    RunInput(Input::Key, TableKeyCode(nChar), ctrl, CPoint{}, (nFlags & KF_REPEAT) != 0);
}

void CPemboroView::OnChar(UINT nChar, UINT, UINT nFlags) {
    RunInput(Input::Char, nChar, false, CPoint{}, (nFlags & KF_REPEAT) != 0);
}

bool CPemboroView::TakesKeyBeforeAccelerators(UINT vk, LPARAM lParam) {
    // Any key closes the key help, F1 and Ctrl+P too; and a held F1 toggles once, as Shift does.
    if (m_overlay.shown == Overlay::Help) return true;
    const bool repeat = (lParam & (1 << 30)) != 0;
    if (!repeat) return false;
    const unsigned code = TableKeyCode(vk);
    const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const bool picture = !m_strPicture.empty();
    const Overlay overlay = ShownOverlay();
    return CommandsFor(Input::Key, code, ctrl, picture, overlay, false).first != Command::None &&
           CommandsFor(Input::Key, code, ctrl, picture, overlay, true).first == Command::None;
}

BOOL CPemboroView::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    // The point is on the screen; the zoom keeps the slide's point under it where it is.
    ScreenToClient(&pt);
    RunInput(Input::Wheel, WheelCode(zDelta), (nFlags & MK_CONTROL) != 0, pt, false);
    // Requested even at the ends: the wheel always answers with a fresh paint.
    InvalidateRect(nullptr, TRUE);
    return TRUE;
}

void CPemboroView::RunInput(Input input, unsigned code, bool ctrl, CPoint point, bool repeat) {
    const Overlay before = m_overlay.shown;
    const Commands commands = CommandsFor(input, code, ctrl, !m_strPicture.empty(), ShownOverlay(), repeat);
    // Quitting destroys this view: a command handed on never follows it.
    if (commands.first == Command::LeaveFullScreenOrQuit) return LeaveFullScreenOrQuit();
    RunCommand(commands.first, code, point);
    if (commands.then == Command::LeaveFullScreenOrQuit) return LeaveFullScreenOrQuit();
    if (commands.then != Command::None) RunCommand(commands.then, code, point);
    // The talk hears where the speaker is now; the console follows.
    TellTalk();
    // An overlay that comes or goes is on the screen before the next input: a blank screen must
    // not wait for the message queue to run dry.
    if (m_overlay.shown != before && m_hWnd) UpdateWindow();
}

void CPemboroView::RunCommand(Command command, unsigned code, CPoint point) {
    switch (command) {
    case Command::ToggleFullScreen: ToggleFullScreen(); break;
    case Command::LeaveFullScreenOrQuit: LeaveFullScreenOrQuit(); break;  // may destroy this view
    case Command::PreviousSlide: StepPage(&GoPrevPage); break;
    case Command::FirstSlide: StepPage(&GoFirstPage); break;
    case Command::NextSlide: StepPage(&GoNextPage); break;
    case Command::LastSlide: StepPage(&GoLastPage); break;
    case Command::WheelBack: WheelPage(WHEEL_DELTA); break;
    case Command::WheelForward: WheelPage(-WHEEL_DELTA); break;
    case Command::PreviousPhoto: EnterPictureMode(FindPreviousPhoto()); break;
    case Command::NextPhoto: EnterPictureMode(FindNextPhoto()); break;
    case Command::SendToBack: MoveMainWindowInStack(HWND_BOTTOM); break;
    case Command::ToggleSentBack: ToggleSentBack(); break;
    case Command::BackToSlide: BackToSlide(); break;
    case Command::Activate: Activate(point); break;
    case Command::TypeDigit: TypeDigit(code); break;
    case Command::DropDigit: DropDigit(); break;
    case Command::GoToTypedSlide: ShowSlide(m_overlay.typed.Row(SLIDE_COUNT)); break;
    case Command::BlankBlack: m_overlay.white = false; ShowOverlay(Overlay::Blank); break;
    case Command::BlankWhite: m_overlay.white = true; ShowOverlay(Overlay::Blank); break;
    case Command::OpenOverview: m_overlay.framed = CurrentSlideIndex(); ShowOverlay(Overlay::Overview); break;
    case Command::FrameLeft:
    case Command::FrameRight:
    case Command::FrameUp:
    case Command::FrameDown:
    case Command::FrameFirst:
    case Command::FrameLast: MoveOverviewFrame(command); break;
    case Command::ShowFramed: ShowSlide(m_overlay.framed); break;
    case Command::ShowClicked: ShowClicked(point); break;
    case Command::ShowHelp: ShowOverlay(Overlay::Help); break;
    case Command::DropNumber:
    case Command::EndBlank:
    case Command::CloseOverview:
    case Command::CloseHelp: ShowOverlay(Overlay::None); break;
    case Command::SwapScreens: SwapScreens(); break;
    case Command::LongerTalk: TheTalk().SetMinutes(LongerTalk(TheTalk().Minutes())); break;
    case Command::ShorterTalk: TheTalk().SetMinutes(ShorterTalk(TheTalk().Minutes())); break;
    case Command::RestartClock: TheTalk().RestartClock(TalkClockNow()); break;
    case Command::TogglePointer: TheTalk().TogglePointer(); break;
    case Command::ToggleZoom: TheTalk().ToggleZoom(); break;
    case Command::Unzoom: TheTalk().Unzoom(); break;
    case Command::BeginZoomDrag: BeginZoomDrag(point); break;
    case Command::ZoomIn: ZoomAt(point, 1); break;
    case Command::ZoomOut: ZoomAt(point, -1); break;
    case Command::ToggleFreeze: {
        const ShowFrame* frame = Frame();
        TheTalk().ToggleFreeze(frame && frame->ConsoleOpen());
        break;
    }
    case Command::None: break;
    }
}

void CPemboroView::ToggleFullScreen() {
    if (ShowFrame* frame = Frame()) frame->ToggleFullScreen();
}

void CPemboroView::SwapScreens() {
    if (ShowFrame* frame = Frame()) frame->SwapScreens();
}

void CPemboroView::LeaveFullScreenOrQuit() {
    if (g_proMode) return;
    ShowFrame* frame = Frame();
    if (!frame) return;
    if (frame->FullScreen()) frame->ToggleFullScreen();
    else AfxGetApp()->OnAppExit();  // destroys this view: nothing may follow
}

// A hand-off that reached the simulator starts a demo on the show.
void CPemboroView::DemoOf(const HandOff& handOff, const wchar_t* path) {
    if (ShowFrame* frame = Frame()) frame->HandedOver(handOff, path);
}

void CPemboroView::StepPage(bool (*step)()) {
    if (!m_strPicture.empty()) LeavePictureMode();
    if (step()) InvalidateRect(nullptr, TRUE);
}

void CPemboroView::ToggleSentBack() {
    m_bSentBack = !m_bSentBack;
    MoveMainWindowInStack(m_bSentBack ? HWND_BOTTOM : HWND_TOP);
}

void CPemboroView::BackToSlide() {
    LeavePictureMode();
    ::PlaySoundW(nullptr, nullptr, 0);  // a sound a hotspot started stops with Escape too
}

// ---- Clicks ----

void CPemboroView::OnLButtonDown(UINT, CPoint point) {
    ClearHover();
    RaiseFrame(GetParentFrame());
    RunInput(Input::Click, kLeftButton, false, point, false);
}

void CPemboroView::Activate(CPoint point) {
    if (!m_strPicture.empty()) {
        LeavePictureMode();
        return;
    }
    // The click time pauses the hover feedback for a second after an activation.
    if (HitCornerButton(point)) {
        m_dClickTime = WallClockNow();
        DemoOf(StartSimulator(), nullptr);
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
        case ClickAction::RunInSimulator: {
            const std::wstring file(path);  // the hand-off's waits may rewrite the resolver's buffer
            DemoOf(RunInSimulator(file.c_str()), file.c_str());
            break;
        }
        case ClickAction::OpenInSimulator: {
            const std::wstring file(path);
            DemoOf(OpenInSimulator(file.c_str()), file.c_str());
            break;
        }
        case ClickAction::Nothing: break;
    }
}

// ---- Mouse moves, the hover timer and focus: the hover highlight shown and removed ----

void CPemboroView::OnMouseMove(UINT nFlags, CPoint point) {
    if (m_dragFrom) {
        // The zoom's drag: its frame follows the mouse; nothing lights up meanwhile.
        DrawDragFrame();
        m_dragTo = point;
        DrawDragFrame();
        return;
    }
    PointFromShow(point);
    // Over a blank screen, the overview or the help there is no hotspot to light up.
    const bool picture = !m_strPicture.empty() || HidesSlide(m_overlay.shown);
    HoverInput in{};
    in.flags = nFlags;
    in.pictureMode = picture;
    in.clickTime = m_dClickTime;
    in.shownSpot = m_pHoverSpot;
    // The clock and the hit tests only matter for a plain move over the slide.
    if (nFlags == 0 && !picture) {
        in.now = WallClockNow();
        in.hit = HotspotAt(point);
        in.onCorner = !in.hit && HitCornerButton(point);
    }
    const HoverStep step = DecideHover(in);
    if (step.clearFirst) ClearHover();
    if (step.draw == HoverDraw::Hotspot) DrawHotspotHover(in.hit);
    else if (step.draw == HoverDraw::Corner) DrawCornerHover();
    Default();
}

void CPemboroView::OnTimer(UINT_PTR nIDEvent) {
    OnOverlayTimer(nIDEvent);
    if (nIDEvent != m_nTimerId) return;
    POINT pt;
    if (!::GetCursorPos(&pt)) return;
    ScreenToClient(&pt);
    // The pointer may leave the window without a move message reaching the view.
    if (!InsideSlideInclusive(ToSlideRect(m_rcSlide), pt.x, pt.y)) ClearHover();
}

void CPemboroView::OnLButtonUp(UINT, CPoint point) {
    if (m_dragFrom) return EndZoomDrag(point);
    ClearHover();
}

void CPemboroView::OnKillFocus(HWND) {
    ClearHover();
    Default();
}
