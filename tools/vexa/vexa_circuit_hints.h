// What the simulator takes from a circuit file before a run: the transient
// window, the first R, L and C values and the shape of the driving source.
// Netlists and schematic files are both read; anything not found stays unset.
#pragma once
#include <optional>
#include <string_view>
#include <vector>

namespace vexa {

enum class SourceShape { Step, Pulse, Sine };

struct CircuitHints {
    std::optional<double> stopTime;     // from ".tran"
    std::optional<double> resistance;   // ohms
    std::optional<double> inductance;   // henries
    std::optional<double> capacitance;  // farads
    SourceShape shape = SourceShape::Step;
    // The numbers inside PULSE(...) or SINE(...), in their written order.
    std::vector<double> sourceParameters;
};

// `text` is the file's content as UTF-8.
CircuitHints ExtractCircuitHints(std::string_view text);

}  // namespace vexa
