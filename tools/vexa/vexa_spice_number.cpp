#include "vexa_spice_number.h"

#include <charconv>
#include <cmath>

namespace vexa {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithFolded(std::string_view text, std::string_view lowerPrefix) {
    if (text.size() < lowerPrefix.size()) return false;
    for (size_t i = 0; i < lowerPrefix.size(); ++i)
        if (FoldAscii(text[i]) != lowerPrefix[i]) return false;
    return true;
}

// The scale of the suffix that starts `rest`; 1 when there is none.
double SuffixScale(std::string_view rest) {
    if (rest.empty()) return 1.0;
    // "meg" and "mil" must be tried before the single "m" of milli.
    if (StartsWithFolded(rest, "meg")) return 1e6;
    if (StartsWithFolded(rest, "mil")) return 25.4e-6;
    // Micro sign U+00B5 and Greek small mu U+03BC, both as UTF-8.
    if (rest.starts_with("\xC2\xB5") || rest.starts_with("\xCE\xBC")) return 1e-6;
    switch (FoldAscii(rest.front())) {
        case 't': return 1e12;
        case 'g': return 1e9;
        case 'k': return 1e3;
        case 'm': return 1e-3;
        case 'u': return 1e-6;
        case 'n': return 1e-9;
        case 'p': return 1e-12;
        case 'f': return 1e-15;
        default: return 1.0;
    }
}

}  // namespace

std::optional<double> ParseSpiceNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    double value = 0.0;
    const char* first = text.data();
    const char* last = first + text.size();
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc{} || !std::isfinite(value)) return std::nullopt;
    const double scaled = value * SuffixScale(text.substr(static_cast<size_t>(end - first)));
    if (!std::isfinite(scaled)) return std::nullopt;
    return scaled;
}

}  // namespace vexa
