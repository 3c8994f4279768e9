#pragma once

#include <cstddef>

namespace zw::bench {

// Heap bytes in use now, and the most in use since the last ResetPeak.
std::size_t HeapInUse();
std::size_t HeapPeak();
void ResetHeapPeak();

}  // namespace zw::bench
