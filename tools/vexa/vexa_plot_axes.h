// Tick positions and labels for the waveform plot.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vexa {

struct AxisTicks {
    double step = 1.0;
    std::vector<double> values;  // multiples of step inside [low, high]
};

// A 1-2-5 step giving at most about `maxTicks` ticks over [low, high].
AxisTicks ChooseTicks(double low, double high, int maxTicks);

// "2.5ms", "-500mV", "0s": SI prefix chosen from `scale` (the largest magnitude on the axis)
// so every label of one axis shares it; decimals from the tick step. UTF-8 (µ is U+00B5).
std::string FormatTick(double value, double step, double scale, std::string_view unit);

}  // namespace vexa
