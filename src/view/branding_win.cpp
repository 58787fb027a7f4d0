#include "view/branding_win.h"

#include <iterator>

#include "res/copyright.h"
#include "res/resource.h"
#include "view/branding_layout.h"
#include "view/print_layout.h"
#include "view/slide_draw_win.h"

void DrawLogos(HDC dc, const SlideRect& slide, int slideIndex, int brandLogoId, int secondLogoId) {
    const LogoPlan plan = PlanLogos(slideIndex, brandLogoId, secondLogoId);
    for (int i = 0; i < plan.count; ++i) {
        const fw::Bitmap logo = LoadResourceBitmap(plan.steps[i].bitmapId);
        if (!logo) continue;
        const SIZE size = BitmapSize(logo.get());
        const Placement at = PlaceLogo(plan.steps[i].slot, slide, slideIndex, size.cx, size.cy);
        BlitBitmap(dc, at.x, at.y, at.w, at.h, logo.get());
    }
}

void DrawCopyrightImage(HDC dc, const SlideRect& slide) {
    const fw::Bitmap notice = LoadResourceBitmap(IDB_COPYRIGHT);
    if (!notice) return;
    const Placement at = PlaceCopyrightImage(slide);
    BlitBitmap(dc, at.x, at.y, at.w, at.h, notice.get());
}

void DrawCopyrightLine(HDC dc, const SlideRect& page, int margin) {
    const CopyrightLine line = PlaceCopyrightLine(page, margin);
    const fw::Font font(::CreateFontW(line.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0,
                                      L"Tahoma"));
    const fw::ScopedSelect select(dc, font.get());
    const COLORREF oldColour = ::SetTextColor(dc, RGB(128, 0, 0));
    const UINT oldAlign = ::SetTextAlign(dc, TA_CENTER | TA_TOP);
    ::TextOutW(dc, line.x, line.y, kCopyrightNotice, static_cast<int>(std::size(kCopyrightNotice)) - 1);
    ::SetTextAlign(dc, oldAlign);
    ::SetTextColor(dc, oldColour);
}
