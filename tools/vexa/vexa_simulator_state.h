// What the simulator window shows: the open file, its text and the last run.
#pragma once
#include "vexa_transient.h"

#include <optional>
#include <string>
#include <vector>

namespace vexa {

struct SimulatorState {
    std::wstring path;       // as requested; empty while no file is open
    std::wstring fileName;   // the part after the last separator
    bool readable = false;   // the file could be read
    std::vector<std::wstring> lines;  // the first lines of its text, tabs expanded
    std::string utf8Text;    // the whole text read, for the run
    int firstShownLine = 0;  // scrolled by the wheel
    std::optional<Waveform> waveform;
    std::wstring status = L"Ready";
};

}  // namespace vexa
