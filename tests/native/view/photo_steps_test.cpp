#include "view/photo_steps.h"

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

}  // namespace
