#include "console/console_layout.h"

#include <algorithm>
#include <cwchar>

#include "framework/dpi.h"

namespace {
int Round(double v) { return RoundHalfUp(v); }
}  // namespace

SlideRect FitProportions(const SlideRect& box, int aw, int ah, bool top) {
    if (aw <= 0 || ah <= 0 || box.Width() <= 0 || box.Height() <= 0) return {box.left, box.top, box.left, box.top};
    int w = box.Width();
    int h = Round(static_cast<double>(w) * ah / aw);
    if (h > box.Height()) {
        h = box.Height();
        w = Round(static_cast<double>(h) * aw / ah);
    }
    const int left = box.left + (box.Width() - w) / 2;
    const int topEdge = top ? box.top : box.top + (box.Height() - h) / 2;
    return {left, topEdge, left + w, topEdge + h};
}

ConsoleLayout LayOutConsole(int w, int h, int showW, int showH, int dpi, bool timeLeft) {
    ConsoleLayout out{};
    w = std::max(w, 0);
    h = std::max(h, 0);
    const int m = std::max(8, h / 40);
    // The slide on screen takes all the room the column beside it leaves: that column is as
    // wide as its times need at the DPI's size (two of them side by side with a talk length),
    // never narrower than a quarter of the page (for the next slide) nor wider than two fifths:
    // the times are made smaller before the slide is.
    const int inner = std::max(0, w - 3 * m);
    const int timesW = AtDpi(kConsoleTextPx, dpi) * (timeLeft ? 17 : 9) / 2;
    // A demo's line ("Page Down returns to slide 69") at two thirds of the clock's size.
    const int demoW = AtDpi(kConsoleClockPx, dpi) * 2 / 3 * 96 / 5 + 1;
    const int least = std::min(inner * 2 / 5, std::max({inner / 4, timesW, demoW}));
    const int tallest = showH > 0 ? static_cast<int>(static_cast<long long>(h - 2 * m) * std::max(showW, 0) / showH) : 0;
    const int leftW = std::clamp(tallest, 0, inner - least);
    out.current = FitProportions({m, m, m + leftW, h - m}, showW, showH, false);
    // A slide as tall as the page leaves the column more than it needs: it takes all of it.
    const int rightLeft = 2 * m + leftW;
    const int rightW = std::max(0, w - m - rightLeft);
    out.next = FitProportions({rightLeft, m, rightLeft + rightW, m + (h - 2 * m) * 9 / 20}, showW, showH, true);
    // The DPI's sizes, where they fit: "0:12:34" (with the time left, "-0:01:23" in half the
    // column) across, and the two lines of text and the clock's under the next slide.
    const int across = timeLeft ? rightW / 2 * 2 / 8 : rightW * 2 / 7;
    const int below = std::max(0, h - m - (out.next.bottom + m));
    const int down = below * 10 / 33;  // 1.2 + 1.2 + 0.9 text heights
    const int room = std::min(across, down);
    out.textHeight = std::max(8, std::min(AtDpi(kConsoleTextPx, dpi), room));
    out.clockHeight = std::max(8, std::min(AtDpi(kConsoleClockPx, dpi), room * 3 / 4));
    const int line = out.textHeight * 6 / 5;
    int y = out.next.bottom + m;
    out.counter = {rightLeft, y, rightLeft + rightW, y + line};
    y += line;
    out.elapsed = {rightLeft, y, rightLeft + rightW, y + line};
    if (timeLeft) {
        out.elapsed.right = rightLeft + rightW / 2;
        out.left = {out.elapsed.right, y, rightLeft + rightW, y + line};
    } else {
        out.left = {rightLeft, y, rightLeft, y};
    }
    y += line;
    out.clock = {rightLeft, y, rightLeft + rightW, y + out.clockHeight * 6 / 5};
    return out;
}

std::wstring CounterText(int row, int count) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%d / %d", row + 1, count);
    return text;
}

std::wstring ElapsedText(long long seconds) {
    seconds = std::max(0LL, seconds);
    wchar_t text[32];
    std::swprintf(text, 32, L"%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::optional<ShowPoint> ToShowPoint(const SlideRect& consoleSlide, int px, int py, int showW, int showH) {
    if (consoleSlide.Width() <= 0 || consoleSlide.Height() <= 0) return std::nullopt;
    if (px < consoleSlide.left || px >= consoleSlide.right || py < consoleSlide.top || py >= consoleSlide.bottom)
        return std::nullopt;
    // The centre of the console's pixel, on the show's pixels.
    const double fx = (px - consoleSlide.left + 0.5) / consoleSlide.Width();
    const double fy = (py - consoleSlide.top + 0.5) / consoleSlide.Height();
    return ShowPoint{Trunc(fx * showW), Trunc(fy * showH)};
}

int NextRowAfter(int row, int lastRow) { return row < lastRow ? row + 1 : -1; }
