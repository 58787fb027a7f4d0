// The walk down the z-order of top-level windows, bounded. Windows are created and destroyed
// while it runs: a window it stands on may be gone, or moved, so that "the next one down"
// leads back to windows already seen, or new windows keep appearing below. The walk ends
// at the first window seen twice and after a fixed number of steps, whatever happens.
#pragma once
#include <cstddef>
#include <unordered_set>

// More top-level windows than a desktop holds in practice; each step reads one title.
inline constexpr std::size_t kZOrderWalkLimit = 65536;

// From `first` down by `next` (a null handle ends the walk), the first handle for which
// `matches` holds, or a null handle.
template <class Handle, class Next, class Matches>
Handle FindInZOrder(Handle first, Next next, Matches matches, std::size_t limit = kZOrderWalkLimit) {
    std::unordered_set<Handle> seen;
    std::size_t steps = 0;
    for (Handle h = first; h && steps < limit; h = next(h), ++steps) {
        if (!seen.insert(h).second) break;
        if (matches(h)) return h;
    }
    return Handle{};
}
