#include "view/wall_clock.h"

double WallClockSeconds(long long seconds, unsigned milliseconds) {
    return static_cast<double>(seconds) + static_cast<double>(milliseconds) * 0.001;
}
