#include "app/monitors_win.h"

namespace {
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    auto* list = reinterpret_cast<Monitors*>(param);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
    list->entries.push_back({ToSlideRect(info.rcMonitor), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    list->handles.push_back(monitor);
    return TRUE;
}
}  // namespace

Monitors Monitors::Now() {
    Monitors list;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

int Monitors::IndexOf(HMONITOR monitor) const {
    for (size_t i = 0; i < handles.size(); ++i) {
        if (handles[i] == monitor) return static_cast<int>(i);
    }
    return -1;
}

SlideRect MonitorRect(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!monitor || !::GetMonitorInfoW(monitor, &info)) return {0, 0, 0, 0};
    return ToSlideRect(info.rcMonitor);
}

HMONITOR MonitorByNumber(int number) {
    const Monitors now = Monitors::Now();
    const HMONITOR chosen = now.At(MonitorForNumber(now.entries, number));
    return chosen ? chosen : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
}
