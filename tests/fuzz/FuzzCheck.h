#pragma once
// A broken invariant aborts, so that libFuzzer keeps the input as a crash.

#include <cstdio>
#include <cstdlib>

namespace karvel::fuzz {

[[noreturn]] inline void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

}  // namespace karvel::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::karvel::fuzz::Fail(#condition, __FILE__, __LINE__))
