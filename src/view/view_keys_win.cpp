// Keys and the wheel: page and photo steps, full-screen mode, closing, and the frame's
// place in the window stack.
#include <windows.h>
#include <mmsystem.h>

#include "app/app.h"
#include "app/mainframe.h"
#include "deck/page_cursor.h"
#include "framework/app.h"
#include "view/key_commands.h"
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
    const bool picture = !m_strPicture.empty();
    switch (KeyCommandFor(nChar)) {
    case KeyCommand::ToggleFullScreen:
        if (CMainFrame* frame = MainFrame()) frame->OnFullScreen();
        break;
    case KeyCommand::Escape:
        // In picture mode the Escape character takes the view back to the slide instead.
        if (g_proMode || picture) break;
        if (CMainFrame* frame = MainFrame()) {
            if (frame->m_bFullScreen) frame->OnFullScreen();
            else AfxGetApp()->OnAppExit();  // destroys this view: nothing may follow
        }
        break;
    case KeyCommand::PageBack:
        if (picture) LeavePictureMode();
        if (ctrl ? GoFirstPage() : GoPrevPage()) InvalidateRect(nullptr, TRUE);
        break;
    case KeyCommand::PageForward:
        if (picture) LeavePictureMode();
        if (ctrl ? GoLastPage() : GoNextPage()) InvalidateRect(nullptr, TRUE);
        break;
    case KeyCommand::PhotoBack:
        if (picture) EnterPictureMode(FindPreviousPhoto());
        break;
    case KeyCommand::PhotoForward:
        if (picture) EnterPictureMode(FindNextPhoto());
        break;
    case KeyCommand::SendBackWithCtrl:
        if (ctrl) MoveMainWindowInStack(HWND_BOTTOM);
        break;
    case KeyCommand::ToggleSentBack:
        m_bSentBack = !m_bSentBack;
        MoveMainWindowInStack(m_bSentBack ? HWND_BOTTOM : HWND_TOP);
        break;
    case KeyCommand::None:
        break;
    }
}

void CPemboroView::OnChar(UINT nChar, UINT, UINT) {
    if (nChar != VK_ESCAPE) return;
    LeavePictureMode();
    ::PlaySoundW(nullptr, nullptr, 0);  // a sound a hotspot started stops with Escape too
}

BOOL CPemboroView::OnMouseWheel(UINT, short zDelta, CPoint) {
    if (!m_strPicture.empty()) EnterPictureMode(zDelta > 0 ? FindPreviousPhoto() : FindNextPhoto());
    else WheelPage(zDelta);
    // Requested even at the ends: the wheel always answers with a fresh paint.
    InvalidateRect(nullptr, TRUE);
    return TRUE;
}
