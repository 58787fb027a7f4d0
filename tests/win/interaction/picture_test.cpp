// Picture mode on the real view: entering with existing and missing photos, stepping by
// keys and wheel without wrap-around, and every way back to the slide.
#include "interaction_fixture.h"

#include "render/picture_rules.h"

namespace interaction {
namespace {

// The title slide links a photo to each hotspot, in table order.
const SlidePage& Title() { return g_slideDeck[0]; }
const Hotspot* Spot(int i) { return &Title().pSpots[i]; }

class PictureMode : public InteractionTest {
protected:
    void SetUp() override {
        InteractionTest::SetUp();
        ASSERT_GE(Title().nSpots, 5);
        for (int i = 0; i < 5; ++i) ASSERT_TRUE(IsPhotoTarget(Spot(i)->pszTarget));
        // Photos 0, 1, 3 and 4 exist; photo 2 is missing, which blocks the way past it.
        dir_ = UseProgramFolder(L"photos", {Spot(0)->pszTarget, Spot(1)->pszTarget, Spot(3)->pszTarget,
                                            Spot(4)->pszTarget});
        Open(400, 240, 0);
    }
    std::wstring PathOf(int i) const { return dir_ + L"\\" + Spot(i)->pszTarget; }
    void Show(int i) {
        view().EnterPictureMode(Spot(i));
        ASSERT_EQ(view().m_strPicture, PathOf(i));
        ASSERT_EQ(view().m_pPictureSpot, Spot(i));
        Settle();
    }

