#include <sys/timeb.h>

#include "view/wall_clock.h"

namespace {

double SystemWallClock() {
    __timeb64 now{};
    if (_ftime64_s(&now) != 0) return 0.0;
    return WallClockSeconds(now.time, now.millitm);
}

WallClockFn g_wallClock = &SystemWallClock;

}  // namespace

double WallClockNow() { return g_wallClock(); }

void SetWallClock(WallClockFn clock) { g_wallClock = clock ? clock : &SystemWallClock; }
