#include "launch/shell_open_win.h"

#include <windows.h>
#include <shellapi.h>

void ShellOpen(const wchar_t* path) {
    if (!path || !*path) return;
    ::ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
}
