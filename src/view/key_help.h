// The key help: the speaker's keys and mouse actions as a table of two columns, and where that
// table goes over the slide. Pure: no platform headers.
#pragma once
#include <cstddef>

#include "render/geometry.h"

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
    {L"S", L"show and presenter console swap monitors"},
    {L"L", L"pointer on/off: a red dot on the show follows the mouse"},
    {L"Z, then drag over the slide", L"enlarge that part; Ctrl+wheel: in / out; Z or Escape: whole slide"},
    {L"F (with the presenter console)", L"freeze the show while you move on; again: show your slide"},
    {L"R", L"the talk's time from zero"},
    {L"=/+ key or keypad +, - key or keypad -", L"talk length 5 minutes longer / shorter"},
    {L"Page Down or Page Up during a demo", L"the show back, at the demo's slide"},
    {L"Escape", L"close what is open; leave a photo; else leave full-screen; else quit"},
    {L"Period / Ctrl+B", L"window to the back (the period again: to the front)"},
    {L"Ctrl+P", L"print handouts"},
    {L"Click on a hotspot / the bottom-right corner", L"open its demo file / start the simulator"},
    {L"H", L"this help; any key closes it"},
};
// clang-format on
inline constexpr int kHelpRowCount = static_cast<int>(sizeof(kHelpRows) / sizeof(kHelpRows[0]));

// The help's text height at 96 dpi; the monitor's DPI scales it (framework/dpi.h).
inline constexpr int kHelpTextPx = 16;
// The smallest text the help shrinks to in a window too small for it.
inline constexpr int kHelpSmallestText = 5;

// From one row to the next, and the table's padding and column gap, for a text height.
inline int HelpLineHeight(int textH) { return textH * 7 / 5; }

// The margin the table keeps from the window's edges.
int HelpMargin(const SlideRect& window);

// The height of the help's text in `window`: `preferred` (the DPI's), smaller where the table of
// `rows` rows, `tableW` pixels wide with text of that height, would not fit inside the window with
// its margin, across or down; never below the smallest.
int HelpFontHeight(const SlideRect& window, int rows, int preferred, int tableW);

struct HelpPlacement {
    SlideRect box;     // the table's ground, centred in the window and inside its margin
    int inputX = 0;    // left edge of the input column
    int actionX = 0;   // left edge of the action column
    int firstY = 0;    // top of the first row
    int lineH = 0;     // from one row to the next
};

// The width of the table whose widest input and action texts are inputW and actionW.
int HelpTableWidth(int lineH, int inputW, int actionW);
// The table for rows of lineH pixels whose widest input and action texts are inputW and actionW.
HelpPlacement PlaceHelp(const SlideRect& window, int rows, int lineH, int inputW, int actionW);
