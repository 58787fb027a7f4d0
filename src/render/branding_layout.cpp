#include "render/branding_layout.h"

#include "deck/deck.h"
#include "res/resource.h"

namespace {

double D(int v) { return static_cast<double>(v); }

// A logo's width at height h when its proportions are kept.
int WidthAtHeight(int bmWidth, int bmHeight, int h) { return RoundHalfUp(D(bmWidth) * D(h) / D(bmHeight)); }

// A big or partner logo drawn drawnWidth wide: its height scales from its width at height h0.
int HeightForDrawnWidth(int drawnWidth, int bmWidth, int bmHeight, int h0) {
    const int w0 = WidthAtHeight(bmWidth, bmHeight, h0);
    if (w0 <= 0) return 0;  // a band too thin to hold the logo at all
    return Trunc(D(drawnWidth) / D(w0) * D(h0));
}

int BottomLogoHeight(const SlideRect& slide, int slideIndex) {
    const double f = RoleOfSlide(slideIndex) == SlideRole::Title ? 0.063 : 0.06;
    return Trunc(D(slide.Height()) * f);
}

}  // namespace

SlideRole RoleOfSlide(int index) {
    if (index == 0) return SlideRole::Title;
    if (index == kLastSlide) return SlideRole::Closing;
    return SlideRole::Regular;
}

LogoPlan PlanLogos(int slideIndex, int brandLogoId, int secondLogoId) {
    LogoPlan plan{};
    const auto add = [&plan](int id, LogoSlot slot) { plan.steps[plan.count++] = {id, slot}; };
    if (RoleOfSlide(slideIndex) != SlideRole::Closing) {
        add(secondLogoId, LogoSlot::BottomLeft);
        if (brandLogoId != 0) add(brandLogoId, LogoSlot::BottomRight);
        return plan;
    }
    add(IDB_BRAND, LogoSlot::BigLeft);
    if (brandLogoId == IDB_PARENT) {
        add(brandLogoId, LogoSlot::BigRight);
        return plan;
    }
    add(IDB_PARENT, LogoSlot::BigRight);
    if (brandLogoId != 0) add(brandLogoId, LogoSlot::Partner);
    return plan;
}

ClosingBand ClosingBandFor(const SlideRect& slide) {
    const int h0 = Trunc(D(slide.Height()) * 0.25);
    const int gap = (slide.bottom - h0 - slide.top) >> 1;
    return {h0, gap, slide.bottom - gap};
}

Placement PlaceLogo(LogoSlot slot, const SlideRect& slide, int slideIndex, int bmWidth, int bmHeight) {
    if (bmWidth <= 0 || bmHeight <= 0) return {0, 0, 0, 0};
    const int W = slide.Width();
    switch (slot) {
    case LogoSlot::BottomLeft:
    case LogoSlot::BottomRight: {
        const int h = BottomLogoHeight(slide, slideIndex);
        const int w = WidthAtHeight(bmWidth, bmHeight, h);
        // The right inset is 2 % of the coordinate of the right edge, not of the width.
        const int x = slot == LogoSlot::BottomLeft ? slide.left : Trunc(D(slide.right - w) - D(slide.right) * 0.02);
        return {x, slide.bottom - h, w, h};
    }
    case LogoSlot::BigLeft:
    case LogoSlot::BigRight: {
        const ClosingBand band = ClosingBandFor(slide);
        const int wD = Trunc(D(W) * 0.45);
        const int hD = HeightForDrawnWidth(wD, bmWidth, bmHeight, band.h0);
        const int inset = Trunc(D(W) * 0.025);
        const int x = slide.left + (slot == LogoSlot::BigLeft ? 0 : (W >> 1)) + inset;
        return {x, band.base - hD, wD, hD};
    }
    case LogoSlot::Partner: {
        const ClosingBand band = ClosingBandFor(slide);
        const int wD = Trunc(D(W) * 0.225);
        const int hD = HeightForDrawnWidth(wD, bmWidth, bmHeight, band.h0);
        // Centred 2.5 % of the width right of the middle; its foot halfway down the space below the band.
        const int x = slide.left + (W >> 1) - (wD >> 1) + Trunc(D(W) * 0.025);
        const int y = slide.bottom + (band.gap >> 1) - band.gap - hD;
        return {x, y, wD, hD};
    }
    }
    return {0, 0, 0, 0};
}

Placement PlaceCopyrightImage(const SlideRect& slide) {
    const int h = RoundHalfUp(D(slide.Height()) * 0.03);
    return {Trunc(D(slide.right) * 0.35), slide.bottom - h, Trunc(D(slide.right) * 0.3), h};
}
