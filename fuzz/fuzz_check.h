// fuzz_check.h: what every fuzz target shares: a check that stops the run with a message, and
// the library's diagnostic lines sent nowhere so that millions of runs do not flood the console.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "common/library.h"

// Stops the run when `condition` is false; libFuzzer then saves the input as a crash.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace quirn::fuzz {

// Opens the null device once and makes it the library's diagnostic stream.
inline void SilenceDiagnostics() {
    static std::FILE* const sink = std::fopen("/dev/null", "w");
    lumora::SetDiagnosticStream(sink);
}

}  // namespace quirn::fuzz
