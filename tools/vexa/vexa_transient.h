// The simulated run: a source drives a series R-L-C (or a first-order R-C / R-L stage)
// and the voltage across the output is sampled over the transient window.
#pragma once
#include "vexa_circuit_hints.h"

#include <vector>

namespace vexa {

struct Waveform {
    double stopTime = 0.0;
    std::vector<double> time;    // seconds, 0 .. stopTime
    std::vector<double> input;   // V(in) at each time
    std::vector<double> output;  // V(out) at each time
};

// The circuit actually simulated, after defaults have filled what the file left out.
struct TransientSetup {
    double stopTime = 0.0;
    bool secondOrder = true;
    double resistance = 0.0, inductance = 0.0, capacitance = 0.0;
    double timeConstant = 0.0;  // first order only
    SourceShape shape = SourceShape::Step;
    std::vector<double> sourceParameters;
};

TransientSetup ChooseTransientSetup(const CircuitHints& hints);

// Samples the response at `samples` evenly spaced times (at least 2).
Waveform SimulateTransient(const TransientSetup& setup, int samples = 1200);

}  // namespace vexa
