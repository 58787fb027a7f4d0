// Input that reaches the view before its first paint, while the slide index restored from the
// profile may still lie outside the deck: the mouse, a click, the wheel and the keys work on the
// deck's rows only, and once the first paint has brought the index into range the slide shown
// is the one that paint's clamp gives.
#include "interaction_fixture.h"

#include <functional>

#include "launch/simulator.h"

namespace interaction {
namespace {

class BeforeTheFirstPaint : public InteractionTest {
protected:
    void SetUp() override {
        InteractionTest::SetUp();
        g_simulatorPath = L"C:\\nowhere\\Vexax64.exe";  // the corner button starts nothing here
    }
    // The frame and view made, not shown: no paint has run.
    void OpenUnpainted(int restored) {
        g_currentPage = restored;
        presenter_ = std::make_unique<testing_win::Presenter>(640, 360, false);
        ASSERT_NE(presenter_->view(), nullptr);
    }
};

TEST_F(BeforeTheFirstPaint, InputWorksOnTheDecksRowsAndThePaintShowsTheClampedSlide) {
    const Hotspot* const titleFirstSpot = &g_slideDeck[0].pSpots[0];
    ASSERT_EQ(g_slideDeck[kLastSlide].nSpots, 0) << "the closing slide has no hotspot";
    struct Case {
        const char* what;
        int restored;
        std::function<void(HWND)> input;
        int afterInput;   // the index the input leaves, before any clamp
        int shown;        // the slide the first paint shows
        const Hotspot* hover;
    } const cases[] = {
        // Before the first paint every square is the point (0, 0): the first hotspot of the row
        // on screen, else the corner button, is under it.
        {"a move over (0, 0), index 200", 200, [](HWND v) { MouseMove(v, 0, 0); }, 200, kLastSlide, nullptr},
        {"a move over (0, 0), index -5", -5, [](HWND v) { MouseMove(v, 0, 0); }, -5, 0, titleFirstSpot},
        {"a move elsewhere, index 70", 70, [](HWND v) { MouseMove(v, 30, 20); }, 70, kLastSlide, nullptr},
        {"a click on (0, 0), index 200", 200, [](HWND v) {
             ::SendMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
         }, 200, kLastSlide, nullptr},
        {"a click elsewhere, index -5", -5, [](HWND v) {
             ::SendMessageW(v, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 30));
         }, -5, 0, nullptr},
        {"the wheel away, index 200", 200, [](HWND v) { Wheel(v, 120); }, kLastSlide, kLastSlide, nullptr},
        {"the wheel toward, index 200", 200, [](HWND v) { Wheel(v, -120); }, kLastSlide, kLastSlide, nullptr},
        {"the wheel toward, index -5", -5, [](HWND v) { Wheel(v, -120); }, 0, 0, nullptr},
        {"Page Down, index 200", 200, [](HWND v) { KeyDown(v, VK_NEXT); }, 200, kLastSlide, nullptr},
        {"Page Up, index 200", 200, [](HWND v) { KeyDown(v, VK_PRIOR); }, 199, kLastSlide, nullptr},
        {"Page Down, index -5", -5, [](HWND v) { KeyDown(v, VK_NEXT); }, -4, 0, nullptr},
        {"Ctrl+Page Up, index 200", 200, [](HWND v) {
             CtrlHeld ctrl;
             KeyDown(v, VK_PRIOR);
         }, 0, 0, nullptr},
        {"Ctrl+Page Down, index -5", -5, [](HWND v) {
             CtrlHeld ctrl;
             KeyDown(v, VK_NEXT);
         }, kLastSlide, kLastSlide, nullptr},
        {"cursor right, index 200", 200, [](HWND v) { KeyDown(v, VK_RIGHT); }, 200, kLastSlide, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenUnpainted(c.restored);
        ASSERT_TRUE(view().m_rcSlide == CRect()) << "not painted yet";
        c.input(viewHwnd());
        EXPECT_EQ(g_currentPage, c.afterInput);
        EXPECT_EQ(view().m_pHoverSpot, c.hover);
        EXPECT_TRUE(view().m_strPicture.empty());
        presenter_->Show();
        ::UpdateWindow(viewHwnd());
        EXPECT_FALSE(view().m_rcSlide == CRect()) << "painted";
        EXPECT_EQ(g_currentPage, c.shown);
        presenter_.reset();
        MSG msg;
        ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
}

}  // namespace
}  // namespace interaction
