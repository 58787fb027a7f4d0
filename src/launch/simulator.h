// The bridge to the external circuit simulator: where it lies, finding its
// window, handing it files by message, or starting it with them.
#pragma once
#include <windows.h>

extern const wchar_t* g_simulatorPath;  // full path of the executable
extern const wchar_t* g_simulatorExe;   // its file name: argument 0 of every start
extern wchar_t g_simulatorPathBuf[512];
extern wchar_t g_simulatorExeBuf[512];
extern bool g_simulatorLookupDone;

inline constexpr UINT SimulatorOpenMessage = WM_APP + 9;  // 32777
inline constexpr UINT SimulatorRunMessage = WM_APP + 10;  // 32778
inline constexpr wchar_t SimulatorTitlePrefix[] = L"Circelo Vexa";

// Moves both pointers to the program registered to open ".asc" files, when there is one.
void LookupSimulatorAssociation();
HWND FindSimulatorWindow();
bool SendSimulatorMessage(HWND hwnd, UINT message, const wchar_t* path);
void OpenInSimulator(const wchar_t* path);
void RunInSimulator(const wchar_t* path);
