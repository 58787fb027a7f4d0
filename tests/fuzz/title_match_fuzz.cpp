// Window titles are whatever other programs set. Any title: the test reads it no further than
// its terminator and matches exactly the simulator's name, alone or followed by " -".
#include "launch/simulator_rules.h"

#include "fuzz_check.h"
#include "fuzz_text.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring title = fuzz::SplitAtNul(fuzz::Utf16Units(data, size))[0];
    const std::wstring name = SimulatorTitlePrefix;
    const bool expected = title.rfind(name, 0) == 0 &&
                          (title.size() == name.size() || title.compare(name.size(), 2, L" -") == 0);
    fuzz::Check(IsSimulatorTitle(title.c_str()) == expected, "the name alone or followed by \" -\"");
    fuzz::Check(!IsSimulatorTitle(nullptr), "no title, no match");
    return 0;
}
