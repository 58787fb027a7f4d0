#include "launch/title_match.h"

#include <iterator>

bool IsSimulatorTitle(const wchar_t* title) {
    if (!title) return false;
    constexpr size_t kPrefixLength = std::size(SimulatorTitlePrefix) - 1;
    for (size_t i = 0; i < kPrefixLength; ++i) {
        // A shorter title stops here at its terminator, which matches no prefix character.
        if (title[i] != SimulatorTitlePrefix[i]) return false;
    }
    const wchar_t* rest = title + kPrefixLength;
    return rest[0] == L'\0' || (rest[0] == L' ' && rest[1] == L'-');
}
