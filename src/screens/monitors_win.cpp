#include "screens/monitors_win.h"

namespace {
bool InfoOf(HMONITOR monitor, MONITORINFOEXW& info) {
    info = MONITORINFOEXW{};
    info.cbSize = sizeof(info);
    return monitor && ::GetMonitorInfoW(monitor, &info);
}

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    auto* list = reinterpret_cast<Monitors*>(param);
    MONITORINFOEXW info;
    if (!InfoOf(monitor, info)) return TRUE;
    list->entries.push_back({ToSlideRect(info.rcMonitor), (info.dwFlags & MONITORINFOF_PRIMARY) != 0, info.szDevice});
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
    MONITORINFOEXW info;
    return InfoOf(monitor, info) ? ToSlideRect(info.rcMonitor) : SlideRect{0, 0, 0, 0};
}

SlideRect MonitorWorkArea(HMONITOR monitor) {
    MONITORINFOEXW info;
    return InfoOf(monitor, info) ? ToSlideRect(info.rcWork) : SlideRect{0, 0, 0, 0};
}

std::wstring MonitorDevice(HMONITOR monitor) {
    MONITORINFOEXW info;
    return InfoOf(monitor, info) ? std::wstring(info.szDevice) : std::wstring();
}

HMONITOR MonitorByNumber(int number) {
    const Monitors now = Monitors::Now();
    const HMONITOR chosen = now.At(MonitorForNumber(now.entries, number));
    return chosen ? chosen : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
}
