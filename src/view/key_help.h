// The key help: the speaker's keys and mouse actions as a table of two columns, and where that
// table goes over the slide. Pure: no platform headers.
#pragma once
#include <cstddef>

#include "view/geometry.h"

struct HelpRow {
    const wchar_t* input;
    const wchar_t* action;
};

// clang-format off
inline constexpr HelpRow kHelpRows[] = {
    {L"Page Down, cursor down, wheel toward you", L"next slide (Ctrl: last slide)"},
    {L"Page Up, cursor up, wheel away from you", L"previous slide (Ctrl: first slide)"},
    {L"Home / End", L"first / last slide"},
    {L"Digits, then Enter", L"that slide (Backspace: one digit back, Escape: none)"},
    {L"Tab", L"all slides; cursor keys or wheel to choose, Enter or click to show"},
    {L"B / W", L"black / white screen; the same key brings the slide back"},
    {L"Cursor left / right, wheel (on a photo)", L"previous / next photo of the slide"},
    {L"F1, F5, Shift", L"full-screen mode on/off"},
    {L"Escape", L"close what is open; leave a photo; else leave full-screen; else quit"},
    {L"Period", L"window to the back; again, to the front"},
    {L"Ctrl+B", L"window to the back"},
    {L"Ctrl+P", L"print handouts"},
    {L"Click on a hotspot", L"open its demo file"},
    {L"Click on the bottom-right corner", L"start the simulator"},
    {L"H", L"this help; any key closes it"},
};
// clang-format on
inline constexpr int kHelpRowCount = static_cast<int>(sizeof(kHelpRows) / sizeof(kHelpRows[0]));

// The height of the help's text in a window of this height: the whole table fits, within bounds.
int HelpFontHeight(int windowH);

struct HelpPlacement {
    SlideRect box;     // the table's ground, centred in the window
    int inputX = 0;    // left edge of the input column
    int actionX = 0;   // left edge of the action column
    int firstY = 0;    // top of the first row
    int lineH = 0;     // from one row to the next
};

// The table for rows of lineH pixels whose widest input and action texts are inputW and actionW.
HelpPlacement PlaceHelp(const SlideRect& window, int rows, int lineH, int inputW, int actionW);
