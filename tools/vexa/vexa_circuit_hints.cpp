#include "vexa_circuit_hints.h"

#include "vexa_spice_number.h"

#include <string>

namespace vexa {
namespace {

std::string Folded(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string_view> Tokens(std::string_view line, std::string_view separators) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && separators.find(line[i]) != std::string_view::npos) ++i;
        const size_t start = i;
        while (i < line.size() && separators.find(line[i]) == std::string_view::npos) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

constexpr std::string_view kBlanks = " \t\r\v\f";

bool Positive(const std::optional<double>& v) { return v && *v > 0.0; }

void KeepFirst(std::optional<double>& slot, const std::optional<double>& value) {
    if (!slot && Positive(value)) slot = value;
}

// ".tran Tstop" or ".tran Tstep Tstop [Tstart [dTmax]]", also inside a schematic's "!.tran" text.
void ReadTran(std::string_view line, std::string_view folded, CircuitHints& hints) {
    if (hints.stopTime) return;
    const size_t at = folded.find(".tran");
    if (at == std::string_view::npos) return;
    std::vector<double> numbers;
    for (std::string_view token : Tokens(line.substr(at + 5), kBlanks)) {
        const auto value = ParseSpiceNumber(token);
        if (!value) break;
        numbers.push_back(*value);
    }
    if (numbers.empty()) return;
    const double stop = numbers.size() == 1 ? numbers[0] : numbers[1];
    if (stop > 0.0) hints.stopTime = stop;
}

// The first PULSE(...) or SINE(...)/SIN(...) of the file drives the circuit.
void ReadSource(std::string_view line, std::string_view folded, CircuitHints& hints, bool& sourceFound) {
    if (sourceFound) return;
    struct Form { std::string_view name; SourceShape shape; };
    static constexpr Form kForms[] = {
        {"pulse(", SourceShape::Pulse}, {"sine(", SourceShape::Sine}, {"sin(", SourceShape::Sine}};
    size_t best = std::string_view::npos;
    const Form* found = nullptr;
    for (const Form& form : kForms) {
        const size_t at = folded.find(form.name);
        if (at < best) { best = at; found = &form; }
    }
    if (!found) return;
    const size_t open = best + found->name.size();
    const size_t close = line.find(')', open);
    const std::string_view inside = line.substr(open, close == std::string_view::npos ? close : close - open);
    hints.shape = found->shape;
    hints.sourceParameters.clear();
    for (std::string_view token : Tokens(inside, " \t\r\v\f,")) {
        const auto value = ParseSpiceNumber(token);
        if (!value) break;
        hints.sourceParameters.push_back(*value);
    }
    sourceFound = true;
}

// Netlist element lines: "R1 in out 4.7k".
void ReadElement(std::string_view line, CircuitHints& hints) {
    const auto tokens = Tokens(line, kBlanks);
    if (tokens.size() < 4) return;
    const auto value = ParseSpiceNumber(tokens[3]);
    switch (tokens[0].front()) {
        case 'R': case 'r': KeepFirst(hints.resistance, value); break;
        case 'L': case 'l': KeepFirst(hints.inductance, value); break;
        case 'C': case 'c': KeepFirst(hints.capacitance, value); break;
        default: break;
    }
}

enum class SymbolKind { Other, Resistor, Inductor, Capacitor };

// Schematic files name each part with "SYMBOL res ..." and give its value in a later "SYMATTR Value ...".
void ReadSchematicLine(std::string_view line, std::string_view folded, SymbolKind& current, CircuitHints& hints) {
    const auto tokens = Tokens(line, kBlanks);
    const auto foldedTokens = Tokens(folded, kBlanks);
    if (foldedTokens.size() >= 2 && foldedTokens[0] == "symbol") {
        const std::string_view kind = foldedTokens[1];
        current = kind.find("res") != std::string_view::npos   ? SymbolKind::Resistor
                  : kind.find("ind") != std::string_view::npos ? SymbolKind::Inductor
                  : kind.find("cap") != std::string_view::npos ? SymbolKind::Capacitor
                                                               : SymbolKind::Other;
        return;
    }
    if (foldedTokens.size() >= 3 && foldedTokens[0] == "symattr" && foldedTokens[1] == "value") {
        const auto value = ParseSpiceNumber(tokens[2]);
        switch (current) {
            case SymbolKind::Resistor: KeepFirst(hints.resistance, value); break;
            case SymbolKind::Inductor: KeepFirst(hints.inductance, value); break;
            case SymbolKind::Capacitor: KeepFirst(hints.capacitance, value); break;
            case SymbolKind::Other: break;
        }
    }
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// A schematic has drawing records ("WIRE", "SYMBOL", "SHEET"); their first letters would
// otherwise read as element names ("LINE", "CIRCLE").
bool LooksLikeSchematic(const std::vector<std::string_view>& foldedLines) {
    for (std::string_view line : foldedLines) {
        const auto tokens = Tokens(line, kBlanks);
        if (!tokens.empty() && (tokens[0] == "sheet" || tokens[0] == "wire" || tokens[0] == "symbol")) return true;
    }
    return false;
}

}  // namespace

CircuitHints ExtractCircuitHints(std::string_view text) {
    const std::string folded = Folded(text);
    const auto lines = Lines(text);
    const auto foldedLines = Lines(folded);
    const bool schematic = LooksLikeSchematic(foldedLines);

    CircuitHints hints;
    bool sourceFound = false;
    SymbolKind currentSymbol = SymbolKind::Other;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view foldedLine = foldedLines[i];
        size_t first = 0;
        while (first < line.size() && IsBlank(line[first])) ++first;
        if (first == line.size()) continue;
        // Netlist comments hold no directives.
        if (!schematic && (line[first] == '*' || line[first] == ';')) continue;
        ReadTran(line, foldedLine, hints);
        ReadSource(line, foldedLine, hints, sourceFound);
        if (schematic)
            ReadSchematicLine(line, foldedLine, currentSymbol, hints);
        else if (line[first] != '.')
            ReadElement(line.substr(first), hints);
    }
    return hints;
}

}  // namespace vexa
