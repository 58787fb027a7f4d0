// The index of the slide on screen, and the only operations that step it.
#pragma once
#include <vector>

extern int g_currentPage;

// Key steps: each reports whether the index changed (the caller repaints only then).
bool GoPrevPage();
bool GoFirstPage();
bool GoNextPage();
bool GoLastPage();
// One wheel notch: back for a positive delta, forward otherwise; clamped at the ends.
void WheelPage(int delta);
// Brings the index into range, stores it back, and returns it.
int ClampPage();
// The index clamped into range without storing it: for input that arrives before the
// first paint has clamped a restored value.
int CurrentSlideIndex();

// The rows one key press or wheel notch can bring from `row` (itself first, then the next, the
// previous, the last and the first), each once: what is worth preparing before the key comes.
std::vector<int> RowsOneKeyAway(int row);

// The profile's "Page" text as a number, read as _wtoi reads it: leading white space
// and a sign, digits up to the first other character, 0 for no number, saturating.
int PageFromProfileText(const wchar_t* text);
