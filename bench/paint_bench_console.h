// The paint benchmark's figure with the presenter console open (paint_bench_console_win.cpp).
#pragma once

namespace testing_win {
class Presenter;
}

// Page Down through the deck at the show's present size, without the console, with it, and
// without it again; prints the medians, their ratio, and the memory with the console's pictures.
void MeasureWithConsole(testing_win::Presenter& presenter, int paceMs);
