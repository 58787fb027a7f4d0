// The bridge to the external circuit simulator: where it lies, finding its
// window, handing it files by message, or starting it with them.
#pragma once
#include <windows.h>

#include "launch/title_match.h"

extern const wchar_t* g_simulatorPath;  // full path of the executable
extern const wchar_t* g_simulatorExe;   // its file name: argument 0 of every start
extern wchar_t g_simulatorPathBuf[512];
extern wchar_t g_simulatorExeBuf[512];
extern bool g_simulatorLookupDone;      // the open and run fallbacks have run their one lookup

inline constexpr UINT SimulatorOpenMessage = WM_APP + 9;  // 32777
inline constexpr UINT SimulatorRunMessage = WM_APP + 10;  // 32778

// How long a simulator may take to answer a message before the file goes to a new
// process instead: long enough for a slow open, short enough that a hung simulator
// does not freeze the presenter for good.
inline constexpr UINT SimulatorReplyTimeoutMs = 5000;

// The machine's own processor architecture, also under 32-bit emulation.
WORD NativeProcessorArchitecture();

// Moves both pointers to the program registered to open ".asc" files, when there is one.
void LookupSimulatorAssociation();
// The simulator's main window, raised to the top of the z-order; null when none runs.
HWND FindSimulatorWindow();
// Hands the window the path in a global atom; true when it accepted the message.
bool SendSimulatorMessage(HWND hwnd, UINT message, const wchar_t* path);
void OpenInSimulator(const wchar_t* path);
void RunInSimulator(const wchar_t* path);
// A new simulator process with no file, as the corner button asks.
void StartSimulator();
