#include "screens/frame_layout.h"

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

namespace {
long long Overlap(const SlideRect& a, const SlideRect& b) {
    const long long w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return w > 0 && h > 0 ? w * h : 0;
}

// The squared distance between two rectangles: 0 when they touch or overlap.
long long Distance2(const SlideRect& a, const SlideRect& b) {
    const long long dx = std::max({0, a.left - b.right, b.left - a.right});
    const long long dy = std::max({0, a.top - b.bottom, b.top - a.bottom});
    return dx * dx + dy * dy;
}
}  // namespace

int FindMonitor(const std::vector<MonitorEntry>& monitors, const std::wstring& device, const SlideRect& was) {
    const int n = static_cast<int>(monitors.size());
    if (!device.empty()) {
        for (int i = 0; i < n; ++i) {
            if (monitors[i].device == device) return i;
        }
    }
    int best = -1;
    long long bestOverlap = 0;
    long long bestDistance = 0;
    for (int i = 0; i < n; ++i) {
        const long long overlap = Overlap(monitors[i].rc, was);
        const long long distance = Distance2(monitors[i].rc, was);
        const bool better = best < 0 || overlap > bestOverlap || (bestOverlap == 0 && overlap == 0 && distance < bestDistance);
        if (better) {
            best = i;
            bestOverlap = overlap;
            bestDistance = distance;
        }
    }
    return best;
}

int SwapTarget(const std::vector<MonitorEntry>& monitors, int show, int console) {
    const int n = static_cast<int>(monitors.size());
    if (console >= 0 && console < n && console != show) return console;
    return ConsoleMonitorFor(monitors, show);
}

RoomPlaces PlacesAfterChange(const std::vector<MonitorEntry>& monitors, int show, bool showFull, int console,
                             const std::vector<int>& added) {
    if (monitors.size() < 2) return {show, -1};
    if (console >= 0 && console != show) return {show, console};
    // A show in a window is a rehearsal on the speaker's screen: a console there stays a window
    // where the speaker put it, never on a monitor the audience may see.
    if (!showFull) return {show, -1};
    if (console < 0) {
        for (const int a : added) {
            if (a != show && !monitors[static_cast<size_t>(a)].primary) return {a, show};
        }
    }
    return {show, ConsoleMonitorFor(monitors, show)};
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
