#include "view/overview_layout.h"

#include <algorithm>

#include "framework/dpi.h"

SlideRect OverviewLayout::Tile(int i) const {
    const int col = columns > 0 ? i % columns : 0;
    const int row = columns > 0 ? i / columns : 0;
    const int x = left + col * (tileW + gap);
    const int y = top + row * (tileH + label + gap);
    return {x, y, x + tileW, y + tileH};
}

SlideRect OverviewLayout::Label(int i) const {
    const SlideRect tile = Tile(i);
    return {tile.left, tile.bottom, tile.right, tile.bottom + label};
}

SlideRect OverviewLayout::Cell(int i) const {
    const SlideRect tile = Tile(i);
    return {tile.left, tile.top, tile.right, tile.bottom + label};
}

int OverviewLayout::TileAt(int x, int y) const {
    if (count <= 0 || x < left || y < top) return -1;
    const int cellH = tileH + label;
    const int col = (x - left) / (tileW + gap);
    const int row = (y - top) / (cellH + gap);
    if (col >= columns || row >= rows) return -1;
    // In the gap to the right of or below a thumbnail and its number.
    if ((x - left) % (tileW + gap) >= tileW || (y - top) % (cellH + gap) >= cellH) return -1;
    const int i = row * columns + col;
    return i < count ? i : -1;
}

OverviewLayout LayOutOverview(int w, int h, int count, int dpi) {
    OverviewLayout best;
    if (w <= 0 || h <= 0 || count <= 0) return best;
    const int shorter = std::min(w, h);
    const int margin = std::max(4, shorter / 34);
    const int gap = std::max(4, shorter / 45);
    // The numbers at the DPI's size, but never taking more than a small share of the height.
    const int labelText = std::max(5, std::min(AtDpi(kOverviewNumberPx, dpi), shorter / 36));
    const int label = labelText * 5 / 4;
    const long long twoMargins = 2LL * margin;
    for (int columns = 1; columns <= count; ++columns) {
        const int rows = (count + columns - 1) / columns;
        // As wide as the width allows, then as tall as the height allows, in the window's shape.
        const long long byWidth = (w - twoMargins - static_cast<long long>(columns - 1) * gap) / columns;
        const long long byHeight =
            (h - twoMargins - static_cast<long long>(rows - 1) * gap - static_cast<long long>(rows) * label) / rows;
        const long long tileW = std::min(byWidth, byHeight * w / h);
        const long long tileH = tileW * h / w;
        if (tileW <= best.tileW || tileW < 2 || tileH < 2) continue;
        best.count = count;
        best.columns = columns;
        best.rows = rows;
        best.tileW = static_cast<int>(tileW);
        best.tileH = static_cast<int>(tileH);
    }
    if (best.count == 0) return best;
    best.gap = gap;
    best.frame = std::max(2, gap / 4);
    best.label = label;
    best.labelText = labelText;
    const int gridW = best.columns * best.tileW + (best.columns - 1) * gap;
    const int gridH = best.rows * (best.tileH + label) + (best.rows - 1) * gap;
    best.left = (w - gridW) / 2;
    best.top = (h - gridH) / 2;
    return best;
}

int MoveFrame(const OverviewLayout& layout, int framed, FrameMove move) {
    if (layout.count <= 0) return 0;
    framed = std::clamp(framed, 0, layout.count - 1);
    int to = framed;
    switch (move) {
    case FrameMove::Left: to = framed - 1; break;
    case FrameMove::Right: to = framed + 1; break;
    case FrameMove::Up: to = framed - layout.columns; break;
    case FrameMove::Down: to = framed + layout.columns; break;
    case FrameMove::First: to = 0; break;
    case FrameMove::Last: to = layout.count - 1; break;
    }
    return to >= 0 && to < layout.count ? to : framed;
}
