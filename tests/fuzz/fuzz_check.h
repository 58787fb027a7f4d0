// A property that fails stops the run at once: libFuzzer reports it as a crash and keeps the
// input that broke it, as it does for the sanitizers' findings.
#pragma once
#include <cstdio>
#include <cstdlib>

// For the targets' own loops (building inputs, models of the expected result): coverage
// feedback from them only slows the search for new paths in the code under test.
#define FUZZ_HARNESS __attribute__((no_sanitize("coverage")))

namespace fuzz {

inline void Check(bool ok, const char* property) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

}  // namespace fuzz
