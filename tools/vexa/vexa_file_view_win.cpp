#include "vexa_file_view_win.h"

#include "vexa_gdi_win.h"
#include "vexa_simulator_state.h"

#include <algorithm>
#include <string>

namespace vexa {
namespace {

constexpr int kTextHeight = 14;
constexpr int kHeaderHeight = 24;
constexpr int kPadding = 6;
constexpr COLORREF kPaper = RGB(252, 252, 248);
constexpr COLORREF kGutter = RGB(236, 238, 242);
constexpr COLORREF kGutterText = RGB(130, 136, 150);
constexpr COLORREF kInk = RGB(24, 28, 36);
constexpr COLORREF kHeader = RGB(54, 64, 84);
constexpr COLORREF kHeaderText = RGB(240, 244, 250);
constexpr COLORREF kHint = RGB(120, 124, 132);

int LineHeight(HDC dc) {
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    return std::max(static_cast<int>(tm.tmHeight), 1);
}

}  // namespace

int VisibleFileLines(HDC dc, const RECT& area) {
    fw::Font font = MakeFont(kTextHeight, true);
    fw::ScopedSelect useFont(dc, font.get());
    return std::max(1, static_cast<int>(area.bottom - area.top - kHeaderHeight - 2 * kPadding) / LineHeight(dc));
}

void DrawFileView(HDC dc, const RECT& area, const SimulatorState& state) {
    FillSolid(dc, area, kPaper);
    ::SetBkMode(dc, TRANSPARENT);

    RECT header{area.left, area.top, area.right, area.top + kHeaderHeight};
    FillSolid(dc, header, kHeader);
    {
        fw::Font headerFont = MakeFont(13, false, FW_BOLD);
        fw::ScopedSelect useFont(dc, headerFont.get());
        ::SetTextColor(dc, kHeaderText);
        std::wstring caption = state.path.empty() ? std::wstring(L"No circuit open") : L"Circuit  \u2014  " + state.path;
        DrawTextAt(dc, area.left + kPadding, area.top + (kHeaderHeight - 14) / 2, caption);
    }

    const RECT body{area.left, header.bottom, area.right, area.bottom};
    fw::Font font = MakeFont(kTextHeight, true);
    fw::ScopedSelect useFont(dc, font.get());
    const int lineHeight = LineHeight(dc);

    if (state.path.empty() || !state.readable) {
        fw::Font hintFont = MakeFont(14, false);
        fw::ScopedSelect useHint(dc, hintFont.get());
        ::SetTextColor(dc, kHint);
        const std::wstring hint = state.path.empty()
                                      ? std::wstring(L"Open a circuit by sending it to this window or naming it on the command line.")
                                      : L"The file could not be read: " + state.path;
        DrawTextAt(dc, body.left + 2 * kPadding, body.top + 2 * kPadding, hint);
        return;
    }

    const std::wstring widest = std::to_wstring(state.lines.size());
    const int gutterWidth = TextWidth(dc, widest) + 2 * kPadding;
    RECT gutter{body.left, body.top, body.left + gutterWidth, body.bottom};
    FillSolid(dc, gutter, kGutter);

    int y = body.top + kPadding;
    const int count = static_cast<int>(state.lines.size());
    for (int i = std::clamp(state.firstShownLine, 0, std::max(count - 1, 0)); i < count && y + lineHeight <= body.bottom; ++i) {
        const std::wstring number = std::to_wstring(i + 1);
        ::SetTextColor(dc, kGutterText);
        DrawTextAt(dc, gutter.right - kPadding - TextWidth(dc, number), y, number);
        ::SetTextColor(dc, kInk);
        DrawTextAt(dc, gutter.right + kPadding, y, state.lines[static_cast<size_t>(i)]);
        y += lineHeight;
    }
}

}  // namespace vexa
