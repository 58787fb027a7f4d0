#include "launch/process_start_win.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "framework/gdi.h"
#include "launch/argument_quoting.h"

fw::KernelHandle StartProcess(const wchar_t* program, const wchar_t* programName,
                              std::initializer_list<std::wstring_view> arguments) {
    if (!program || !*program) return {};
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::wstring commandLine = BuildCommandLine(programName ? programName : L"", arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return {};
    // Started programs run on their own: nothing waits for them. The caller may keep the
    // process's handle to see whether it still runs.
    fw::KernelHandle thread(info.hThread);
    return fw::KernelHandle(info.hProcess);
}

void ShellOpen(const wchar_t* path) {
    if (!path || !*path) return;
    ::ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
}
