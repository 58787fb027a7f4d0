// Reading a circuit file for the viewer and the run.
#pragma once
#include <string>
#include <vector>

namespace vexa {

struct CircuitText {
    bool readable = false;
    std::vector<std::wstring> lines;  // the first lines, tabs expanded, for display
    std::string utf8;                 // the text read, for the run
};

inline constexpr int kShownLineLimit = 60;

// Reads at most the first megabyte, in UTF-8, UTF-16 or the ANSI code page.
CircuitText LoadCircuitText(const std::wstring& path);

}  // namespace vexa
