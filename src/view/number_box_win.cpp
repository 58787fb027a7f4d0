// The typed slide number, in a small box in the window's top-right corner.
#include "framework/gdi.h"
#include "view/number_box.h"
#include "view/overlay_drawing_win.h"

namespace {

fw::Font BoxFont(int height) {
    return fw::Font(::CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
}

}  // namespace

void DrawNumberBox(HDC dc, const SlideRect& window, const std::wstring& digits, int dpi) {
    if (digits.empty()) return;
    const fw::Font font = BoxFont(NumberBoxFontHeight(window.Height(), dpi));
    const fw::ScopedTextState text(dc, font.get(), kOverlayText, TA_LEFT | TA_TOP, TRANSPARENT);
    SIZE size{};
    // The box is as wide as the widest number, so it does not jump while digits come.
    ::GetTextExtentPoint32W(dc, L"000", 3, &size);
    const SlideRect box = NumberBoxRect(window, size.cx, size.cy);
    const RECT rc{box.left, box.top, box.right, box.bottom};
    const fw::Brush ground(::CreateSolidBrush(kOverlayGround));
    ::FillRect(dc, &rc, ground.get());
    RECT textRc = rc;
    ::DrawTextW(dc, digits.c_str(), static_cast<int>(digits.size()), &textRc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
