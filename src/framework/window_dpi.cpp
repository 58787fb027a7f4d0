#include "framework/window_dpi.h"

#include "framework/dpi.h"
#include "framework/gdi.h"

namespace fw {

int WindowDpi(HWND hwnd) {
    // Looked up by name: Windows before 10 (1607) has no per-window DPI, and the program still runs there.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (hwnd && dpiForWindow) {
        if (const UINT dpi = dpiForWindow(hwnd)) return static_cast<int>(dpi);
    }
    const WindowDc screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace fw
