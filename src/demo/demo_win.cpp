#include "demo/demo_win.h"

#include "deck/page_cursor.h"
#include "launch/simulator.h"
#include "talk/talk.h"
#include "talk/talk_time.h"

namespace {

bool OwnWindow(HWND hwnd) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    return hwnd && owner == ::GetCurrentProcessId();
}

std::wstring FileNameOf(const wchar_t* path) {
    if (!path || !*path) return SimulatorTitlePrefix;  // the corner button: the simulator itself
    const std::wstring text(path);
    const size_t slash = text.find_last_of(L"\\/");
    return slash == std::wstring::npos ? text : text.substr(slash + 1);
}

}  // namespace

double DemoClockNow() { return static_cast<double>(::GetTickCount64()) / 1000.0; }

CDemoRun::~CDemoRun() {
    GiveKeysBack();
    const HWND frame = m_pFrame->StageWindow();
    if (m_bWatching && frame) ::KillTimer(frame, kTimerId);
}

void CDemoRun::HandedOver(const HandOff& handOff, const wchar_t* path) {
    if (!handOff || !m_pFrame->StageWindow()) return;
    m_hSimulator = handOff.window;
    m_simulatorProcess = handOff.window ? 0 : handOff.process;
    m_process.reset(m_simulatorProcess ? ::OpenProcess(SYNCHRONIZE, FALSE, m_simulatorProcess) : nullptr);
    DemoStart start;
    start.fullScreen = m_pFrame->FullScreen();
    start.row = CurrentSlideIndex();
    start.fileName = FileNameOf(path);
    Apply(m_demo.Begin(start, Facts()), 0);
}

bool CDemoRun::OnFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam != kTimerId) return false;
        Apply(m_demo.Tick(Facts()), 0);
        return true;
    case WM_HOTKEY:
        if (wParam != kNextKeyId && wParam != kPriorKeyId) return false;
        Apply(m_demo.HotKey(Facts()), HIWORD(lParam));
        return true;
    case WM_ACTIVATEAPP:
        Apply(wParam ? m_demo.ShowActivated(Facts()) : m_demo.ShowDeactivated(), 0);
        return false;
    default: return false;
    }
}

std::optional<DemoStatus> CDemoRun::Status() const { return m_demo.Status(DemoClockNow()); }

// Everything here is read from the system's own records: nothing is asked of the simulator,
// which may be busy in a long simulation.
DemoFacts CDemoRun::Facts() {
    DemoFacts facts;
    facts.now = DemoClockNow();
    if (!m_hSimulator && m_simulatorProcess) m_hSimulator = VisibleSimulatorWindowOf(m_simulatorProcess);
    if (m_hSimulator) {
        facts.simulatorGone = !::IsWindow(m_hSimulator);
        facts.windowShown = !facts.simulatorGone && ::IsWindowVisible(m_hSimulator);
        facts.minimised = facts.windowShown && ::IsIconic(m_hSimulator);
    } else {
        facts.simulatorGone = m_process && ::WaitForSingleObject(m_process.get(), 0) == WAIT_OBJECT_0;
    }
    const HWND front = ::GetForegroundWindow();
    facts.showInFront = OwnWindow(front);
    facts.simulatorInFront = m_hSimulator && front == m_hSimulator;
    facts.windowPlaced = facts.windowShown && ::IsZoomed(m_hSimulator) &&
                         ::MonitorFromWindow(m_hSimulator, MONITOR_DEFAULTTONULL) == ShowMonitor();
    return facts;
}

void CDemoRun::Apply(DemoActions actions, UINT key) {
    const HWND frame = m_pFrame->StageWindow();
    if (actions & kTakeKeys) TakeKeys();
    if ((actions & kWatch) && !m_bWatching) m_bWatching = ::SetTimer(frame, kTimerId, kTimerMs, nullptr) != 0;
    if (actions & kPlaceSimulator) PlaceSimulator();
    if (actions & kBringShowBack) BringShowBack();
    if (actions & kGiveKeysBack) GiveKeysBack();
    if ((actions & kStopWatching) && m_bWatching) {
        ::KillTimer(frame, kTimerId);
        m_bWatching = false;
    }
    if (actions & kConsoleChanged) TellTalk();
    if ((actions & kPassKeyOn) && key) {
        if (const HWND view = m_pFrame->StageView()) ::SendMessageW(view, WM_KEYDOWN, key, 1);
    }
}

