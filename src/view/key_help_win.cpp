// The key help: the table of keys and mouse actions, over the slide, at the monitor's text size
// and never wider or taller than the window.
#include <algorithm>
#include <cwchar>

#include "framework/dpi.h"
#include "framework/gdi.h"
#include "view/key_help.h"
#include "view/overlay_drawing_win.h"

namespace {

fw::Font HelpFont(int height) {
    return fw::Font(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
}

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

// The help's font at one height, with the widths of its two columns in it.
struct MeasuredFont {
    fw::Font font;
    int height = 0;
    int inputW = 0;
    int actionW = 0;
    int TableWidth() const { return HelpTableWidth(HelpLineHeight(height), inputW, actionW); }
};

MeasuredFont Measure(HDC dc, int height) {
    MeasuredFont m{HelpFont(height), height};
    const fw::ScopedSelect select(dc, m.font.get());
    m.inputW = WidestOf(dc, &HelpRow::input);
    m.actionW = WidestOf(dc, &HelpRow::action);
    return m;
}

// The largest text, up to the DPI's, whose table fits the window: the widths do not follow the
// height exactly (hinting), so a height that the first guess makes too wide is tried once more.
MeasuredFont FittingFont(HDC dc, const SlideRect& window, int dpi) {
    MeasuredFont m = Measure(dc, AtDpi(kHelpTextPx, dpi));
    for (int tries = 0; tries < 8; ++tries) {
        const int fit = HelpFontHeight(window, kHelpRowCount, m.height, m.TableWidth());
        if (fit >= m.height || m.height <= kHelpSmallestText) break;
        m = Measure(dc, fit);
    }
    return m;
}

}  // namespace

void DrawKeyHelp(HDC dc, const SlideRect& window, int dpi) {
    const MeasuredFont m = FittingFont(dc, window, dpi);
    const fw::ScopedTextState text(dc, m.font.get(), kOverlayText, TA_LEFT | TA_TOP, TRANSPARENT);
    const HelpPlacement place = PlaceHelp(window, kHelpRowCount, HelpLineHeight(m.height), m.inputW, m.actionW);
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
