#include "vexa_transient.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vexa {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Ringing that dies out over a few cycles reads well on a screen.
constexpr double kDefaultDamping = 0.15;
constexpr double kDefaultStopTime = 5e-3;

double Parameter(const std::vector<double>& p, size_t i, double fallback) {
    return i < p.size() ? p[i] : fallback;
}

bool Usable(const std::optional<double>& v) { return v && std::isfinite(*v) && *v > 0.0; }

// The source's value at time t, after SPICE's PULSE(V1 V2 Td Tr Tf Ton Tper) and
// SINE(Voff Vamp Freq Td Theta) forms. A step rises at 5 % of the window so the edge shows.
double SourceValue(const TransientSetup& s, double t) {
    const auto& p = s.sourceParameters;
    switch (s.shape) {
        case SourceShape::Sine: {
            const double offset = Parameter(p, 0, 0.0), amplitude = Parameter(p, 1, 1.0);
            const double frequency = Parameter(p, 2, 5.0 / s.stopTime), delay = Parameter(p, 3, 0.0);
            const double theta = Parameter(p, 4, 0.0);
            if (t < delay) return offset;
            const double u = t - delay;
            return offset + amplitude * std::exp(-theta * u) * std::sin(kTwoPi * frequency * u);
        }
        case SourceShape::Pulse: {
            const double v1 = Parameter(p, 0, 0.0), v2 = Parameter(p, 1, 1.0);
            const double delay = Parameter(p, 2, 0.0);
            const double rise = std::max(Parameter(p, 3, 0.0), 0.0), fall = std::max(Parameter(p, 4, 0.0), 0.0);
            const double on = Parameter(p, 5, INFINITY), period = Parameter(p, 6, INFINITY);
            if (t < delay) return v1;
            double u = t - delay;
            if (std::isfinite(period) && period > 0.0) u = std::fmod(u, period);
            if (u < rise) return v1 + (v2 - v1) * u / rise;
            u -= rise;
            if (u < on) return v2;
            u -= on;
            if (u < fall) return v2 + (v1 - v2) * u / fall;
            return v1;
        }
        case SourceShape::Step:
            break;
    }
    return t >= 0.05 * s.stopTime ? 1.0 : 0.0;
}

// The fastest rate the integrator has to follow, in 1/s.
double FastestRate(const TransientSetup& s) {
    double rate = s.secondOrder ? std::max(1.0 / std::sqrt(s.inductance * s.capacitance), s.resistance / s.inductance)
                                : 1.0 / s.timeConstant;
    if (s.shape == SourceShape::Sine) rate = std::max(rate, kTwoPi * std::abs(Parameter(s.sourceParameters, 2, 0.0)));
    return rate;
}

}  // namespace

TransientSetup ChooseTransientSetup(const CircuitHints& hints) {
    TransientSetup s;
    s.shape = hints.shape;
    s.sourceParameters = hints.sourceParameters;
    const bool hasR = Usable(hints.resistance), hasL = Usable(hints.inductance), hasC = Usable(hints.capacitance);

    // The natural period decides the window when the file gives none.
    double naturalTime = 0.0;
    if (hasL && hasC) {
        s.inductance = *hints.inductance;
        s.capacitance = *hints.capacitance;
        s.resistance = hasR ? *hints.resistance : 2.0 * kDefaultDamping * std::sqrt(s.inductance / s.capacitance);
        naturalTime = 8.0 * kTwoPi * std::sqrt(s.inductance * s.capacitance);
    } else if (hasR && (hasC || hasL)) {
        s.secondOrder = false;
        s.timeConstant = hasC ? *hints.resistance * *hints.capacitance : *hints.inductance / *hints.resistance;
        naturalTime = 6.0 * s.timeConstant;
    }

    if (Usable(hints.stopTime))
        s.stopTime = *hints.stopTime;
    else if (s.shape == SourceShape::Sine && Parameter(s.sourceParameters, 2, 0.0) > 0.0)
        s.stopTime = 5.0 / Parameter(s.sourceParameters, 2, 0.0);
    else if (s.shape == SourceShape::Pulse && Parameter(s.sourceParameters, 6, 0.0) > 0.0)
        s.stopTime = 3.0 * Parameter(s.sourceParameters, 6, 0.0);
    else if (naturalTime > 0.0)
        s.stopTime = naturalTime;
    else
        s.stopTime = kDefaultStopTime;
    s.stopTime = std::clamp(s.stopTime, 1e-15, 1e6);

    // With nothing to go on, a lightly damped resonance rings about six times in the window.
    if (s.secondOrder && s.inductance == 0.0) {
        const double omega = kTwoPi * 6.0 / s.stopTime;
        s.capacitance = 1e-6;
        s.inductance = 1.0 / (omega * omega * s.capacitance);
        s.resistance = 2.0 * kDefaultDamping * std::sqrt(s.inductance / s.capacitance);
    }
    return s;
}

Waveform SimulateTransient(const TransientSetup& s, int samples) {
    samples = std::max(samples, 2);
    Waveform w;
    w.stopTime = s.stopTime;
    w.time.reserve(samples);
    w.input.reserve(samples);
    w.output.reserve(samples);

    // State x = (v across the output, current through L); dx/dt = A x + b u.
    double a00, a01, a10, a11, b0, b1;
    if (s.secondOrder) {
        a00 = 0.0; a01 = 1.0 / s.capacitance; a10 = -1.0 / s.inductance; a11 = -s.resistance / s.inductance;
        b0 = 0.0; b1 = 1.0 / s.inductance;
    } else {
        a00 = -1.0 / s.timeConstant; a01 = 0.0; a10 = 0.0; a11 = 0.0;
        b0 = 1.0 / s.timeConstant; b1 = 0.0;
    }

    const double sampleStep = s.stopTime / (samples - 1);
    // Enough sub-steps to follow the fastest rate, within a bound that keeps a run instant;
    // past that bound the trapezoidal rule would ring, so the run falls back to backward Euler.
    const double wanted = std::ceil(sampleStep * FastestRate(s) * 20.0);
    const int substeps = static_cast<int>(std::clamp(std::isfinite(wanted) ? wanted : 200.0, 1.0, 200.0));
    const double h = sampleStep / substeps;
    const double theta = h * FastestRate(s) > 1.0 ? 1.0 : 0.5;

    // (I - theta h A) x' = (I + (1 - theta) h A) x + h b (theta u' + (1 - theta) u)
    const double m00 = 1.0 - theta * h * a00, m01 = -theta * h * a01;
    const double m10 = -theta * h * a10, m11 = 1.0 - theta * h * a11;
    const double det = m00 * m11 - m01 * m10;
    const double e = (1.0 - theta) * h;

    // The circuit starts at rest.
    double x0 = 0.0, x1 = 0.0;
    double t = 0.0;
    double u = SourceValue(s, 0.0);
    for (int i = 0; i < samples; ++i) {
        if (i > 0) {
            for (int k = 1; k <= substeps; ++k) {
                const double tn = (i - 1) * sampleStep + k * h;
                const double un = SourceValue(s, tn);
                const double drive = h * (theta * un + (1.0 - theta) * u);
                const double r0 = x0 + e * (a00 * x0 + a01 * x1) + drive * b0;
                const double r1 = x1 + e * (a10 * x0 + a11 * x1) + drive * b1;
                x0 = (r0 * m11 - m01 * r1) / det;
                x1 = (m00 * r1 - m10 * r0) / det;
                u = un;
            }
            t = i * sampleStep;
        }
        w.time.push_back(t);
        w.input.push_back(u);
        w.output.push_back(x0);
    }
    return w;
}

}  // namespace vexa
