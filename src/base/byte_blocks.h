#pragma once

// Sixteen bytes at a time: where the processor compares sixteen bytes in one step (every
// x86-64 processor does), ZW_SSE2 is defined and its instructions are at hand. Elsewhere the
// callers fall back to eight bytes at a time (byte_words.h).
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ZW_SSE2 1
#endif
