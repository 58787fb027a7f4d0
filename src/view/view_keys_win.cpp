// Keys, the Escape character and the wheel: each looks its row up in the key table and runs the
// command found there.
#include <windows.h>
#include <mmsystem.h>

#include "app/app.h"
#include "app/mainframe.h"
#include "deck/page_cursor.h"
#include "framework/app.h"
#include "view/key_table.h"
#include "view/view.h"

namespace {

constexpr UINT kZOrderOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;

// The frame moves in the stack without being activated, so the speaker's other window keeps
// the keyboard.
void MoveMainWindowInStack(HWND insertAfter) {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd) app->m_pMainWnd->SetWindowPos(insertAfter, 0, 0, 0, 0, kZOrderOnly);
}

}  // namespace

void CPemboroView::OnKeyDown(UINT nChar, UINT, UINT) {
    // Read once, before any action: what the key does must not depend on what it changed.
    const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
    RunCommand(CommandFor(Input::Key, nChar, ctrl, !m_strPicture.empty()));
}

void CPemboroView::OnChar(UINT nChar, UINT, UINT) {
    RunCommand(CommandFor(Input::Char, nChar, false, !m_strPicture.empty()));
}

BOOL CPemboroView::OnMouseWheel(UINT, short zDelta, CPoint) {
    RunCommand(CommandFor(Input::Wheel, WheelCode(zDelta), false, !m_strPicture.empty()));
    // Requested even at the ends: the wheel always answers with a fresh paint.
    InvalidateRect(nullptr, TRUE);
    return TRUE;
}

void CPemboroView::RunCommand(Command command) {
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
    case Command::None: break;
    }
}

void CPemboroView::ToggleFullScreen() {
    if (CMainFrame* frame = MainFrame()) frame->OnFullScreen();
}

void CPemboroView::LeaveFullScreenOrQuit() {
    if (g_proMode) return;
    CMainFrame* frame = MainFrame();
    if (!frame) return;
    if (frame->m_bFullScreen) frame->OnFullScreen();
    else AfxGetApp()->OnAppExit();  // destroys this view: nothing may follow
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
