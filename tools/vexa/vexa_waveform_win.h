// The lower panel: the last run's waveforms on a scope-like grid.
#pragma once
#include <windows.h>

namespace vexa {

struct Waveform;

// `waveform` null: the grid alone, with a hint that nothing has run yet.
void DrawWaveform(HDC dc, const RECT& area, const Waveform* waveform);

}  // namespace vexa
