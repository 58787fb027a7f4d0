// Composes the simulator window: file text above, waveform below, status line at the
// bottom, drawn off-screen and shown in one blit so nothing flickers.
#pragma once
#include <windows.h>

namespace vexa {

struct SimulatorState;

struct SimulatorLayout {
    RECT fileView;
    RECT waveform;
    RECT statusLine;
};

SimulatorLayout LayoutFor(const RECT& client);

// Handles one WM_PAINT.
void PaintSimulator(HWND hwnd, const SimulatorState& state);

}  // namespace vexa
