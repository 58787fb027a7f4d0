// The simulator hand-off. (Arrives with the launching work.)
#include "launch/simulator.h"

void LookupSimulatorAssociation() {}
HWND FindSimulatorWindow() { return nullptr; }
bool SendSimulatorMessage(HWND, UINT, const wchar_t*) { return false; }
void OpenInSimulator(const wchar_t*) {}
void RunInSimulator(const wchar_t*) {}
