// Home and End, a slide number typed for a jump, and the blank screen, on the real view: the
// slide that ends up shown, the number box and the blank screen read back as pixels, and the
// keys that keep their old meanings.
#include "speaker_keys_fixture.h"

#include <optional>
#include <string>

#include "support/profile_page.h"

#include "app/app.h"

namespace interaction {
namespace {

using JumpAndBlank = SpeakerKeys;

TEST_F(JumpAndBlank, HomeAndEndGoToTheEndsAndLeaveAPhotoFirst) {
    Open(640, 360, 5);
    Press(viewHwnd(), VK_END);
    EXPECT_EQ(g_currentPage, kLastSlide);
    EXPECT_TRUE(RepaintRequested(viewHwnd()));
    Settle();
    Press(viewHwnd(), VK_END);
    EXPECT_FALSE(RepaintRequested(viewHwnd())) << "at the end already";
    Press(viewHwnd(), VK_HOME);
    EXPECT_EQ(g_currentPage, 0);

    ShowTitlePhoto();
    Press(viewHwnd(), VK_END);
    EXPECT_TRUE(view().m_strPicture.empty());
    EXPECT_EQ(g_currentPage, kLastSlide);

    ShowTitlePhoto();
    Press(viewHwnd(), VK_HOME);
    EXPECT_TRUE(view().m_strPicture.empty()) << "on the first slide, Home only leaves the photo";
    EXPECT_EQ(g_currentPage, 0);
    EXPECT_TRUE(RepaintRequested(viewHwnd()));
}

TEST_F(JumpAndBlank, DigitsThenEnterShowThatSlideAndTheBoxShowsThemMeanwhile) {
    Open(640, 360, 3);
    const testing_win::Pixels before = Screen();
    EXPECT_EQ(CountOf(before, kOverlayGround), 0);

    TypeDigits(viewHwnd(), L"42");
    EXPECT_EQ(Shown(), Overlay::Number);
    EXPECT_EQ(view().m_overlay.typed.text(), L"42");
    EXPECT_EQ(g_currentPage, 3) << "nothing moves before Enter";
    const testing_win::Pixels typing = Screen();
    // A small box in the top-right corner, over the slide: the rest is the slide as it was.
    const RECT corner{640 * 3 / 4, 0, 640, 360 / 4};
    const int boxPixels = CountOf(testing_win::ReadWindow(viewHwnd(), corner), kOverlayGround);
    EXPECT_GT(boxPixels, 200);
    EXPECT_EQ(CountOf(typing, kOverlayGround), boxPixels) << "the box lies in the corner only";
    EXPECT_EQ(typing.At(10, 350), before.At(10, 350));
    EXPECT_EQ(typing.At(320, 180), before.At(320, 180));

    Press(viewHwnd(), VK_RETURN, L'\r');
    EXPECT_EQ(g_currentPage, 41);
    EXPECT_EQ(Shown(), Overlay::None);
    EXPECT_EQ(CountOf(Screen(), kOverlayGround), 0) << "the box went with the jump";
}

TEST_F(JumpAndBlank, BackspaceOutOfRangeAndTheNumericPad) {
    struct Case {
        const char* what;
        std::vector<UINT> keys;
        int to;
    } const cases[] = {
        {"4, 3, Backspace, 2", {'4', '3', VK_BACK, '2'}, 41},
        {"99 goes to the last slide", {'9', '9'}, kLastSlide},
        {"0 goes to the first", {'0'}, 0},
        {"7, 0", {'7', '0'}, kLastSlide},
        {"the numeric pad's 1, 2", {VK_NUMPAD1, VK_NUMPAD2}, 11},
        {"a fourth digit is not taken", {'0', '0', '5', '7'}, 4},
    };
    Open(400, 240, 20);
    for (const Case& c : cases) {
        g_currentPage = 20;
        for (const UINT vk : c.keys) Press(viewHwnd(), vk);
        Press(viewHwnd(), VK_RETURN);
        EXPECT_EQ(g_currentPage, c.to) << c.what;
        EXPECT_EQ(Shown(), Overlay::None) << c.what;
    }
    // Backspace over the last digit takes the box away; Enter then does nothing.
    g_currentPage = 20;
    TypeDigits(viewHwnd(), L"5");
    Press(viewHwnd(), VK_BACK);
    EXPECT_EQ(Shown(), Overlay::None);
    Press(viewHwnd(), VK_RETURN);
    EXPECT_EQ(g_currentPage, 20);
}

TEST_F(JumpAndBlank, EscapeDropsTheNumberAndNeitherQuitsNorLeavesFullScreen) {
    Open(400, 240, 7);
    // In the window, where Escape alone would quit.
    TypeDigits(viewHwnd(), L"12");
    PressEscape(viewHwnd());
    ASSERT_TRUE(::IsWindow(frameHwnd()));
    EXPECT_EQ(Shown(), Overlay::None);
    EXPECT_EQ(CountOf(Screen(), kOverlayGround), 0);
    Press(viewHwnd(), VK_RETURN);
    EXPECT_EQ(g_currentPage, 7) << "the number is gone";

    // Full-screen, where Escape alone would end full-screen mode.
    Press(viewHwnd(), VK_F5);
    ASSERT_TRUE(frame().m_bFullScreen);
    TypeDigits(viewHwnd(), L"3");
    PressEscape(viewHwnd());
    EXPECT_TRUE(frame().m_bFullScreen);
    EXPECT_EQ(g_currentPage, 7);

    // On a photo, which the Escape character alone would leave.
    ShowTitlePhoto();
    TypeDigits(viewHwnd(), L"3");
    PressEscape(viewHwnd());
    EXPECT_FALSE(view().m_strPicture.empty());
    EXPECT_TRUE(frame().m_bFullScreen);
    // With the number gone, Escape is Escape again: the photo goes.
    PressEscape(viewHwnd());
    EXPECT_TRUE(view().m_strPicture.empty());
}

TEST_F(JumpAndBlank, AJumpLeavesAPhotoAndOtherKeysDropTheNumberAndDoTheirPart) {
    Open(400, 240);
    ShowTitlePhoto();
    TypeDigits(viewHwnd(), L"30");
    Press(viewHwnd(), VK_RETURN);
    EXPECT_TRUE(view().m_strPicture.empty());
    EXPECT_EQ(g_currentPage, 29);

    TypeDigits(viewHwnd(), L"5");
    Press(viewHwnd(), VK_NEXT);
    EXPECT_EQ(Shown(), Overlay::None);
    EXPECT_EQ(g_currentPage, 30);
    Press(viewHwnd(), VK_RETURN);
    EXPECT_EQ(g_currentPage, 30);
}

TEST_F(JumpAndBlank, TheBoxGoesAfterThreeSecondsWithoutAKey) {
    Open(400, 240, 9);
    TypeDigits(viewHwnd(), L"2");
    testing_win::PumpMessages(2000);
    TypeDigits(viewHwnd(), L"5");  // a key starts the time anew
    testing_win::PumpMessages(2000);
    EXPECT_EQ(Shown(), Overlay::Number);
    EXPECT_TRUE(testing_win::PumpUntil([&] { return Shown() == Overlay::None; }, 2500));
    EXPECT_EQ(CountOf(Screen(), kOverlayGround), 0);
    EXPECT_EQ(g_currentPage, 9);
    Press(viewHwnd(), VK_RETURN);
    EXPECT_EQ(g_currentPage, 9);
}

TEST_F(JumpAndBlank, BAndWBlankTheWholeViewAndTheSameKeyBringsTheSlideBack) {
    Open(640, 360, 0);
    const testing_win::Pixels slide = Screen();
    struct Case {
        UINT vk;
        COLORREF colour;
    } const cases[] = {{'B', RGB(0, 0, 0)}, {'W', RGB(255, 255, 255)}};
    for (const Case& c : cases) {
        Press(viewHwnd(), c.vk, static_cast<wchar_t>(c.vk + 32));
        EXPECT_EQ(Shown(), Overlay::Blank);
        EXPECT_FALSE(RepaintRequested(viewHwnd())) << "blank at once";
        EXPECT_EQ(CountOf(testing_win::ReadWindow(viewHwnd()), c.colour), 640 * 360);
        Press(viewHwnd(), c.vk, static_cast<wchar_t>(c.vk + 32));
        EXPECT_EQ(Shown(), Overlay::None);
        EXPECT_TRUE(Same(Screen(), slide));
        EXPECT_EQ(g_currentPage, 0);
    }
}

TEST_F(JumpAndBlank, WhileBlankPageKeysStepAndEverythingElseOnlyEndsTheBlank) {
    Open(640, 360, 4);
    struct Case {
        const char* what;
        std::function<void(HWND)> input;
        int to;
    } const cases[] = {
        {"Page Down", [](HWND v) { Press(v, VK_NEXT); }, 5},
        {"cursor up", [](HWND v) { Press(v, VK_UP); }, 3},
        {"Ctrl+Page Down", [](HWND v) { CtrlHeld ctrl; Press(v, VK_NEXT); }, kLastSlide},
        {"Home", [](HWND v) { Press(v, VK_HOME); }, 0},
        {"the wheel", [](HWND v) { Wheel(v, -120); }, 4},
        {"W on black", [](HWND v) { Press(v, 'W', L'w'); }, 4},
        {"a letter", [](HWND v) { Press(v, 'X', L'x'); }, 4},
        {"Escape", [](HWND v) { PressEscape(v); }, 4},
        {"Tab", [](HWND v) { Press(v, VK_TAB, L'\t'); }, 4},
    };
    for (const Case& c : cases) {
        g_currentPage = 4;
        Press(viewHwnd(), 'B', L'b');
        ASSERT_EQ(Shown(), Overlay::Blank) << c.what;
        c.input(viewHwnd());
        EXPECT_EQ(Shown(), Overlay::None) << c.what;
        EXPECT_EQ(g_currentPage, c.to) << c.what;
        ASSERT_TRUE(::IsWindow(frameHwnd())) << c.what;
        EXPECT_EQ(CountOf(Screen(), RGB(0, 0, 0)) < 640 * 360, true) << c.what;
    }
}

TEST_F(JumpAndBlank, WhileBlankNoHotspotReactsAndNoHoverIsDrawn) {
    Open(640, 360, 0);
    const POINT photo = SpotCentre(0, 0);
    Press(viewHwnd(), 'B', L'b');
    MouseMove(viewHwnd(), photo.x, photo.y);
    EXPECT_FALSE(view().m_bHover);
    Click(viewHwnd(), photo.x, photo.y);
    EXPECT_TRUE(view().m_strPicture.empty()) << "the photo's hotspot opened nothing";
    EXPECT_EQ(Shown(), Overlay::Blank) << "a click does not end the blank";
    EXPECT_EQ(CountOf(Screen(), RGB(0, 0, 0)), 640 * 360) << "nothing drawn over the blank";
    const Square corner = CornerSquare(ToSlideRect(view().m_rcSlide));
    MouseMove(viewHwnd(), corner.x + 2, corner.y + 2);
    EXPECT_FALSE(view().m_bHover);
    EXPECT_EQ(CountOf(testing_win::ReadWindow(viewHwnd()), RGB(0, 0, 0)), 640 * 360);
}

TEST_F(JumpAndBlank, BlankOverAPhotoComesBackToThePhoto) {
    Open(640, 360);
    ShowTitlePhoto();
    const testing_win::Pixels photo = Screen();
    Press(viewHwnd(), 'W', L'w');
    EXPECT_EQ(CountOf(testing_win::ReadWindow(viewHwnd()), RGB(255, 255, 255)), 640 * 360);
    Press(viewHwnd(), 'W', L'w');
    EXPECT_FALSE(view().m_strPicture.empty());
    EXPECT_TRUE(Same(Screen(), photo));
}

// The program as it runs: the slide reached by a jump is the one the profile keeps at exit.
TEST_F(JumpAndBlank, TheSlideIndexWrittenAtExitIsTheSlideJumpedTo) {
    const testing_win::KeptStoredPage kept;  // put back however the test ends
    testing_win::SetStoredPage(L"3");

    wchar_t tail[] = L"";
    auto app = std::make_unique<CPemboroApp>();
    app->m_lpCmdLine = tail;
    ASSERT_TRUE(app->InitInstance());
    testing_win::PumpMessages(20);
    ASSERT_NE(g_pView, nullptr);
    const HWND view = g_pView->m_hWnd;
    EXPECT_EQ(g_currentPage, 3);
    TypeDigits(view, L"42");
    Press(view, VK_RETURN, L'\r');
    ::DestroyWindow(app->m_pMainWnd->m_hWnd);
    testing_win::PumpMessages();
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    app.reset();  // writes the profile
    EXPECT_EQ(testing_win::StoredPage(), std::optional<std::wstring>(L"41"));
}

}  // namespace
}  // namespace interaction
