// Circelo Vexa, the stand-in circuit simulator the presenter drives: a window that opens
// and runs circuit files on request.
#include "vexa_command_line.h"
#include "vexa_ghost_win.h"
#include "vexa_log_win.h"
#include "vexa_window_win.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

struct LocalFreeDeleter {
    void operator()(LPWSTR* p) const { ::LocalFree(p); }
};

std::vector<std::wstring> LaunchArguments() {
    int count = 0;
    std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::vector<std::wstring> arguments;
    // Argument 0 is the program's own name.
    for (int i = 1; argv && i < count; ++i) arguments.emplace_back(argv.get()[i]);
    return arguments;
}

// A number of milliseconds from the environment; 0 without it.
DWORD EnvironmentMs(const wchar_t* name) {
    wchar_t text[16] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, text, 16);
    return n > 0 && n < 16 ? static_cast<DWORD>(std::wcstoul(text, nullptr, 10)) : 0;
}

// CIRCELO_STARTUP_MS: a start-up that takes this long before the window exists, as a large
// simulator's does. CIRCELO_SHOW_AFTER_MS: the window exists at once, hidden, and shows this long
// later, as one does after a licence check or a scan of its libraries; its messages are handled
// meanwhile.
DWORD StartupMs() { return EnvironmentMs(L"CIRCELO_STARTUP_MS"); }
// CIRCELO_HOLD_PAGE_DOWN=1: Page Down is taken as a hot key of the window, as a remote-control
// tool of the speaker's may take the clicker's keys: no other program can take it then.
bool HoldsPageDown() { return EnvironmentMs(L"CIRCELO_HOLD_PAGE_DOWN") != 0; }
DWORD ShowAfterMs() { return EnvironmentMs(L"CIRCELO_SHOW_AFTER_MS"); }

constexpr UINT_PTR kShowTimer = 1;
int g_showCommand = SW_SHOWNORMAL;

void CALLBACK ShowLate(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hwnd, id);
    ::ShowWindow(hwnd, g_showCommand);
    ::UpdateWindow(hwnd);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int nCmdShow) {
    const vexa::LaunchRequest request = vexa::ParseLaunchArguments(LaunchArguments());
    if (!request.ghostOf.empty()) return vexa::RunGhost(instance, request.ghostOf, nCmdShow);
    if (const DWORD startup = StartupMs()) ::Sleep(startup);

    vexa::SimulatorWindow window(request.refuseMessages, request.slowReplyMs, request.blockReplyMs);
    if (!window.Create(instance)) return 1;

    if (HoldsPageDown()) ::RegisterHotKey(window.hwnd(), 1, MOD_NOREPEAT, VK_NEXT);

    if (request.path.empty()) {
        vexa::AppendRequestLog(L"command-line none");
    } else {
        vexa::AppendRequestLog((request.run ? L"command-line run " : L"command-line open ") + request.path);
        window.Open(request.path);
        if (request.run) window.Run();
    }
    // As its starter asks: shown normally and activated, unless the start said otherwise.
    if (const DWORD late = ShowAfterMs()) {
        g_showCommand = nCmdShow;
        ::SetTimer(window.hwnd(), kShowTimer, late, &ShowLate);
    } else {
        ::ShowWindow(window.hwnd(), nCmdShow);
        ::UpdateWindow(window.hwnd());
    }

    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
