#include "view/key_help.h"

#include <algorithm>

int HelpFontHeight(int windowH) {
    // The rows and a row's worth of margin above and below, at 1.4 lines per text height.
    const int fit = static_cast<int>(windowH / ((kHelpRowCount + 2) * 1.4));
    return std::clamp(fit, 8, 48);
}

HelpPlacement PlaceHelp(const SlideRect& window, int rows, int lineH, int inputW, int actionW) {
    HelpPlacement p;
    const int pad = lineH;
    const int columnGap = 2 * lineH;
    const int w = pad + inputW + columnGap + actionW + pad;
    const int h = pad + rows * lineH + pad;
    const int left = window.left + (window.Width() - w) / 2;
    const int top = window.top + std::max(0, (window.Height() - h) / 2);
    p.box = {left, top, left + w, top + h};
    p.inputX = left + pad;
    p.actionX = p.inputX + inputW + columnGap;
    p.firstY = top + pad;
    p.lineH = lineH;
    return p;
}
