// launcher <program> [argument...]
// Starts the program with the arguments given and waits. When the program ends, so does the
// launcher, with its exit code. When the launcher's standard input ends first (the script that
// holds it closes the pipe), the program's top-level windows are asked to close, as the system
// menu's Close does; a program still running ten seconds later is ended by its handle.
// A console program, so that a script can hold its standard input.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/gdi.h"
#include "launch/argument_quoting.h"

namespace {

constexpr DWORD kCloseGraceMs = 10000;

// Reads standard input to its end, then signals.
DWORD WINAPI WatchInput(void* inputEnded) {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    char buffer[256];
    DWORD read = 0;
    while (input && input != INVALID_HANDLE_VALUE && ::ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read) {
    }
    ::SetEvent(static_cast<HANDLE>(inputEnded));
    return 0;
}

struct CloseRequest {
    DWORD processId;
    int windows = 0;
};

BOOL CALLBACK CloseIfOwned(HWND hwnd, LPARAM param) {
    auto* request = reinterpret_cast<CloseRequest*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == request->processId && ::IsWindowVisible(hwnd) && !::GetWindow(hwnd, GW_OWNER)) {
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
        ++request->windows;
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: launcher <program> [argument...]\n", stderr);
        return 2;
    }
    std::wstring commandLine = QuoteProgramName(argv[1]);
    for (int i = 2; i < argc; ++i) commandLine += L' ' + QuoteArgument(argv[i]);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "launcher: could not start the program (error %lu)\n", ::GetLastError());
        return 2;
    }
    const fw::KernelHandle process(info.hProcess);
    const fw::KernelHandle thread(info.hThread);

    const fw::KernelHandle inputEnded(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const fw::KernelHandle watcher(::CreateThread(nullptr, 0, &WatchInput, inputEnded.get(), 0, nullptr));
    const HANDLE waits[] = {process.get(), inputEnded.get()};
    if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
        CloseRequest request{info.dwProcessId};
        ::EnumWindows(&CloseIfOwned, reinterpret_cast<LPARAM>(&request));
        if (::WaitForSingleObject(process.get(), request.windows ? kCloseGraceMs : 0) != WAIT_OBJECT_0) {
            std::fputs("launcher: the program did not close; ending it\n", stderr);
            ::TerminateProcess(process.get(), 1);
            ::WaitForSingleObject(process.get(), kCloseGraceMs);
        }
    }
    DWORD code = 1;
    ::GetExitCodeProcess(process.get(), &code);
    // An input watcher still blocked in its read ends with the process.
    return static_cast<int>(code);
}
