// The bridge to the external circuit simulator: where it lies, finding its
// window, handing it files by message, or starting it with them.
#pragma once
#include <windows.h>

#include <optional>

#include "framework/gdi.h"

#include "launch/simulator_rules.h"

extern const wchar_t* g_simulatorPath;  // full path of the executable
extern const wchar_t* g_simulatorExe;   // its file name: argument 0 of every start
extern wchar_t g_simulatorPathBuf[kSimulatorNameChars];
extern wchar_t g_simulatorExeBuf[kSimulatorNameChars];
extern bool g_simulatorLookupDone;      // the open and run fallbacks have run their one lookup

inline constexpr UINT SimulatorOpenMessage = WM_APP + 9;  // 32777
inline constexpr UINT SimulatorRunMessage = WM_APP + 10;  // 32778

// How a running simulator answered a file handed to it by message.
enum class SimulatorReply {
    Accepted,  // with the message's own number: it has the file
    Refused,   // with anything else, or its window went before answering: a new process takes the file
    Held,      // not yet, and the system says its window hangs: it still holds the message and gets
               // the file when it wakes, so nothing else is started
};

// A simulator may work inside its handler for a long time (a large file, a long run) without
// handling messages; the presenter waits this long before it judges whether the window hangs,
// and then judges again every kSimulatorHungPollMs until the answer comes. A window hangs when
// the system says so, or when it leaves an empty message unanswered for the system's
// hung-window time.
inline constexpr DWORD kSimulatorPatienceMs = 3000;
inline constexpr DWORD kSimulatorHungPollMs = 100;
inline constexpr DWORD kSimulatorHungTimeoutMs = 5000;

// Where a hand-off left the file (or, from the corner button, the simulator the speaker asked
// for): with a simulator's window, by message, or with a simulator process started for it (or
// one just started, whose window the file waits for). Empty when nothing took it.
struct HandOff {
    HWND window = nullptr;  // the window that took the file, or holds it
    DWORD process = 0;      // the id of the process started for it, when no window took it
    explicit operator bool() const { return window != nullptr || process != 0; }
};

// The machine's own processor architecture, also under 32-bit emulation.
WORD NativeProcessorArchitecture();

// The program registered to open ".asc" files, when the registry names one; touches no global,
// so any thread may ask.
std::optional<SimulatorLocation> ReadSimulatorAssociation();
// Moves both pointers to the program registered to open ".asc" files, when there is one.
void LookupSimulatorAssociation();
// The simulator's main window, raised to the top of the z-order; null when none runs. The
// system's ghost of a simulator that has not taken messages for a while is not it.
HWND FindSimulatorWindow();
// The visible simulator window of process `id`, not raised; null while it has shown none.
HWND VisibleSimulatorWindowOf(DWORD id);
// Hands the window the path in a global atom and waits for the answer: as long as the simulator
// keeps handling its window's messages, however slow the file; until the window hangs, judged
// no sooner than kSimulatorPatienceMs after the message went; or until the window goes. Nothing
// is judged before the message is sent: a simulator that has idled for a long time looks hung
// for a moment as it wakes. The atom lives until the simulator has answered, so that one that
// answers late still reads the path, also after the presenter has ended. While a window still
// holds a message, the next one answers Held at once: sent without waiting, unless it is the
// same file with the same message, which is not sent twice.
SimulatorReply SendSimulatorMessage(HWND hwnd, UINT message, const wchar_t* path);
HandOff OpenInSimulator(const wchar_t* path);
HandOff RunInSimulator(const wchar_t* path);
// A new simulator process with no file, as the corner button asks.
HandOff StartSimulator();
// Hands the file to `hwnd` by message (SimulatorOpenMessage or SimulatorRunMessage); when there
// is no window or it refuses, a new simulator with the file on its command line.
HandOff HandToWindowOrStart(HWND hwnd, UINT message, const wchar_t* path);

// ---- A simulator just started (simulator_started_win.cpp) ----
// The simulator process started last, kept while its window has not shown: files for the
// simulator wait for that window instead of starting another simulator each.
void RememberStartedSimulator(fw::KernelHandle process);
// The id of the simulator started last while it runs, has shown no window and is younger than
// kNewSimulatorWaitMs; 0 otherwise.
DWORD ComingSimulator();
// Keeps the file for the coming simulator's window: it goes there by message as soon as that
// window shows (to whatever simulator runs, or to a new one, when it never does). The same file
// with the same message waits once.
HandOff WaitForComingSimulator(UINT message, const wchar_t* path);
