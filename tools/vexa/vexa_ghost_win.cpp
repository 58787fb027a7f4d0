#include "vexa_ghost_win.h"

#include "vexa_window_win.h"

namespace vexa {
namespace {

LRESULT CALLBACK GhostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int RunGhost(HINSTANCE instance, const std::wstring& fileName, int nCmdShow) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &GhostProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_WAIT);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"Ghost";
    if (!::RegisterClassExW(&wc)) return 1;
    const std::wstring title = std::wstring(kTitle) + L" - " + fileName + L" (Not Responding)";
    const HWND hwnd = ::CreateWindowExW(0, L"Ghost", title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                        900, 650, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ::ShowWindow(hwnd, nCmdShow);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return static_cast<int>(msg.wParam);
}

}  // namespace vexa
