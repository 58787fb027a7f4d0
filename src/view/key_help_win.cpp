// The key help: the table of keys and mouse actions, over the slide.
#include <algorithm>
#include <cwchar>

#include "framework/gdi.h"
#include "view/key_help.h"
#include "view/overlay_drawing_win.h"

namespace {

int WidestOf(HDC dc, const wchar_t* HelpRow::*column) {
    int widest = 0;
    for (const HelpRow& row : kHelpRows) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, row.*column, static_cast<int>(std::wcslen(row.*column)), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    return widest;
}

void TextAt(HDC dc, int x, int y, const wchar_t* text) {
    ::TextOutW(dc, x, y, text, static_cast<int>(std::wcslen(text)));
}

}  // namespace

void DrawKeyHelp(HDC dc, const SlideRect& window) {
    const int height = HelpFontHeight(window.Height());
    const fw::Font font(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                      CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    const fw::ScopedTextState text(dc, font.get(), kOverlayText, TA_LEFT | TA_TOP, TRANSPARENT);
    const int lineH = height * 7 / 5;
    const HelpPlacement place =
        PlaceHelp(window, kHelpRowCount, lineH, WidestOf(dc, &HelpRow::input), WidestOf(dc, &HelpRow::action));
    const RECT box{place.box.left, place.box.top, place.box.right, place.box.bottom};
    const fw::Brush ground(::CreateSolidBrush(kOverlayGround));
    ::FillRect(dc, &box, ground.get());
    const fw::Brush edge(::CreateSolidBrush(kOverlayText));
    ::FrameRect(dc, &box, edge.get());
    int y = place.firstY;
    for (const HelpRow& row : kHelpRows) {
        TextAt(dc, place.inputX, y, row.input);
        TextAt(dc, place.actionX, y, row.action);
        y += place.lineH;
    }
}
