// The DPI of the monitor a window is on, as the program sizes its texts by (framework/dpi.h).
#pragma once
#include <windows.h>

namespace fw {

// The window's DPI: its monitor's, the program being per-monitor aware; where the system cannot
// say (older Windows, no window), the screen's. Never 0.
int WindowDpi(HWND hwnd);

}  // namespace fw
