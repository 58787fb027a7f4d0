// The bridge to the external circuit simulator: where it lies, finding its
// window, handing it files by message, or starting it with them.
#pragma once
#include <windows.h>

#include "launch/simulator_rules.h"

extern const wchar_t* g_simulatorPath;  // full path of the executable
extern const wchar_t* g_simulatorExe;   // its file name: argument 0 of every start
extern wchar_t g_simulatorPathBuf[kSimulatorNameChars];
extern wchar_t g_simulatorExeBuf[kSimulatorNameChars];
extern bool g_simulatorLookupDone;      // the open and run fallbacks have run their one lookup

inline constexpr UINT SimulatorOpenMessage = WM_APP + 9;  // 32777
inline constexpr UINT SimulatorRunMessage = WM_APP + 10;  // 32778

// While the presenter waits for the simulator's answer it checks, this often, that the
// simulator still handles its window's messages; a simulator that has not answered such a
// check within the system's hung-window time (5 s) counts as hung.
inline constexpr DWORD kSimulatorLivenessCheckMs = 1000;
inline constexpr UINT kSimulatorHungTimeoutMs = 5000;

// The machine's own processor architecture, also under 32-bit emulation.
WORD NativeProcessorArchitecture();

// Moves both pointers to the program registered to open ".asc" files, when there is one.
void LookupSimulatorAssociation();
// The simulator's main window, raised to the top of the z-order; null when none runs.
HWND FindSimulatorWindow();
// Hands the window the path in a global atom; true when it accepted the message. Waits for the
// answer as long as the simulator keeps handling its window's messages, however slow the file;
// false at once for a hung simulator, and as soon as a waited-for one hangs or goes. The atom
// lives until the simulator has answered, so that one that wakes up late still reads the path.
bool SendSimulatorMessage(HWND hwnd, UINT message, const wchar_t* path);
void OpenInSimulator(const wchar_t* path);
void RunInSimulator(const wchar_t* path);
// A new simulator process with no file, as the corner button asks.
void StartSimulator();