HMONITOR CDemoRun::ShowMonitor() const {
    const RECT monitor = m_pFrame->StageMonitor();
    return ::MonitorFromRect(&monitor, MONITOR_DEFAULTTONEAREST);
}

// Onto the work area of the show's monitor, maximised, in front and with the keyboard. Every
// call is posted to the simulator's thread or only changes the system's records: a simulator
// busy in a long run places itself when it gets round to it, and the show goes on meanwhile.
void CDemoRun::PlaceSimulator() {
    const HWND sim = m_hSimulator;
    if (!sim || !::IsWindow(sim)) return;
    const HMONITOR show = ShowMonitor();
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(show, &info)) return;
    const RECT& work = info.rcWork;
    const bool there = ::IsZoomed(sim) && ::MonitorFromWindow(sim, MONITOR_DEFAULTTONULL) == show;
    if (!there) {
        // A maximised or minimised window would keep its place: restored first, it moves. It is
        // maximised while hidden, so that it shows maximised at once on the monitor it is then
        // on (a platform without a window manager takes back a maximise of a window on screen).
        if (::IsZoomed(sim) || ::IsIconic(sim)) ::ShowWindowAsync(sim, SW_RESTORE);
        ::ShowWindowAsync(sim, SW_HIDE);
        ::SetWindowPos(sim, HWND_TOP, work.left, work.top, work.right - work.left, work.bottom - work.top,
                       SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        ::ShowWindowAsync(sim, SW_SHOWMAXIMIZED);
    }
    ::SetForegroundWindow(sim);
}

// In front, on its monitor, full-screen, with the keyboard, at the demo's slide; painted from
// the pictures the show keeps.
void CDemoRun::BringShowBack() {
    const HWND frame = m_pFrame->StageWindow();
    if (::IsIconic(frame)) ::ShowWindow(frame, SW_RESTORE);
    if (!m_pFrame->FullScreen()) m_pFrame->ToggleFullScreen();
    const HWND view = m_pFrame->StageView();
    if (g_currentPage != m_demo.Row()) {
        g_currentPage = m_demo.Row();
        if (view) ::InvalidateRect(view, nullptr, TRUE);
    }
    ::SetForegroundWindow(frame);
    ::SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    if (view) {
        ::SetFocus(view);
        ::UpdateWindow(view);
    }
}

// A key another program holds already stays with it: the demo runs without that key.
void CDemoRun::TakeKeys() {
    const HWND frame = m_pFrame->StageWindow();
    if (!m_bNextTaken) m_bNextTaken = ::RegisterHotKey(frame, kNextKeyId, MOD_NOREPEAT, VK_NEXT) != 0;
    if (!m_bPriorTaken) m_bPriorTaken = ::RegisterHotKey(frame, kPriorKeyId, MOD_NOREPEAT, VK_PRIOR) != 0;
}

void CDemoRun::GiveKeysBack() {
    const HWND frame = m_pFrame->StageWindow();
    if (m_bNextTaken) ::UnregisterHotKey(frame, kNextKeyId);
    if (m_bPriorTaken) ::UnregisterHotKey(frame, kPriorKeyId);
    m_bNextTaken = m_bPriorTaken = false;
}

void CDemoRun::TellTalk() {
    const std::optional<DemoStatus> status = Status();
    if (!status) return m_pFrame->TheTalk().DemoRuns(std::nullopt);
    TalkDemo demo;
    demo.fileName = status->fileName;
    demo.since = TalkClockNow() - static_cast<double>(status->seconds);
    demo.row = status->row;
    demo.keysTaken = KeysTaken();
    m_pFrame->TheTalk().DemoRuns(std::move(demo));
}
