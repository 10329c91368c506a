#pragma once
// A fuzz target's own finding: the property it checks does not hold. libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void Broken(const char* Target, const char* What) {
    std::fprintf(stderr, "%s fuzz: %s\n", Target, What);
    std::abort();
}