    std::wstring dir_;
};

TEST_F(PictureMode, EnteringShowsTheResolvedPhotoAndRepaints) {
    view().EnterPictureMode(Spot(1));
    EXPECT_EQ(view().m_strPicture, PathOf(1));
    EXPECT_EQ(view().m_pPictureSpot, Spot(1));
    EXPECT_TRUE(RepaintRequested(viewHwnd()));
}

TEST_F(PictureMode, NothingHappensForNoHotspotAMissingPhotoOrAFolder) {
    ::CreateDirectoryW((dir_ + L"\\" + Title().pSpots[5].pszTarget).c_str(), nullptr);
    for (const Hotspot* h : {static_cast<const Hotspot*>(nullptr), Spot(2), &Title().pSpots[5]}) {
        view().EnterPictureMode(h);
        EXPECT_TRUE(view().m_strPicture.empty());
        EXPECT_EQ(view().m_pPictureSpot, nullptr);
        EXPECT_FALSE(RepaintRequested(viewHwnd()));
    }
    // Shown already: a missing photo keeps the one on screen.
    Show(0);
    view().EnterPictureMode(Spot(2));
    EXPECT_EQ(view().m_strPicture, PathOf(0));
    EXPECT_EQ(view().m_pPictureSpot, Spot(0));
    EXPECT_FALSE(RepaintRequested(viewHwnd()));
}

TEST_F(PictureMode, CursorKeysStepWithoutWrapAroundAndStopAtAMissingPhoto) {
    struct Case {
        const char* what;
        int shown;
        UINT vk;
        int after;
        bool repaint;
    } const cases[] = {
        {"right to the next photo", 0, VK_RIGHT, 1, true},
        {"left to the previous photo", 1, VK_LEFT, 0, true},
        {"left from the first photo", 0, VK_LEFT, 0, false},
        {"right onto a missing photo", 1, VK_RIGHT, 1, false},
        {"left onto a missing photo", 3, VK_LEFT, 3, false},
        {"right past the gap", 3, VK_RIGHT, 4, true},
    };
    for (const Case& c : cases) {
        Show(c.shown);
        KeyDown(viewHwnd(), c.vk);
        EXPECT_EQ(view().m_pPictureSpot, Spot(c.after)) << c.what;
        EXPECT_EQ(view().m_strPicture, PathOf(c.after)) << c.what;
        EXPECT_EQ(RepaintRequested(viewHwnd()), c.repaint) << c.what;
    }
}

TEST_F(PictureMode, NoWrapAroundFromTheLastPhotoOfTheSlide) {
    const int last = Title().nSpots - 1;
    UseProgramFolder(L"last", {Title().pSpots[last].pszTarget, Spot(0)->pszTarget});
    view().EnterPictureMode(&Title().pSpots[last]);
    ASSERT_EQ(view().m_pPictureSpot, &Title().pSpots[last]);
    KeyDown(viewHwnd(), VK_RIGHT);
    Wheel(viewHwnd(), -120);
    EXPECT_EQ(view().m_pPictureSpot, &Title().pSpots[last]);
    EXPECT_FALSE(view().m_strPicture.empty());
}

TEST_F(PictureMode, TheWheelStepsPhotosByItsSignAndAlwaysRepaints) {
    struct Case {
        const char* what;
        int shown;
        short zDelta;
        int after;
    } const cases[] = {
        {"away: previous photo", 1, 120, 0},
        {"toward: next photo", 0, -120, 1},
        {"zero counts as toward", 0, 0, 1},
        {"away from the first photo", 0, 120, 0},
        {"toward a missing photo", 1, -120, 1},
    };
    for (const Case& c : cases) {
        Show(c.shown);
        Wheel(viewHwnd(), c.zDelta);
        EXPECT_EQ(view().m_pPictureSpot, Spot(c.after)) << c.what;
        EXPECT_EQ(g_currentPage, 0) << c.what;
        EXPECT_TRUE(RepaintRequested(viewHwnd())) << c.what;
    }
}

TEST_F(PictureMode, PageKeysLeaveThePhotoAndThenStep) {
    struct Case {
        const char* what;
        UINT vk;
        bool ctrl;
        int page;
    } const cases[] = {
        {"Page Down", VK_NEXT, false, 1},
        {"cursor down", VK_DOWN, false, 1},
        {"Page Up on the first slide only leaves", VK_PRIOR, false, 0},
        {"cursor up on the first slide only leaves", VK_UP, false, 0},
        {"Ctrl+Page Down", VK_NEXT, true, kLastSlide},
    };
    for (const Case& c : cases) {
        g_currentPage = 0;
        Show(1);
        {
            CtrlHeld ctrl(c.ctrl);
            KeyDown(viewHwnd(), c.vk);
        }
        EXPECT_TRUE(view().m_strPicture.empty()) << c.what;
        EXPECT_EQ(g_currentPage, c.page) << c.what;
        EXPECT_TRUE(RepaintRequested(viewHwnd())) << c.what;
        EXPECT_EQ(view().m_pPictureSpot, Spot(1)) << c.what << ": the last photo's spot stays";
    }
}

TEST_F(PictureMode, EscapeOnlyReturnsToTheSlideInEveryMode) {
    struct Case {
        const char* what;
        bool pro;
        bool fullScreen;
    } const cases[] = {
        {"windowed", false, false},
        {"full-screen", false, true},
        {"Pro, windowed", true, false},
        {"Pro, full-screen", true, true},
    };
    for (const Case& c : cases) {
        g_proMode = c.pro;
        if (frame().m_bFullScreen != c.fullScreen) frame().OnFullScreen();
        g_currentPage = 0;
        Show(3);
        KeyDown(viewHwnd(), VK_ESCAPE);
        EXPECT_EQ(view().m_strPicture, PathOf(3)) << c.what << ": the key-down does nothing";
        Char(viewHwnd(), 27);
        ASSERT_TRUE(::IsWindow(frameHwnd())) << c.what;
        EXPECT_TRUE(view().m_strPicture.empty()) << c.what;
        EXPECT_EQ(view().m_pPictureSpot, Spot(3)) << c.what;
        EXPECT_EQ(frame().m_bFullScreen, c.fullScreen) << c.what;
        EXPECT_EQ(g_currentPage, 0) << c.what;
        EXPECT_TRUE(RepaintRequested(viewHwnd())) << c.what;
    }
}

TEST_F(PictureMode, HitTestsAnswerNothingWhileAPhotoIsShown) {
    ::UpdateWindow(viewHwnd());
    const RECT rc = view().m_rcSlide;
    const Hotspot& h = *Spot(1);
    const int cx = static_cast<int>(rc.right * h.x), cy = static_cast<int>(rc.bottom * (1.0 - h.y));
    ASSERT_EQ(view().HotspotAt(CPoint(cx, cy)), Spot(1));
    Show(1);
    EXPECT_EQ(view().HotspotAt(CPoint(cx, cy)), nullptr);
    EXPECT_FALSE(view().HitCornerButton(CPoint(rc.right, rc.bottom)));
}

}  // namespace
}  // namespace interaction
