#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant of the fuzzed code: a violation is a finding, so it aborts with the place and
// the condition, and libFuzzer saves the input that caused it.
#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)
