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

// The show's frame, or a window it owns (a message box over the show): not the console, which
// is a window of its own.
bool ShowsWindow(HWND hwnd, HWND frame) {
    return hwnd && frame && (hwnd == frame || ::GetAncestor(hwnd, GA_ROOTOWNER) == frame);
}

// Wine places a window it does not manage as its program asks, and takes back a maximise of a
// window on screen; Windows hands the foreground away from a window that is hidden.
bool OnWine() {
    static const bool wine = [] {
        const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
        return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
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
        // Bringing the show back from inside the system's activation of the console would have
        // that activation end over it.
        if (wParam) ::PostMessageW(m_pFrame->StageWindow(), kActivatedMessage, 0, 0);
        else Apply(m_demo.ShowDeactivated(), 0);
        return false;
    case kActivatedMessage:
        // Unless another program has taken the front again meanwhile.
        if (OwnWindow(::GetForegroundWindow())) Apply(m_demo.ShowActivated(Facts()), 0);
        return true;
    default: return false;
    }
}

std::optional<DemoStatus> CDemoRun::Status() const {
    std::optional<DemoStatus> status = m_demo.Status(DemoClockNow());
    if (status) status->pageDownTaken = m_bNextTaken;
    return status;
}

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
    facts.showInFront = ShowsWindow(front, m_pFrame->StageWindow());
    facts.consoleInFront = OwnWindow(front) && !facts.showInFront;
    facts.simulatorInFront = m_hSimulator && front == m_hSimulator;
    facts.windowPlaced = facts.windowShown && CoversShowMonitor(m_hSimulator) && TopOnShowMonitor(m_hSimulator);
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
    // Told at every look, not only when the demo starts or ends: whether Page Down is the demo's
    // may change as it runs.
    TellTalk();
    if ((actions & kPassKeyOn) && key) {
        if (const HWND view = m_pFrame->StageView()) ::SendMessageW(view, WM_KEYDOWN, key, 1);
    }
    // Whether the system let the show come: the keys go back only once it has.
    if (actions & kBringShowBack) Apply(m_demo.Tick(Facts()), 0);
}

HMONITOR CDemoRun::ShowMonitor() const {
    const RECT monitor = m_pFrame->StageMonitor();
    return ::MonitorFromRect(&monitor, MONITOR_DEFAULTTONEAREST);
}

// Maximised over the whole work area of the show's monitor. A window maximised elsewhere and then
// moved (restored from minimised to maximised, and moved so) counts as maximised but is not.
bool CDemoRun::CoversShowMonitor(HWND sim) const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT rc{};
    if (!::IsZoomed(sim) || !::GetMonitorInfoW(ShowMonitor(), &info) || !::GetWindowRect(sim, &rc)) return false;
    const RECT& work = info.rcWork;
    return rc.left <= work.left && rc.top <= work.top && rc.right >= work.right && rc.bottom >= work.bottom;
}

// The simulator is what the show's monitor shows at its centre: the first visible window there,
// from the top of the system's z-order down (its records only; nothing is asked of a window).
// Topmost windows are passed over: no ordinary window can rise above them, and the system keeps
// some there that show nothing.
bool CDemoRun::TopOnShowMonitor(HWND sim) const {
    const RECT monitor = m_pFrame->StageMonitor();
    const POINT centre{(monitor.left + monitor.right) / 2, (monitor.top + monitor.bottom) / 2};
    for (HWND hwnd = ::GetTopWindow(nullptr); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
        RECT rc{};
        if (hwnd != sim && (::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) continue;
        if (!::IsWindowVisible(hwnd) || ::IsIconic(hwnd) || !::GetWindowRect(hwnd, &rc) || !::PtInRect(&rc, centre))
            continue;
        return hwnd == sim;
    }
    return false;
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
    // Well inside the work area: a simulator the system scales for another DPI is maximised on
    // the monitor that holds most of it.
    const SlideRect inside = SimulatorPlacementRect(ToSlideRect(info.rcWork));
    // While the show is still in front it may let the simulator take the front itself, as its
    // own maximise activates it.
    DWORD simulatorProcess = 0;
    ::GetWindowThreadProcessId(sim, &simulatorProcess);
    if (simulatorProcess) ::AllowSetForegroundWindow(simulatorProcess);
    if (!CoversShowMonitor(sim)) {
        // A maximised or minimised window would keep its place: restored first, it moves. A
        // window minimised from maximised restores to maximised, and once more to its own size.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        ::GetWindowPlacement(sim, &placement);
        const int restores = ::IsIconic(sim) ? ((placement.flags & WPF_RESTORETOMAXIMIZED) ? 2 : 1)
                             : ::IsZoomed(sim) ? 1
                                               : 0;
        // Wine without a window manager takes back a maximise of a window on screen: there it is
        // maximised while hidden, and shows maximised at once on the monitor it is then on; it is
        // neither activated before it hides (the activation would go to the show, and the X
        // focus with it) nor made foreground before it shows again (the next look does that).
        // On Windows hiding it would hand the front away, and it would come up behind the show.
        const bool hide = OnWine();
        for (int i = 0; i < restores; ++i) ::ShowWindowAsync(sim, hide ? SW_SHOWNOACTIVATE : SW_RESTORE);
        if (hide) ::ShowWindowAsync(sim, SW_HIDE);
        ::SetWindowPos(sim, HWND_TOP, inside.left, inside.top, inside.Width(), inside.Height(),
                       SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        ::ShowWindowAsync(sim, SW_SHOWMAXIMIZED);
        if (hide) return;
    } else if (!TopOnShowMonitor(sim)) {
        // There, but under another window (Wine hands the activation to the show while the
        // simulator is hidden, and the show rises): on top again.
        ::SetWindowPos(sim, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
    }
    ::SetForegroundWindow(sim);
}

// In front, on its monitor, full-screen, with the keyboard, at the demo's slide; painted from
// the pictures the show keeps. Windows refuses the front to a program in the background (after
// the simulator closed, it goes to the next window in its order): then the show is painted
// where it is, and the demo's next look, or the clicker's next press, finds out.
void CDemoRun::BringShowBack() {
    const HWND frame = m_pFrame->StageWindow();
    if (::IsIconic(frame)) ::ShowWindow(frame, SW_RESTORE);
    if (!m_pFrame->FullScreen()) m_pFrame->ToggleFullScreen();
    const HWND view = m_pFrame->StageView();
    if (g_currentPage != m_demo.Row()) {
        g_currentPage = m_demo.Row();
        if (view) ::InvalidateRect(view, nullptr, TRUE);
    }
    const bool inFront = ::SetForegroundWindow(frame) != FALSE;
    ::SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    if (view) {
        if (inFront) ::SetFocus(view);
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
    Talk& talk = m_pFrame->TheTalk();
    const std::optional<DemoStatus> status = Status();
    if (!status) return talk.DemoRuns(std::nullopt);
    TalkDemo demo;
    demo.fileName = status->fileName;
    demo.row = status->row;
    demo.keysTaken = status->pageDownTaken;
    // The demo's start as the talk's clock has it, once: the console counts from there.
    const std::optional<TalkDemo>& told = talk.Demo();
    demo.since = told && told->fileName == demo.fileName && told->row == demo.row
                     ? told->since
                     : TalkClockNow() - static_cast<double>(status->seconds);
    talk.DemoRuns(std::move(demo));
}
