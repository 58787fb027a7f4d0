#include "view/key_help.h"

#include <algorithm>

int HelpMargin(const SlideRect& window) { return std::max(4, std::min(window.Width(), window.Height()) / 40); }

int HelpFontHeight(const SlideRect& window, int rows, int preferred, int tableW) {
    const int margin = HelpMargin(window);
    const int roomW = window.Width() - 2 * margin;
    const int roomH = window.Height() - 2 * margin;
    int height = std::max(preferred, 1);
    // Down: the rows and a row's padding above and below them.
    const int lines = rows + 2;
    while (height > kHelpSmallestText && lines * HelpLineHeight(height) > roomH) --height;
    // Across: the table's width follows the text's height.
    if (tableW > 0 && preferred > 0 && tableW > roomW) {
        const long long across = static_cast<long long>(std::max(roomW, 0)) * preferred / tableW;
        height = std::min(height, static_cast<int>(across));
    }
    return std::max(height, kHelpSmallestText);
}

int HelpTableWidth(int lineH, int inputW, int actionW) {
    // A row's height of padding on both sides and two between the columns.
    return 4 * lineH + inputW + actionW;
}

HelpPlacement PlaceHelp(const SlideRect& window, int rows, int lineH, int inputW, int actionW) {
    HelpPlacement p;
    const int margin = HelpMargin(window);
    const int pad = lineH;
    const int columnGap = 2 * lineH;
    const int w = HelpTableWidth(lineH, inputW, actionW);
    const int h = pad + rows * lineH + pad;
    // Centred; where it is wider or taller than the room, from the margin on.
    const int left = window.left + std::max(margin, (window.Width() - w) / 2);
    const int top = window.top + std::max(margin, (window.Height() - h) / 2);
    p.box = {left, top, left + w, top + h};
    p.inputX = left + pad;
    p.actionX = p.inputX + inputW + columnGap;
    p.firstY = top + pad;
    p.lineH = lineH;
    return p;
}
