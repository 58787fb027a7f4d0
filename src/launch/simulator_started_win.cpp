// The simulator process the presenter started last, while its window has not shown: files for
// the simulator wait for that window instead of starting one simulator each, and go to it by
// message once it shows. A timer of the thread looks for the window; nothing waits for it.
#include <string>
#include <utility>
#include <vector>

#include "launch/simulator.h"

namespace {

constexpr UINT kLookEveryMs = 100;

struct WaitingFile {
    UINT message;
    std::wstring path;
};

struct Started {
    fw::KernelHandle process;
    DWORD id = 0;
    ULONGLONG startedAt = 0;
    std::vector<WaitingFile> waiting;  // in the order the speaker clicked
    UINT_PTR timer = 0;
};

Started& Last() {
    static Started started;
    return started;
}

bool Runs(const Started& s) { return s.process && ::WaitForSingleObject(s.process.get(), 0) == WAIT_TIMEOUT; }

bool StillComing(const Started& s) {
    return s.id != 0 && Runs(s) && ::GetTickCount64() - s.startedAt < kNewSimulatorWaitMs &&
           !VisibleSimulatorWindowOf(s.id);
}

void CALLBACK LookForWindow(HWND, UINT, UINT_PTR, DWORD) {
    Started& s = Last();
    HWND window = s.id ? VisibleSimulatorWindowOf(s.id) : nullptr;
    if (!window && StillComing(s)) return;
    ::KillTimer(nullptr, s.timer);
    s.timer = 0;
    // It never showed a window in time (or ended): the files go to whatever simulator runs now,
    // or to new ones.
    if (!window) window = FindSimulatorWindow();
    std::vector<WaitingFile> files = std::exchange(s.waiting, {});
    for (const WaitingFile& file : files) HandToWindowOrStart(window, file.message, file.path.c_str());
}

}  // namespace

void RememberStartedSimulator(fw::KernelHandle process) {
    if (!process) return;
    Started& s = Last();
    // Files still waiting for an earlier simulator keep waiting, now for this one.
    s.process = std::move(process);
    s.id = ::GetProcessId(s.process.get());
    s.startedAt = ::GetTickCount64();
}

DWORD ComingSimulator() {
    const Started& s = Last();
    return StillComing(s) ? s.id : 0;
}

HandOff WaitForComingSimulator(UINT message, const wchar_t* path) {
    Started& s = Last();
    if (!path) return {};
    bool known = false;
    for (const WaitingFile& file : s.waiting) known = known || (file.message == message && file.path == path);
    if (!known) s.waiting.push_back({message, path});
    if (!s.timer) s.timer = ::SetTimer(nullptr, 0, kLookEveryMs, &LookForWindow);
    return HandOff{nullptr, s.id};
}
