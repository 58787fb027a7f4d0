// The presenter console's lines during a demo: what runs and for how long, and where Page Down
// returns to, under the talk's clock. Pure.
#pragma once
#include <string>

#include "console/console_layout.h"
#include "talk/talk.h"

struct DemoLines {
    SlideRect running;  // "Demo: UNICODE.asc 0:42"
    SlideRect back;     // "Page Down returns to slide 4", or "Page Down is in use: click the show to return to slide 4"
    int textHeight;
};

// Below the wall clock of `layout` (made for a client area `h` pixels high), as large as the room there
// and the column's width allow.
DemoLines LayOutDemoLines(const ConsoleLayout& layout, int h);

// The demo's time as M:SS, and H:MM:SS from an hour on; negative counts as 0.
std::wstring DemoTimeText(long long seconds);
std::wstring DemoRunningText(const std::wstring& fileName, long long seconds);
// The way back to the demo's slide, numbered as the console's counter numbers them: the clicker
// when Page Down is the demo's, else a click on the show (another program holds the key).
std::wstring DemoBackText(const TalkDemo& demo);
