// Where logos and the copyright image go, on the listed screens and a printed half.
#include "render/branding_layout.h"

#include <gtest/gtest.h>

#include <map>

#include "deck/deck.h"

namespace {

constexpr SlideRect k1000x600{0, 0, 1000, 600};
constexpr SlideRect k1920x1080{0, 0, 1920, 1080};
constexpr int kRegular = 5;

// Pixel sizes of the logo bitmaps the layout is made for.
const std::map<int, std::pair<int, int>> kBitmapSizes = {
    {304, {1280, 512}}, {305, {300, 114}}, {306, {370, 92}},   {307, {1820, 734}}, {308, {214, 61}},
    {309, {372, 84}},   {310, {904, 257}}, {311, {1988, 526}}, {312, {1233, 393}}, {315, {1820, 512}},
};

struct Drawn {
    int id;
    Placement at;
};

// The logos of a slide as the paint draws them: plan, then place by each bitmap's size.
std::vector<Drawn> LogosOf(const SlideRect& rc, int slide, int brandLogoId, int secondLogoId) {
    std::vector<Drawn> out;
    const LogoPlan plan = PlanLogos(slide, brandLogoId, secondLogoId);
    for (int i = 0; i < plan.count; ++i) {
        const auto [w, h] = kBitmapSizes.at(plan.steps[i].bitmapId);
        out.push_back({plan.steps[i].bitmapId, PlaceLogo(plan.steps[i].slot, rc, slide, w, h)});
    }
    return out;
}

void ExpectAt(const Drawn& d, int id, int x, int y, int w, int h) {
    EXPECT_EQ(d.id, id);
    EXPECT_EQ(d.at.x, x) << "logo " << d.id;
    EXPECT_EQ(d.at.y, y) << "logo " << d.id;
    EXPECT_EQ(d.at.w, w) << "logo " << d.id;
    EXPECT_EQ(d.at.h, h) << "logo " << d.id;
}

TEST(SlideRoles, TitleClosingAndRegular) {
    EXPECT_EQ(RoleOfSlide(0), SlideRole::Title);
    EXPECT_EQ(RoleOfSlide(1), SlideRole::Regular);
    EXPECT_EQ(RoleOfSlide(67), SlideRole::Regular);
    EXPECT_EQ(RoleOfSlide(68), SlideRole::Closing);
}

TEST(BottomLogos, OnA1000x600Screen) {
    {   // no switch
        const auto d = LogosOf(k1000x600, kRegular, 0, 312);
        ASSERT_EQ(d.size(), 1u);
        ExpectAt(d[0], 312, 0, 564, 113, 36);
    }
    {   // the title slide's logos are a little taller
        const auto d = LogosOf(k1000x600, 0, 0, 312);
        ASSERT_EQ(d.size(), 1u);
        ExpectAt(d[0], 312, 0, 563, 116, 37);
    }
    {   // the parent-company switch
        const auto d = LogosOf(k1000x600, kRegular, 312, 315);
        ASSERT_EQ(d.size(), 2u);
        ExpectAt(d[0], 315, 0, 564, 128, 36);
        ExpectAt(d[1], 312, 867, 564, 113, 36);
    }
    {   // a partner switch
        const auto d = LogosOf(k1000x600, kRegular, 304, 312);
        ASSERT_EQ(d.size(), 2u);
        ExpectAt(d[0], 312, 0, 564, 113, 36);
        ExpectAt(d[1], 304, 890, 564, 90, 36);
    }
}

TEST(BottomLogos, OnA1920x1080Screen) {
    const auto regular = LogosOf(k1920x1080, kRegular, 304, 312);
    ASSERT_EQ(regular.size(), 2u);
    EXPECT_EQ(regular[0].at.h, 64);
    EXPECT_EQ(regular[0].at.y, 1080 - 64);
    EXPECT_EQ(regular[1].at.h, 64);
    EXPECT_EQ(regular[1].at.w, 160);
    EXPECT_EQ(regular[1].at.x, Trunc(1920.0 - 160.0 - 1920.0 * 0.02));
    const auto title = LogosOf(k1920x1080, 0, 0, 312);
    EXPECT_EQ(title[0].at.h, 68);
}

TEST(ClosingSlide, BigLogosWhateverTheChoice) {
    const ClosingBand band = ClosingBandFor(k1000x600);
    EXPECT_EQ(band.h0, 150);
    EXPECT_EQ(band.gap, 225);
    EXPECT_EQ(band.base, 375);
    for (const auto& [brand, second] : {std::pair{0, 312}, std::pair{312, 315}, std::pair{304, 312}}) {
        const auto d = LogosOf(k1000x600, kLastSlide, brand, second);
        ASSERT_GE(d.size(), 2u);
        ExpectAt(d[0], 315, 25, 249, 450, 126);
        ExpectAt(d[1], 312, 525, 232, 450, 143);
    }
    EXPECT_EQ(LogosOf(k1000x600, kLastSlide, 0, 312).size(), 2u);
    EXPECT_EQ(LogosOf(k1000x600, kLastSlide, 312, 315).size(), 2u);
}

TEST(ClosingSlide, PartnerLogoCentredBelowStandingAt487) {
    const auto with304 = LogosOf(k1000x600, kLastSlide, 304, 312);
    ASSERT_EQ(with304.size(), 3u);
    ExpectAt(with304[2], 304, 413, 397, 225, 90);
    const auto with306 = LogosOf(k1000x600, kLastSlide, 306, 312);
    ASSERT_EQ(with306.size(), 3u);
    ExpectAt(with306[2], 306, 413, 432, 225, 55);
    for (int id = 304; id <= 311; ++id) {
        const auto d = LogosOf(k1000x600, kLastSlide, id, 312);
        ASSERT_EQ(d.size(), 3u);
        EXPECT_EQ(d[2].at.y + d[2].at.h, 487) << "partner " << id;
        EXPECT_EQ(d[2].at.w, 225) << "partner " << id;
    }
}

TEST(CopyrightImage, BandAcrossTheBottomCentre) {
    const Placement small = PlaceCopyrightImage(k1000x600);
    EXPECT_EQ(small.x, 350);
    EXPECT_EQ(small.y, 582);
    EXPECT_EQ(small.w, 300);
    EXPECT_EQ(small.h, 18);
    const Placement large = PlaceCopyrightImage(k1920x1080);
    EXPECT_EQ(large.x, 672);
    EXPECT_EQ(large.y, 1048);
    EXPECT_EQ(large.w, 576);
    EXPECT_EQ(large.h, 32);
}

TEST(PrintedHalf, LogosSitInTheHalfAndTheRightInsetUsesTheRightEdge) {
    const SlideRect lower{206, 3300, 4594, 6188};
    const auto d = LogosOf(lower, kRegular, 304, 312);
    ASSERT_EQ(d.size(), 2u);
    const int h = Trunc(2888 * 0.06);  // 173
    EXPECT_EQ(h, 173);
    ExpectAt(d[0], 312, 206, 6188 - h, RoundHalfUp(1233.0 * h / 393.0), h);
    const int w = RoundHalfUp(1280.0 * h / 512.0);
    ExpectAt(d[1], 304, Trunc(double(4594 - w) - 4594 * 0.02), 6188 - h, w, h);
    // The closing slide in a half: the big logos are offset by the half's left edge.
    const auto closing = LogosOf(lower, kLastSlide, 0, 312);
    EXPECT_EQ(closing[0].at.x, 206 + Trunc(4388 * 0.025));
    EXPECT_EQ(closing[1].at.x, 206 + (4388 >> 1) + Trunc(4388 * 0.025));
}

TEST(LogoPlacement, NoSizeGivesNothingToDraw) {
    EXPECT_EQ(PlaceLogo(LogoSlot::BottomLeft, k1000x600, kRegular, 0, 10).w, 0);
    EXPECT_EQ(PlaceLogo(LogoSlot::BigLeft, SlideRect{0, 0, 1000, 2}, kLastSlide, 1820, 512).h, 0);
    EXPECT_EQ(PlaceLogo(LogoSlot::Partner, SlideRect{0, 0, 0, 0}, kLastSlide, 1280, 512).h, 0);
}

}  // namespace
