// Keeps Wine's virtual desktop alive between test programs: it owns a hidden
// window and pumps messages until it is told to close. Started with its output
// detached, it also keeps the desktop process from holding a test's pipes open.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"PemboroDesktopKeeper";
    ::RegisterClassW(&wc);
    // A top-level window (not message-only), so that the desktop process is started and kept.
    HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Pemboro desktop keeper", WS_OVERLAPPED, 0, 0, 1, 1,
                                  nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
