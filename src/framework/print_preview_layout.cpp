#include "framework/print_preview_layout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kGap = 10;     // around and between the sheets
constexpr int kShadow = kPreviewShadow;

int Round(double v) { return static_cast<int>(std::lround(v)); }

// Screen pixels per inch of paper at which `pages` sheets fit into the area.
double FitScale(const PaperMetrics& paper, SIZE area, int pages) {
    const double inchesWide = double(paper.paper.cx) / paper.dpi.cx;
    const double inchesHigh = double(paper.paper.cy) / paper.dpi.cy;
    const double roomWide = double(area.cx - (pages + 1) * kGap - pages * kShadow) / pages;
    const double roomHigh = double(area.cy - 2 * kGap - kShadow);
    return std::max(std::min(roomWide / inchesWide, roomHigh / inchesHigh), 1.0);
}

}  // namespace

PaperMetrics A4At300Dpi() {
    // What a 300 dpi printer reports for A4 without margins.
    return PaperMetrics{{2479, 3508}, {0, 0}, {2479, 3508}, {300, 300}};
}

PaperMetrics PaperOf(HDC printer) {
    if (!printer) return A4At300Dpi();
    PaperMetrics m{};
    m.printable = {::GetDeviceCaps(printer, HORZRES), ::GetDeviceCaps(printer, VERTRES)};
    m.dpi = {::GetDeviceCaps(printer, LOGPIXELSX), ::GetDeviceCaps(printer, LOGPIXELSY)};
    m.paper = {::GetDeviceCaps(printer, PHYSICALWIDTH), ::GetDeviceCaps(printer, PHYSICALHEIGHT)};
    m.offset = {::GetDeviceCaps(printer, PHYSICALOFFSETX), ::GetDeviceCaps(printer, PHYSICALOFFSETY)};
    if (m.printable.cx <= 0 || m.printable.cy <= 0 || m.dpi.cx <= 0 || m.dpi.cy <= 0) return A4At300Dpi();
    // Devices without a physical sheet (a plotter, a file) report none: the printable area is the sheet.
    if (m.paper.cx < m.printable.cx || m.paper.cy < m.printable.cy) {
        m.paper = m.printable;
        m.offset = {0, 0};
    }
    return m;
}

PreviewLayout LayOutPreview(const PaperMetrics& paper, SIZE area, int pages, int zoom, POINT scroll, int screenDpi) {
    PreviewLayout out;
    zoom = std::clamp(zoom, 0, kPreviewZoomSteps - 1);
    out.pages = zoom == 0 ? std::clamp(pages, 1, 2) : 1;

    double scale = FitScale(paper, area, out.pages);  // screen pixels per inch
    if (zoom > 0) {
        const double largest = std::max(double(screenDpi), 2.0 * scale);
        scale = zoom == 1 ? (scale + largest) / 2.0 : largest;
    }
    const int w = std::max(Round(scale * paper.paper.cx / paper.dpi.cx), 1);
    const int h = std::max(Round(scale * paper.paper.cy / paper.dpi.cy), 1);
    out.content = {out.pages * (w + kShadow) + (out.pages + 1) * kGap, h + kShadow + 2 * kGap};

    const int x0 = out.content.cx <= area.cx ? (area.cx - out.content.cx) / 2 : -scroll.x;
    const int y0 = out.content.cy <= area.cy ? (area.cy - out.content.cy) / 2 : -scroll.y;
    const double sx = double(w) / paper.paper.cx, sy = double(h) / paper.paper.cy;
    for (int i = 0; i < out.pages; ++i) {
        const int left = x0 + kGap + i * (w + kShadow + kGap);
        const int top = y0 + kGap;
        out.paper[i] = {left, top, left + w, top + h};
        out.printable[i] = {left + Round(paper.offset.x * sx), top + Round(paper.offset.y * sy),
                            left + Round((paper.offset.x + paper.printable.cx) * sx),
                            top + Round((paper.offset.y + paper.printable.cy) * sy)};
    }
    return out;
}
