// Reads the numbers of circuit files: "4.7k", "10uF", "2meg", "1e-3".
#pragma once
#include <optional>
#include <string_view>

namespace vexa {

// A number with an optional scale suffix (f p n u/µ m k meg g t, any case);
// whatever follows the suffix is taken as a unit and ignored. Leading "+" is allowed.
std::optional<double> ParseSpiceNumber(std::string_view text);

}  // namespace vexa
