// The demo check's look at the disk and the registry: every hotspot's file under the program
// folder, and the simulator where the hand-off would start it. At start-up it runs on a thread
// of its own, so that the first slide never waits for it.
#pragma once
#include <windows.h>

#include "launch/demo_check.h"

// What a click on `target` would find now, under the program folder.
DemoFileState CheckDemoFile(const wchar_t* target);

// Every hotspot of the deck under the program folder `dir`, and the simulator; any thread.
DemoCheckReport CheckDemos(const wchar_t* dir);

// Runs the check on a thread of its own and hands its report to `done` on the thread of
// `window`, once the window's messages are handled again; nothing when the window goes first.
// A later start replaces the one still under way.
using DemoCheckDone = void (*)(const DemoCheckReport& report);
void StartDemoCheck(HWND window, DemoCheckDone done);
