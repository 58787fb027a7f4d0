// Wall-clock time in seconds, as the click pause measures it: whole seconds since
// 1970-01-01 00:00 UTC plus the milliseconds.
#pragma once

// Whole seconds plus milliseconds as one value: seconds + ms x 0.001.
double WallClockSeconds(long long seconds, unsigned milliseconds);

// Reads the clock. Tests replace the function to step time by hand; null restores the system's.
using WallClockFn = double (*)();
double WallClockNow();
void SetWallClock(WallClockFn clock);
