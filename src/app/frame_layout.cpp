#include "app/frame_layout.h"

#include <algorithm>

namespace {
bool IsEmpty(const SlideRect& r) { return !(r.left < r.right && r.top < r.bottom); }

int PrimaryIndex(const std::vector<MonitorEntry>& monitors) {
    for (int i = 0; i < static_cast<int>(monitors.size()); ++i) {
        if (monitors[i].primary) return i;
    }
    return monitors.empty() ? -1 : 0;  // a list without a primary one: the first stands in
}

// Where a span of `length` starts inside [lo, hi) when it would start at `start`.
int PushInside(int start, int length, int lo, int hi) { return std::max(lo, std::min(start, hi - length)); }
}  // namespace

FrameInsets InsetsBetween(const SlideRect& client, const SlideRect& window) {
    return {client.left - window.left, client.top - window.top, window.right - client.right,
            window.bottom - client.bottom};
}

SlideRect FullScreenRect(const SlideRect& monitor, const FrameInsets& insets) {
    return {monitor.left - insets.left, monitor.top - insets.top, monitor.right + insets.right,
            monitor.bottom + insets.bottom};
}

SlideRect MoveOntoMonitor(const SlideRect& window, const SlideRect& from, const SlideRect& to) {
    const int w = std::min(window.Width(), to.Width());
    const int h = std::min(window.Height(), to.Height());
    const int left = PushInside(to.left + (window.left - from.left), w, to.left, to.right);
    const int top = PushInside(to.top + (window.top - from.top), h, to.top, to.bottom);
    return {left, top, left + w, top + h};
}

std::vector<int> MonitorNumbering(const std::vector<MonitorEntry>& monitors) {
    std::vector<int> order;
    const int primary = PrimaryIndex(monitors);
    if (primary < 0) return order;
    order.push_back(primary);
    for (int i = 0; i < static_cast<int>(monitors.size()); ++i) {
        if (i != primary) order.push_back(i);
    }
    std::stable_sort(order.begin() + 1, order.end(), [&](int a, int b) {
        const SlideRect& ra = monitors[a].rc;
        const SlideRect& rb = monitors[b].rc;
        return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
    });
    return order;
}

int MonitorForNumber(const std::vector<MonitorEntry>& monitors, int number) {
    const std::vector<int> order = MonitorNumbering(monitors);
    if (order.empty()) return -1;
    if (number < 1 || number > static_cast<int>(order.size())) return order.front();
    return order[number - 1];
}

int ConsoleMonitorFor(const std::vector<MonitorEntry>& monitors, int show) {
    const std::vector<int> order = MonitorNumbering(monitors);
    for (const int i : order) {
        if (i != show) return i;
    }
    return -1;
}

EraseStrips StripsToErase(const SlideRect& clip, const SlideRect& slide) {
    EraseStrips out{};
    if (slide.right < clip.right) {
        SlideRect r = clip;
        r.left = slide.right;
        if (!IsEmpty(r)) out.rc[out.count++] = r;
    }
    if (slide.bottom < clip.bottom) {
        SlideRect r = clip;
        r.top = slide.bottom;
        if (!IsEmpty(r)) out.rc[out.count++] = r;
    }
    return out;
}
