// Picture mode's rules: which targets are photos, the neighbouring photos of a slide, and the
// letterbox in a 1000 x 600 window.
#include "render/picture_rules.h"

#include <gtest/gtest.h>

#include "deck/deck.h"

namespace {


TEST(PhotoTarget, ExtensionJpgInAnyCase) {
    struct Case {
        const wchar_t* target;
        bool photo;
    } const cases[] = {
        {L"Aachen.jpg", true},  {L"Aachen.JPG", true},       {L"Aachen.Jpg", true},   {L"a.b.jpg", true},
        {L".jpg", true},        {L"Aachen.jpeg", false},     {L"Aachen.jpg.bak", false}, {L"jpg", false},
        {L"Aachenjpg", false},  {L"", false},                {nullptr, false},        {L"!Photo.jpg", true},
        {L"Aachen.jpg ", false}, {L"Aachen.png", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsPhotoTarget(c.target), c.photo) << (c.target ? "" : "(null)");
}

// Positions 0..6: photos at 0, 2, 5 and 6; others between, one with a photo-like name.
constexpr Hotspot kMixed[] = {
    {0.1, 0.5, L"First.jpg"}, {0.2, 0.5, L"circuit.asc"}, {0.3, 0.5, L"Second.JPG"},
    {0.4, 0.5, L"notes.jpeg"}, {0.5, 0.5, L"!run.asc"},  {0.6, 0.5, L"Third.jpg"},
    {0.7, 0.5, L"Fourth.Jpg"},
};
const SlidePage kMixedSlide{1, L"mixed.png", 7, kMixed};

TEST(PhotoSteps, SkipOtherTargetsInTableOrder) {
    EXPECT_EQ(NextPhoto(kMixedSlide, &kMixed[2]), &kMixed[5]);
    EXPECT_EQ(PreviousPhoto(kMixedSlide, &kMixed[5]), &kMixed[2]);
    EXPECT_EQ(NextPhoto(kMixedSlide, &kMixed[0]), &kMixed[2]);
    EXPECT_EQ(PreviousPhoto(kMixedSlide, &kMixed[2]), &kMixed[0]);
    EXPECT_EQ(NextPhoto(kMixedSlide, &kMixed[5]), &kMixed[6]);
    // From a non-photo the search still starts beside it.
    EXPECT_EQ(NextPhoto(kMixedSlide, &kMixed[3]), &kMixed[5]);
    EXPECT_EQ(PreviousPhoto(kMixedSlide, &kMixed[4]), &kMixed[2]);
}

TEST(PhotoSteps, NoWrapAroundAtEitherEnd) {
    EXPECT_EQ(PreviousPhoto(kMixedSlide, &kMixed[0]), nullptr);
    EXPECT_EQ(NextPhoto(kMixedSlide, &kMixed[6]), nullptr);
}

TEST(PhotoSteps, OnePhotoAmongOthersHasNoNeighbours) {
    constexpr Hotspot spots[] = {{0.1, 0.1, L"a.asc"}, {0.2, 0.2, L"only.jpg"}, {0.3, 0.3, L"b.pdf"}};
    const SlidePage slide{1, L"s.png", 3, spots};
    EXPECT_EQ(PreviousPhoto(slide, &spots[1]), nullptr);
    EXPECT_EQ(NextPhoto(slide, &spots[1]), nullptr);
}

TEST(PhotoSteps, StartOutsideTheSlideFindsNothing) {
    constexpr Hotspot other[] = {{0.5, 0.5, L"Elsewhere.jpg"}};
    EXPECT_EQ(NextPhoto(kMixedSlide, nullptr), nullptr);
    EXPECT_EQ(PreviousPhoto(kMixedSlide, nullptr), nullptr);
    EXPECT_EQ(NextPhoto(kMixedSlide, &other[0]), nullptr);
    const SlidePage empty{1, L"e.png", 0, nullptr};
    EXPECT_EQ(NextPhoto(empty, &kMixed[0]), nullptr);
    EXPECT_EQ(PreviousPhoto(empty, &kMixed[0]), nullptr);
}

TEST(PhotoSteps, TitleSlideWalksEveryPhotoOnce) {
    const SlidePage& title = g_slideDeck[0];
    ASSERT_GT(title.nSpots, 1);
    int forward = 1;
    for (const Hotspot* h = &title.pSpots[0]; (h = NextPhoto(title, h)) != nullptr;) ++forward;
    int back = 1;
    for (const Hotspot* h = &title.pSpots[title.nSpots - 1]; (h = PreviousPhoto(title, h)) != nullptr;) ++back;
    EXPECT_EQ(forward, title.nSpots);
    EXPECT_EQ(back, title.nSpots);
}


TEST(FitPicture, FourShapesInA1000x600Window) {
    const SlideRect window{0, 0, 1000, 600};
    struct Case {
        int bmW, bmH;
        int x, y, w, h;
    } const cases[] = {
        {800, 600, 100, 0, 800, 600},    // narrower: bars left and right
        {600, 800, 275, 0, 450, 600},
        {1600, 600, 0, 112, 1000, 375},  // wider: bars above and below
        {1000, 600, 0, 0, 1000, 600},    // the same shape fills the window
    };
    for (const Case& c : cases) {
        const PictureFit fit = FitPicture(window, c.bmW, c.bmH);
        EXPECT_TRUE(fit.fits);
        EXPECT_EQ(fit.x, c.x) << c.bmW << "x" << c.bmH;
        EXPECT_EQ(fit.y, c.y) << c.bmW << "x" << c.bmH;
        EXPECT_EQ(fit.w, c.w) << c.bmW << "x" << c.bmH;
        EXPECT_EQ(fit.h, c.h) << c.bmW << "x" << c.bmH;
    }
}

TEST(FitPicture, OffsetWindowAndNothingToFit) {
    const PictureFit offset = FitPicture(SlideRect{10, 20, 1010, 620}, 800, 600);
    EXPECT_EQ(offset.x, 110);
    EXPECT_EQ(offset.y, 20);
    // A photo that did not decode, or a window of no width: the slide is drawn instead.
    EXPECT_FALSE(FitPicture(SlideRect{0, 0, 1000, 600}, 0, 0).fits);
    EXPECT_FALSE(FitPicture(SlideRect{0, 0, 0, 600}, 800, 600).fits);
    // No height: picture mode holds, and the photo has no area.
    const PictureFit flat = FitPicture(SlideRect{0, 0, 1000, 0}, 800, 600);
    EXPECT_TRUE(flat.fits);
    EXPECT_EQ(flat.h, 0);
}

}  // namespace
