// The monitors as the system has them now: their rectangles for the pure placement rules, and
// the handles those rules' answers stand for.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "screens/frame_layout.h"

struct Monitors {
    std::vector<MonitorEntry> entries;
    std::vector<HMONITOR> handles;  // same order

    static Monitors Now();
    // The index of this monitor in the list, or -1.
    int IndexOf(HMONITOR monitor) const;
    HMONITOR At(int index) const { return index < 0 ? nullptr : handles[static_cast<size_t>(index)]; }
};

// The whole rectangle of a monitor, in screen coordinates (empty for none).
SlideRect MonitorRect(HMONITOR monitor);
// The system's name for a monitor (\\.\DISPLAY2), which stays when the monitors are rearranged
// (empty for none).
std::wstring MonitorDevice(HMONITOR monitor);
// The work area of a monitor: without the taskbar (empty for none).
SlideRect MonitorWorkArea(HMONITOR monitor);

// The monitor that a start-up number names (1 the primary one); one that names none, the primary.
HMONITOR MonitorByNumber(int number);
