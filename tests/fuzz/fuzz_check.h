// A property that fails stops the run at once: libFuzzer reports it as a crash and keeps the
// input that broke it, as it does for the sanitizers' findings.
#pragma once
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void Check(bool ok, const char* property) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

}  // namespace fuzz
