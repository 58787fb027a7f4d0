#include "vexa_plot_axes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vexa {

AxisTicks ChooseTicks(double low, double high, int maxTicks) {
    AxisTicks ticks;
    if (!(high > low) || !std::isfinite(low) || !std::isfinite(high)) return ticks;
    maxTicks = std::max(maxTicks, 2);
    const double rough = (high - low) / maxTicks;
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    double step = decade * 10.0;
    for (double m : {1.0, 2.0, 5.0}) {
        if (decade * m >= rough) { step = decade * m; break; }
    }
    ticks.step = step;
    const double first = std::ceil(low / step - 1e-9);
    for (double k = first; k * step <= high + step * 1e-9; k += 1.0) {
        const double v = k * step;
        ticks.values.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
    }
    return ticks;
}

std::string FormatTick(double value, double step, double scale, std::string_view unit) {
    struct Prefix { int exponent; std::string_view text; };
    static constexpr Prefix kPrefixes[] = {{-15, "f"}, {-12, "p"}, {-9, "n"}, {-6, "\xC2\xB5"}, {-3, "m"},
                                           {0, ""},    {3, "k"},   {6, "M"},  {9, "G"},         {12, "T"}};
    char number[64] = "0";
    std::string_view prefix;
    if (value != 0.0) {
        scale = std::abs(scale);
        const int magnitude = scale > 0.0 ? static_cast<int>(std::floor(std::log10(scale) + 1e-9)) : 0;
        const int exponent = std::clamp(static_cast<int>(std::floor(magnitude / 3.0)) * 3, -15, 12);
        const double unitScale = std::pow(10.0, exponent);
        const double scaledStep = std::abs(step) / unitScale;
        const int decimals = scaledStep > 0.0
                                 ? std::clamp(static_cast<int>(-std::floor(std::log10(scaledStep) + 1e-9)), 0, 6)
                                 : 0;
        std::snprintf(number, sizeof number, "%.*f", decimals, value / unitScale);
        for (const Prefix& p : kPrefixes)
            if (p.exponent == exponent) prefix = p.text;
    }
    std::string out;
    out.reserve(sizeof number + prefix.size() + unit.size());
    out.append(number).append(prefix).append(unit);
    return out;
}

}  // namespace vexa
