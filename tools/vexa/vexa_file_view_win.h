// The upper panel: the open file's text with line numbers.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace vexa {

struct SimulatorState;

// Number of text lines the panel shows at once, for scrolling.
int VisibleFileLines(HDC dc, const RECT& area);

void DrawFileView(HDC dc, const RECT& area, const SimulatorState& state);

}  // namespace vexa
